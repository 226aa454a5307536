// The kavrel command run as a user runs it: the built binary, a chosen locale, and its
// standard output, standard error and exit status compared whole.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scratch_file_system.h"

extern char** environ;

namespace {

constexpr const char* kFrench = "fr_FR.UTF-8";
constexpr const char* kPlain = "C";

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string readAll(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

// Runs `command` (the program first) with LC_ALL=`locale` and a minimal environment, `more`
// added to it, `input` on its standard input; the sanitizers' settings pass through.
Result runProgram(const std::vector<std::string>& command, const char* locale, const std::string& input = {},
                  const std::vector<std::string>& more = {}) {
  std::vector<std::string> environment{std::string("LC_ALL=") + locale, "PATH=/usr/bin:/bin", "TZ=UTC"};
  environment.insert(environment.end(), more.begin(), more.end());
  std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";  // libfaketime may come in first
  if (const char* given = std::getenv("ASAN_OPTIONS")) asan += std::string(":") + given;
  environment.push_back(asan);
  for (const char* name : {"UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* given = std::getenv(name)) environment.push_back(std::string(name) + "=" + given);
  }

  std::vector<char*> argv;
  for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  std::FILE* in = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fileno(in), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fileno(out), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fileno(err), STDERR_FILENO);
  pid_t pid = 0;
  Result result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  std::fclose(in);
  result.out = readAll(out);
  result.err = readAll(err);
  return result;
}

Result kavrel(std::vector<std::string> arguments, const char* locale) {
  arguments.insert(arguments.begin(), KAVREL_BINARY);
  return runProgram(arguments, locale);
}

struct Case {
  const char* name;
  const char* locale;
  std::vector<std::string> arguments;
  int status;
  std::string out;
  std::string err;
};

void expectCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = kavrel(c.arguments, c.locale);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
}

const std::string kYearWarning = "Le programme n'est prévue que pour traiter entre les années 1700 et 2200\n";
const std::string kBeyondDoubles = std::string(307, '0');

TEST(KavrelCommand, PrintsWhatTheWindowsShow) {
  expectCases({
      {"Julian day, point in C", kPlain, {"jj", "1", "1", "2000", "12", "0"}, 0, "2451545.000\n", ""},
      {"Julian day, comma in French", kFrench, {"jj", "1", "1", "2000", "12", "0"}, 0, "2451545,000\n", ""},
      {"day 04 is read as a number", kPlain, {"jj", "04", "10", "1582", "0", "0"}, 0, "2299159.500\n", ""},
      {"year '-' alone reads 0", kFrench, {"jj", "1", "1", "-", "0", "0"}, 0, "1721057,500\n", ""},
      {"negative year", kPlain, {"jj", "1", "1", "-4712", "12", "0"}, 0, "0.000\n", ""},
      {"'--' before a negative value", kPlain, {"jj", "--", "1", "1", "-4712", "12", "0"}, 0, "0.000\n", ""},
      {"empty minute", kFrench, {"jj", "1", "1", "2000", "12", ""}, 0, "#############\n", ""},

      {"date, mask rounds the day", kFrench, {"date", "2451544.4999"}, 0, "Le 32,000  décembre  1999\n", ""},
      {"date in C", kPlain, {"date", "2451545"}, 0, "Le 01.500  janvier  2000\n", ""},
      {"date of the empty text", kFrench, {"date", ""}, 0, "Le 01,500  janvier  -4712\n", ""},
      {"leading space before the sign", kFrench, {"date", " -5"}, 0, "Le 27,500  décembre  -4713\n", ""},
      {"comma inside ends the number", kFrench, {"date", "2451545,5"}, 0, "Le 01,500  janvier  2000\n", ""},

      {"sidereal time", kFrench, {"sideral", "10", "4", "1987"}, 0, "2446895,500\n13,1046\n", ""},
      {"sidereal time, empty day", kPlain, {"sideral", "", "1", "2000"}, 0, "2451543.500\n#############\n", ""},

      {"precession forward", kPlain, {"precession", "1950", "6.4245", "-16.3858", "2000"}, 0,
       "6.4459\n-16.4203\n", ""},
      {"precession in French", kFrench, {"precession", "1950", "6.4245", "-16.3858", "2000"}, 0,
       "6,4459\n-16,4203\n", ""},
      {"precession across 0 h", kPlain, {"precession", "--", "2100", "0.001", "0", "2000"}, 0,
       "-0.0457\n-0.3323\n", ""},
      {"target year out of range", kPlain, {"precession", "1950", "6.42", "1.15", "2201"}, 0,
       "6.4200\n1.1500\n", kYearWarning},
      {"both years out of range", kPlain, {"precession", "1600", "6.42", "1.15", "2300"}, 0,
       "6.4200\n1.1500\n", kYearWarning + kYearWarning},
      {"year difference beyond the doubles", kPlain,
       {"precession", "17" + kBeyondDoubles, "6.42", "1.15", "-17" + kBeyondDoubles}, 1, "",
       kYearWarning + kYearWarning + "Calcul impossible\n"},

      {"solar aspect report", kFrench, {"soleil", "1", "1", "2000", "12", "0"}, 0,
       "Date : 1.1.2000 à 12h 0min\n"
       "Jour julien : 2451545,000\n"
       "Ascension droite : 18,4506( hh.mmss)\n"
       "Déclinaison : -23,0158( °. ' \" )\n"
       "Rotation synodique : 1957\n"
       "Demi diamètre apparent : 16  17,4( '  \" )\n"
       "P : 2,13°\n"
       "Bo : -3,01°\n"
       "Lo : 1,45°\n",
       ""},
      {"solar aspect, empty hour", kPlain, {"soleil", "1", "1", "2000", "", "0"}, 0,
       "Date : 1.1.2000 à h 0min\n"
       "Jour julien : #############\n"
       "Ascension droite : #############( hh.mmss)\n"
       "Déclinaison : #############( °. ' \" )\n"
       "Rotation synodique : #############\n"
       "Demi diamètre apparent : #############( '  \" )\n"
       "P : #############°\n"
       "Bo : #############°\n"
       "Lo : #############°\n",
       ""},

      {"rotation starts", kFrench, {"rotations", "1", "1", "2000", "1", "6", "2000"}, 0,
       "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8,04°\n"
       "Le 01/01/2000 à 14 h 39 min TU, début de la rotation n° 1958\n"
       "Le 28/01/2000 à 22 h 47 min TU, début de la rotation n° 1959\n"
       "Le 25/02/2000 à 06 h 56 min TU, début de la rotation n° 1960\n"
       "Le 23/03/2000 à 14 h 36 min TU, début de la rotation n° 1961\n"
       "Le 19/04/2000 à 21 h 17 min TU, début de la rotation n° 1962\n"
       "Le 17/05/2000 à 02 h 57 min TU, début de la rotation n° 1963\n"
       "Le 01/06/2000 à 00 h 00 min TU, rotation 1963 et longitude Lo 163,16°.\n",
       ""},
      {"rotation starts, one date twice", kPlain, {"rotations", "1", "1", "2000", "1", "1", "2000"}, 0,
       "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8.04°\n"
       "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8.04°.\n",
       ""},
      {"dates before rotation 1 list nothing", kPlain, {"rotations", "1", "1", "1800", "1", "1", "1801"}, 0, "",
       ""},
  });
}

TEST(KavrelCommand, RefusesWhatTheWindowsRefuse) {
  const std::string day = "Le jour doit être compris entre 1 et 31\n";
  const std::string month = "Le mois doit être compris entre 1 et 12\n";
  const std::string number = "Valeur incorrecte\n";
  const std::string data = "Données incorrectes\n";
  expectCases({
      {"day 32", kPlain, {"jj", "32", "1", "2000", "12", "0"}, 2, "", day},
      {"day 07 in an exact-text window", kPlain, {"sideral", "07", "1", "2000"}, 2, "", day},
      {"day with a trailing space", kPlain, {"soleil", "5 ", "1", "2000", "12", "0"}, 2, "", day},
      {"month 13", kPlain, {"jj", "1", "13", "2000", "12", "0"}, 2, "", month},
      {"month 1.", kPlain, {"sideral", "1", "1.", "2000"}, 2, "", month},
      {"year 0", kPlain, {"rotations", "1", "1", "2000", "1", "1", "0"}, 2, "", number},
      {"year ending in '-'", kPlain, {"sideral", "1", "1", "1-"}, 2, "", number},
      {"hour 24", kPlain, {"soleil", "1", "1", "2000", "24", "0"}, 2, "",
       "L'heure doit être comprise entre 0 et 23 h\n"},
      {"minute 60", kPlain, {"jj", "1", "1", "2000", "12", "60"}, 2, "",
       "Les minutes doivent être comprises entre 0 et 59 min\n"},
      {"the first refused field speaks", kPlain, {"soleil", "32", "13", "0", "24", "60"}, 2, "", day},
      {"first date before second date", kPlain, {"rotations", "1", "13", "2000", "32", "1", "2000"}, 2, "",
       month},

      {"negative Julian day", kFrench, {"date", "-5"}, 2, "",
       "Le programme n'a pas été conçu pour calculer\nd'après un nombre négatif !\n"},
      {"Julian day starting with a point", kPlain, {"date", ".5"}, 2, "", number},
      {"Julian day ending in a letter", kPlain, {"date", "2451545a"}, 2, "", number},

      {"empty target year", kFrench, {"precession", "1950", "6.4245", "-16.3858", ""}, 2, "", data},
      {"right ascension above 24", kPlain, {"precession", "1950", "24.0001", "0", "2000"}, 2, "", data},
      {"warning, then bad reference year", kPlain, {"precession", "abc", "6", "1", "2300"}, 2, "",
       kYearWarning + data},

      {"dates in the wrong order", kPlain, {"rotations", "2", "1", "2000", "1", "1", "2000"}, 2, "",
       "Dates incorrectes\n"},
      {"second date incomplete", kPlain, {"rotations", "1", "1", "2000", "", "6", "2000"}, 2, "",
       "Dates incorrectes\n"},
      {"more than 100 lines", kPlain, {"rotations", "1", "1", "2000", "1", "1", "2008"}, 2, "",
       "Le logiciel limite le calcul pour 100 dates seulement.\n"},
  });
}

// 1 January 2000 at 12 h UT, from the precise ephemeris: P 2.1377, B0 -3.0138, L0 1.4336,
// S 16.26'. On the central meridian B is B0 plus or minus the heliocentric angle
// arcsin(r) - r S.
TEST(KavrelCommand, SpotCoordinates) {
  const std::vector<std::string> noon{"tache", "1", "1", "2000", "12", "0"};
  const auto spot = [&](std::vector<std::string> rest) {
    auto arguments = noon;
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    return arguments;
  };
  const std::string outside =
      "Le point est en dehors du disque solaire : la distance au centre doit être comprise entre 0 et 1.\n";
  const std::string angle = "L'angle de position doit être un nombre de degrés\n";
  const std::string distance = "La distance au centre doit être un nombre de rayons du disque, de 0 à 1\n";
  expectCases({
      {"centre of the disc is B0, L0", kFrench, spot({"0", "0"}), 0, "B : -3,01°\nL : 1,43°\nDMC : 0,00°\n", ""},
      {"north along the axis", kPlain, spot({"--depuis-axe", "0", "0.5"}), 0,
       "B : 26.85°\nL : 1.43°\nDMC : 0.00°\n", ""},
      {"south along the axis, no -0.00", kPlain, spot({"180", "0.5", "--depuis-axe"}), 0,
       "B : -32.88°\nL : 1.43°\nDMC : 0.00°\n", ""},
      {"east is negative, comma in French", kFrench, spot({"90", "0,5"}), 0,
       "B : -1,55°\nL : 331,58°\nDMC : -29,85°\n", ""},
      {"a point is also read in French", kFrench, spot({"90", "0.5"}), 0,
       "B : -1,55°\nL : 331,58°\nDMC : -29,85°\n", ""},
      {"negative angle", kPlain, spot({"-270", "0.5"}), 0, "B : -1.55°\nL : 331.58°\nDMC : -29.85°\n", ""},
      {"empty distance", kPlain, spot({"90", ""}), 0,
       "B : #############°\nL : #############°\nDMC : #############°\n", ""},

      {"day 32", kPlain, {"tache", "32", "1", "2000", "12", "0", "0", "0"}, 2, "",
       "Le jour doit être compris entre 1 et 31\n"},
      {"beyond the limb", kPlain, spot({"0", "1.0001"}), 2, "", outside},
      {"negative distance", kPlain, spot({"--", "0", "-0.2"}), 2, "", outside},
      {"comma in C", kPlain, spot({"0", "0,5"}), 2, "", distance},
      {"distance with an exponent", kPlain, spot({"0", "1e-1"}), 2, "", distance},
      {"angle not a number", kPlain, spot({"nord", "0.5"}), 2, "", angle},
      {"option twice", kPlain, spot({"--depuis-axe", "0", "0.5", "--depuis-axe"}), 2, "",
       "kavrel : l'option « --depuis-axe » est donnée deux fois\n"},
  });
}

// The page itself is measured by the page's tests; here, what the command checks.
TEST(KavrelCommand, DiscPage) {
  const std::string directory = testing::TempDir();
  const std::string pdf = directory + "/kavrel-disque.pdf";
  const std::string svg = directory + "/kavrel-disque.svg";
  const std::vector<std::string> noon{"disque", "1", "1", "2000", "12", "0"};
  const auto page = [&](std::vector<std::string> rest) {
    auto arguments = noon;
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    return arguments;
  };
  const std::string diameter = "Le diamètre doit être compris entre 50 et 250 mm.\n";
  const std::string step = "Le pas de la grille doit être de 5, 10 ou 15 degrés.\n";
  expectCases({
      {"PDF", kFrench, page({"--pdf", pdf, "--diametre", "150,5", "--pas", "15"}), 0, "", ""},
      {"SVG east right", kPlain, page({"--est-a-droite", "--svg", svg}), 0, "", ""},

      {"no file", kPlain, page({"--diametre", "100"}), 2, "",
       "kavrel : indiquer le fichier à écrire, --pdf FICHIER ou --svg FICHIER\n"},
      {"two files", kPlain, page({"--pdf", pdf, "--svg", svg}), 2, "",
       "kavrel : un seul fichier à la fois, --pdf FICHIER ou --svg FICHIER\n"},
      {"diameter too small", kPlain, page({"--pdf", pdf, "--diametre", "49.9"}), 2, "", diameter},
      {"diameter not a number", kPlain, page({"--pdf", pdf, "--diametre", "grand"}), 2, "", diameter},
      {"step 7", kPlain, page({"--pdf", pdf, "--pas", "7"}), 2, "", step},
      {"step 10.5", kPlain, page({"--pdf", pdf, "--pas", "10.5"}), 2, "", step},
      {"hour 24", kPlain, {"disque", "1", "1", "2000", "24", "0", "--pdf", pdf}, 2, "",
       "L'heure doit être comprise entre 0 et 23 h\n"},
      {"empty minute", kPlain, {"disque", "1", "1", "2000", "12", "", "--pdf", pdf}, 2, "",
       "La date et l'heure doivent être complètes pour dessiner le disque\n"},
      {"file in a missing directory", kPlain, page({"--pdf", directory + "/absent/d.pdf"}), 1, "",
       "Le fichier « " + directory + "/absent/d.pdf » n'a pas pu être écrit : le dossier n'existe pas.\n"},
  });
  for (const auto& [path, start] : {std::pair{pdf, std::string("%PDF-")}, std::pair{svg, std::string("<?xml")}}) {
    SCOPED_TRACE(path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    const std::string text = readAll(file);
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_GT(text.size(), 2000u);
    std::remove(path.c_str());
  }
}

// A limb-darkened Sun of radius 60 px centred at (100.5, 70.5) as displayed, a round spot
// of radius 4 px with an umbra of 2 px at its centre, written as a 16-bit FITS file (BZERO
// 32768) whose first row is the bottom one, with `cards` added to its header.
std::string writeSunFits(const std::string& path, const std::vector<std::string>& cards = {}) {
  constexpr int kWidth = 200, kHeight = 160;
  std::string header;
  const auto card = [&](const std::string& text) { header += text + std::string(80 - text.size(), ' '); };
  card("SIMPLE  =                    T");
  card("BITPIX  =                   16");
  card("NAXIS   =                    2");
  card("NAXIS1  =                  " + std::to_string(kWidth));
  card("NAXIS2  =                  " + std::to_string(kHeight));
  card("BZERO   =                32768");
  for (const std::string& text : cards) card(text);
  card("END");
  header.resize(2880, ' ');
  std::string data;
  for (int row = 0; row < kHeight; ++row) {
    const double y = kHeight - 1 - row;
    for (int x = 0; x < kWidth; ++x) {
      const double d = std::hypot(x - 100.5, y - 70.5);
      double value = 500;
      if (d < 60) value = 30000 * (1 - 0.6 * (1 - std::sqrt(1 - d * d / 3600))) * (d < 2 ? 0.3 : d < 4 ? 0.7 : 1);
      const auto stored = static_cast<std::uint16_t>(static_cast<int>(value) - 32768);
      data += static_cast<char>(stored >> 8);
      data += static_cast<char>(stored & 0xff);
    }
  }
  data.resize((data.size() + 2879) / 2880 * 2880, '\0');
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(header.data(), 1, header.size(), file);
  std::fwrite(data.data(), 1, data.size(), file);
  std::fclose(file);
  return path;
}

// The numbers of an output line, with a point or a comma.
std::vector<double> numbersIn(std::string line) {
  std::replace(line.begin(), line.end(), ',', '.');
  std::vector<double> numbers;
  for (const char* at = line.c_str(); *at != '\0';) {
    char* end = nullptr;
    const double value = std::strtod(at, &end);
    if (end != at && (std::isdigit(static_cast<unsigned char>(*at)) || *at == '-')) {
      numbers.push_back(value);
      at = end;
    } else {
      ++at;
    }
  }
  return numbers;
}

TEST(KavrelCommand, PhotographMeasures) {
  const std::string sun = writeSunFits(testing::TempDir() + "/kavrel-soleil.fits");

  // The limb, found on an image whose first row is at the bottom.
  const Result limb = kavrel({"limbe", sun}, kFrench);
  ASSERT_EQ(limb.status, 0) << limb.err;
  // The header's keywords, named in the line on why it is set aside, are no measures.
  const std::vector<double> found = numbersIn(limb.out.substr(0, limb.out.find("\nL'en-tête")));
  ASSERT_EQ(found.size(), 5u) << limb.out;
  EXPECT_NEAR(found[0], 100.5, 0.2);
  EXPECT_NEAR(found[1], 70.5, 0.2);
  EXPECT_NEAR(found[2], 60, 0.2);
  EXPECT_NE(limb.out.find("\nÉcart quadratique : "), std::string::npos) << limb.out;
  EXPECT_EQ(kavrel({"limbe", sun, "--bord", "40.5", "70.5", "160.5", "70.5", "100.5", "10.5"}, kFrench).out,
            "Centre : 100,50 70,50 px\nRayon : 60,00 px\nSource : trois points\n");

  // The pixel half a radius above the centre, under each way of giving north; its B, L
  // and DMC are those of the same disc point through `kavrel tache`.
  const std::string aboveCentre = kavrel({"tache", "1", "1", "2000", "12", "0", "0", "0.5"}, kPlain).out;
  const std::string rotatedWest = kavrel({"tache", "1", "1", "2000", "12", "0", "270", "0.5"}, kPlain).out;
  const auto pixel = [&](std::vector<std::string> orientation, std::string radius = "60") {
    std::vector<std::string> arguments{"tache-image", sun,    "1",     "1",      "2000", "12",
                                       "0",           "100.5", "40.5", "--limbe", "100.5", "70.5", radius};
    arguments.insert(arguments.end(), orientation.begin(), orientation.end());
    return arguments;
  };
  const std::string half = "Distance au centre : 0.5000\n";
  expectCases({
      {"north up", kPlain, pixel({}), 0, "Angle de position : 0.00°\n" + half + aboveCentre, ""},
      {"north to the left", kPlain, pixel({"--nord", "90"}), 0, "Angle de position : 270.00°\n" + half + rotatedWest,
       ""},
      {"north to the left, mirrored", kPlain, pixel({"--nord", "90", "--est-a-droite"}), 0,
       "Angle de position : 90.00°\n" + half + kavrel({"tache", "1", "1", "2000", "12", "0", "90", "0.5"}, kPlain).out,
       ""},
      {"drift to the right: north up", kPlain, pixel({"--derive", "20", "20", "40", "20"}), 0,
       "Angle de position : 0.00°\n" + half + aboveCentre, ""},
      {"a smaller limb given", kPlain, pixel({}, "30"), 0,
       "Angle de position : 0.00°\nDistance au centre : 1.0000\n" +
           kavrel({"tache", "1", "1", "2000", "12", "0", "0", "1"}, kPlain).out,
       ""},

      {"off the disc", kPlain, {"tache-image", sun, "1", "1", "2000", "12", "0", "5", "5"}, 2, "",
       "Le point est en dehors du disque solaire : la distance au centre doit être comprise entre 0 et 1.\n"},
      {"day 32", kPlain, {"tache-image", sun, "32", "1", "2000", "12", "0", "100", "40"}, 2, "",
       "Le jour doit être compris entre 1 et 31\n"},
      {"north twice", kPlain, pixel({"--nord", "0", "--derive", "1", "1", "2", "1"}), 2, "",
       "kavrel : --nord et --derive ne se donnent pas ensemble\n"},
      {"drift too short", kPlain, pixel({"--derive", "1", "1", "1", "1"}), 2, "",
       "Les deux positions de la dérive sont confondues : laissez le Soleil dériver plus longtemps.\n"},
      {"missing file", kPlain, {"aire", "/nonexistent/soleil.fits", "1", "1"}, 1, "",
       "Le fichier « /nonexistent/soleil.fits » n'a pas pu être lu : il n'existe pas.\n"},
      {"no Sun in a folder's place", kPlain, {"limbe", testing::TempDir()}, 1, "",
       "Le fichier « " + testing::TempDir() + " » n'a pas pu être lu : c'est un dossier.\n"},
      {"not in a spot", kPlain, {"aire", sun, "120", "70"}, 2, "", "Le point choisi n'est pas dans une tache.\n"},
      {"aligned limb points", kPlain, {"limbe", sun, "--bord", "1", "1", "2", "2", "3", "3"}, 2, "",
       "Les trois points sont alignés : choisissez-les répartis sur le bord.\n"},
  });

  // The spot at the centre: a cap of radius 4/60 of the Sun's radius, projected
  // 16/3600 of the disc; the hemisphere's millionths are nearly half of the disc's.
  const Result area = kavrel({"aire", sun, "100", "71"}, kFrench);
  ASSERT_EQ(area.status, 0) << area.err;
  const std::size_t umbraAt = area.out.find("Ombre : ");
  const std::string umbraLine = area.out.substr(umbraAt, area.out.find("\nSeuils : ") - umbraAt);
  // 52 pixels: too few for a histogram, the umbra at the fixed share.
  EXPECT_NE(area.out.find("\nSeuils : 0,90 / 0,60 (sans creux)\n"), std::string::npos) << area.out;
  const std::vector<double> whole = numbersIn(area.out.substr(0, area.out.find('\n')));
  const std::vector<double> umbra = numbersIn(umbraLine);
  ASSERT_EQ(whole.size(), 3u) << area.out;
  ASSERT_EQ(umbra.size(), 3u) << area.out;
  EXPECT_NEAR(whole[1], 1e6 * 16 / 3600, 1e6 * 16 / 3600 * 0.15);
  EXPECT_NEAR(whole[0], whole[1] / 2, whole[1] * 0.05);
  EXPECT_GT(umbra[2], 0);
  EXPECT_LT(umbra[2], whole[2] / 2);
  std::remove(sun.c_str());
}

// A page that cannot be written is said with the system's reason, and leaves no part of
// itself behind: neither a cut file nor a temporary, and a file it would replace intact.
TEST(KavrelCommand, DiscPageWrittenWholeOrNotAtAll) {
  using kavrel::testing::Place;
  if (::geteuid() != 0) GTEST_SKIP() << "the full and read-only disks are tmpfs mounted by the test, as root";
  struct Row {
    const char* name;
    Place place;
    const char* option;
    std::string old;
    const char* reason;
  };
  const std::string oldPage = "%PDF-1.4 the page written yesterday\n";
  const Row rows[] = {
      {"PDF onto a full disk", Place::FullDisk, "--pdf", "", "plus de place sur le disque"},
      {"SVG onto a full disk", Place::FullDisk, "--svg", "", "plus de place sur le disque"},
      {"PDF replacing a file on a full disk", Place::FullDisk, "--pdf", oldPage, "plus de place sur le disque"},
      {"SVG replacing a file on a full disk", Place::FullDisk, "--svg", oldPage, "plus de place sur le disque"},
      {"PDF onto a read-only disk", Place::ReadOnly, "--pdf", "", "le disque est en lecture seule"},
      {"SVG replacing a file on a read-only disk", Place::ReadOnly, "--svg", oldPage, "le disque est en lecture seule"},
      {"PDF where a folder is", Place::FolderInPlace, "--pdf", "", "c'est un dossier"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const kavrel::testing::ScratchFileSystem place(row.place, "page", row.old);
    if (!place.reason().empty()) GTEST_SKIP() << place.reason();
    const std::vector<std::string> before = place.names();
    const Result result = kavrel({"disque", "6", "12", "2001", "9", "5", row.option, place.path()}, kFrench);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Le fichier « " + place.path() + " » n'a pas pu être écrit : " + row.reason + ".\n");
    EXPECT_EQ(place.names(), before);
    EXPECT_EQ(place.contents(), row.old);
  }
}

TEST(KavrelCommand, WrongUsageIsRefused) {
  const std::vector<std::vector<std::string>> cases{
      {},
      {"lune"},
      {"jj", "1", "1", "2000", "12"},
      {"soleil", "1", "1", "2000"},
      {"date"},
      {"date", "--"},
      {"rotations", "1", "1", "2000", "1", "6", "2000", "1"},
      {"tache", "1", "1", "2000", "12", "0", "90"},
      {"tache", "1", "1", "2000", "12", "0", "90", "0.5", "--est-a-droite"},
      {"disque", "1", "1", "2000", "12", "0", "--pdf"},
      {"journal"},
      {"journal", "--fichier", "j.sqlite", "mois", "2"},
      {"journal", "--fichier", "j.sqlite", "ajouter", "2014-02-03", "--disque", "1", "1"},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    const Result r = kavrel(arguments, kPlain);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage : kavrel"), std::string::npos) << r.err;
  }
}

// Logs of instants through --csv: standard input and file, statuses 0, 2 and 1, and the
// numbers of `kavrel soleil` and `kavrel tache` for the same instant.
TEST(KavrelCommand, CsvBatches) {
  const std::string log = testing::TempDir() + "/kavrel-journal.txt";
  const auto shell = [&](const std::string& input, const std::string& command, const char* locale) {
    std::FILE* file = std::fopen(log.c_str(), "wb");
    std::fwrite(input.data(), 1, input.size(), file);
    std::fclose(file);
    std::string script = command;
    for (std::size_t at; (at = script.find("{log}")) != std::string::npos;) script.replace(at, 5, log);
    return runProgram({"/bin/sh", "-c", std::string("exec ") + KAVREL_BINARY + " " + script}, locale);
  };
  const std::string sunFr =
      "date;heure_tu;jour_julien;ascension_droite_h;declinaison_deg;rotation;demi_diametre_arcmin;P_deg;B0_deg;"
      "L0_deg;erreur\n";
  const std::string noonFr =
      "2000-01-01;12:00;2451545,00000;18,751803;-23,0329;1957,9959;16,2914;2,1366;-3,0122;1,4549;\n";
  const std::string noonC =
      "2000-01-01,12:00,2451545.00000,18.751803,-23.0329,1957.9959,16.2914,2.1366,-3.0122,1.4549,\n";
  struct Case {
    const char* name;
    const char* locale;
    std::string input;
    std::string command;
    int status;
    std::string out;
    std::string err;
  };
  // On the central meridian from the pole, B = B0 + arcsin(r) - r S: -3.0122 + 30 - 0.1358.
  const Case cases[] = {
      {"standard input", kFrench, "1 1 2000 12 0\n2000-01-01T12:00\n", "soleil --csv < {log}", 0,
       sunFr + noonFr + noonFr, ""},
      {"a file, a refused line", kPlain, "# journal\n1 1 2000 12 0\n31 2 2000 12 0\n", "soleil --csv {log}", 2,
       "date,heure_tu,jour_julien,ascension_droite_h,declinaison_deg,rotation,demi_diametre_arcmin,P_deg,B0_deg,"
       "L0_deg,erreur\n" + noonC + ",,,,,,,,,,Ce jour n'existe pas dans ce mois\n",
       ""},
      {"garbage bytes", kFrench, std::string("\x00\x01\xff\n", 4), "soleil --csv < {log}", 2,
       sunFr + ";;;;;;;;;;Ligne illisible : attendu JOUR MOIS ANNEE HEURE MINUTE ou AAAA-MM-JJTHH:MM[:SS]\n", ""},
      {"spots from the Sun's pole", kPlain, "1 1 2000 12 0 0 0.5\n", "tache --csv --depuis-axe < {log}", 0,
       "date,heure_tu,angle,distance,B_deg,L_deg,DMC_deg,erreur\n"
       "2000-01-01,12:00,0.000,0.500,26.851,1.434,0.000,\n",
       ""},
      {"write error", kFrench, "1 1 2000 12 0\n", "soleil --csv < {log} > /dev/full", 1, "",
       "kavrel : écriture des résultats impossible\n"},
      {"missing file", kFrench, "", "soleil --csv /nonexistent/journal.txt", 2, "",
       "kavrel : impossible d'ouvrir le fichier « /nonexistent/journal.txt »\n"},
      {"a directory cannot be read", kPlain, "", "tache --csv /", 1,
       "date,heure_tu,angle,distance,B_deg,L_deg,DMC_deg,erreur\n", "kavrel : lecture impossible du fichier « / »\n"},
      {"two files", kPlain, "", "soleil --csv {log} {log}", 2, "",
       "kavrel : un seul fichier à lire, ou aucun pour l'entrée standard\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = shell(c.input, c.command, c.locale);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }

  // The same instant through both subcommands: the row, rounded or cut as the report
  // shows it, gives the report's numbers.
  const auto columns = [](const std::string& row) {
    std::vector<std::string> fields{""};
    for (const char ch : row) {
      if (ch == ',') {
        fields.emplace_back();
      } else {
        fields.back().push_back(ch);
      }
    }
    return fields;
  };
  const Result csv = shell("6 12 2001 9 5\n", "soleil --csv < {log}", kPlain);
  const auto row = columns(csv.out.substr(csv.out.find('\n') + 1));
  ASSERT_EQ(row.size(), 11u) << csv.out;
  const auto cut2 = [](const std::string& value) { return value.substr(0, value.find('.') + 3); };
  char julianDay[32];
  std::snprintf(julianDay, sizeof julianDay, "%.3f", std::strtod(row[2].c_str(), nullptr));
  const Result report = kavrel({"soleil", "6", "12", "2001", "9", "5"}, kPlain);
  EXPECT_NE(report.out.find("Jour julien : " + std::string(julianDay) + "\n"), std::string::npos) << report.out;
  EXPECT_NE(report.out.find("Rotation synodique : " + row[5].substr(0, row[5].find('.')) + "\n"),
            std::string::npos) << report.out;
  EXPECT_NE(report.out.find("P : " + cut2(row[7]) + "°\n"), std::string::npos) << report.out;
  EXPECT_NE(report.out.find("Bo : " + cut2(row[8]) + "°\n"), std::string::npos) << report.out;
  EXPECT_NE(report.out.find("Lo : " + cut2(row[9]) + "°\n"), std::string::npos) << report.out;

  const Result spots = shell("6 12 2001 9 5 120 0.62\n", "tache --csv < {log}", kPlain);
  EXPECT_EQ(spots.out.substr(spots.out.find('\n') + 1), "2001-12-06,09:05,120.000,0.620,-9.692,20.226,-37.026,\n");
  EXPECT_EQ(kavrel({"tache", "6", "12", "2001", "9", "5", "120", "0.62"}, kPlain).out,
            "B : -9.69°\nL : 20.23°\nDMC : -37.03°\n");
  std::remove(log.c_str());
}

// One observer's February through `kavrel journal`, in order on one new file: what each
// command prints, its status, and what the journal then holds.
TEST(KavrelCommand, JournalCommands) {
  char made[] = "/tmp/kavrel-journal-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string folder = made;
  const std::string journal = folder + "/journal.sqlite";
  const std::string log = folder + "/log.csv";
  const std::string png = folder + "/image.sqlite";
  const std::string pngBytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  std::FILE* file = std::fopen(log.c_str(), "wb");
  const std::string logText =
      "date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque\n"
      "2014-02-05;08:30;1;3;2;6;5;;\n"
      "2014-02-06;09:00;1;2;3;2;;;\n"
      "2014-02-07;10:15;0;0;1;1;3;;brume\n";
  std::fwrite(logText.data(), 1, logText.size(), file);
  std::fclose(file);
  file = std::fopen(png.c_str(), "wb");
  std::fwrite(pngBytes.data(), 1, pngBytes.size(), file);
  std::fclose(file);
  // SILSO's days from August 2013 to August 2014 (August provisional): 100 every day but in
  // March, where SN is twice the R of the log imported below, 10 + the day.
  const std::string silso = folder + "/SN_d_tot_V2.0.csv";
  std::string silsoText;
  for (int index = 2013 * 12 + 7; index <= 2014 * 12 + 7; ++index) {
    const int year = index / 12, month = index % 12 + 1;
    const int days = month == 2 ? 28 : month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
    for (int day = 1; day <= days; ++day) {
      char line[64];
      std::snprintf(line, sizeof line, "%d;%02d;%02d;%d.500;%4d;  5.0;  30;%d\n", year, month, day, year,
                    index == 2014 * 12 + 2 ? 2 * (10 + day) : 100, month == 8 && year == 2014 ? 0 : 1);
      silsoText += line;
    }
  }
  file = std::fopen(silso.c_str(), "wb");
  std::fwrite(silsoText.data(), 1, silsoText.size(), file);
  std::fclose(file);
  std::string march = "date;heure_tu;g_disque;f_disque;observateur\n";
  for (int day = 1; day <= 24; ++day) march += "2014-03-" + std::to_string(100 + day).substr(1) + ";09:00;1;" + std::to_string(day) + ";OBS\n";

  // A spreadsheet's January: days observed, and days of clouds with their weather.
  const std::string january =
      "date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque\n"
      "2014-01-01;02:20;1;15;1;39;;OBS;\n"
      "2014-01-02;;;;;;;OBS;C\n"
      "2014-01-03;06:10;1;16;2;41;4;OBS;brume\n"
      "2014-01-04;3:05;;;;;;OBS;S-C\n";

  const std::string heading = "Jour  Heure TU  Seeing  g nord  f nord  R nord  g sud  f sud  R sud  g   f    R\n";
  const std::string days34 =
      "   3     09:05       4       2       5      25      7     14     84  9  19  109\n"
      "   4     09:05       4       –       –       –      –      –      –  3  12   42\n";
  const std::string line3 = "ligne 3 : f sud : chaque groupe a au moins une tache (f = 2 est inférieur à g = 3).\n";
  struct Step {
    const char* name;
    const char* locale;
    std::vector<std::string> arguments;  // after "journal --fichier JOURNAL"
    std::string input;
    int status;
    std::string out;
    std::string err;
  };
  const Step steps[] = {
      {"split counts", kFrench,
       {"ajouter", "2014-02-03", "09:05", "--nord", "2", "5", "--sud", "7", "14", "--seeing", "4"}, "", 0,
       "Observation enregistrée : R = 109 (nord 25, sud 84)\n", ""},
      {"whole disc, day month year hour minute", kFrench,
       {"ajouter", "4", "2", "2014", "9", "5", "--disque", "3", "12", "--seeing", "G"}, "", 0,
       "Observation enregistrée : R = 42\n", ""},
      {"fewer spots than groups, spots without a group", kFrench,
       {"ajouter", "2014-02-05", "10:00", "--nord", "2", "1", "--sud", "0", "3"}, "", 2, "",
       "f nord : chaque groupe a au moins une tache (f = 1 est inférieur à g = 2).\n"
       "g sud : des taches sans groupe (g = 0 et f = 3) ; une tache isolée est un groupe.\n"},
      {"one hemisphere alone", kFrench, {"ajouter", "2014-02-05", "10:00", "--nord", "1", "1"}, "", 2, "",
       "Sud : comptez les deux hémisphères, ou le disque entier seul.\n"},
      {"north and south against the disc", kFrench,
       {"ajouter", "2014-02-05", "10:00", "--nord", "1", "1", "--sud", "1", "2", "--disque", "2", "4"}, "", 2, "",
       "f disque : nord et sud font 3 taches, le disque 4.\n"},
      {"a date to come", kFrench, {"ajouter", "2999-01-01", "10:00", "--disque", "0", "0"}, "", 2, "",
       "Date : le 1er janvier 2999 est après aujourd'hui.\n"},
      {"the same minute twice", kFrench, {"ajouter", "3", "2", "2014", "9", "5", "--disque", "1", "1"}, "", 2, "",
       "Heure TU : OBS a déjà une observation le 3 février 2014 à 09:05.\n"},
      {"a refused line imports nothing", kFrench, {"importer", "-"}, logText, 2, "",
       line3 + "Aucune observation importée (1 ligne refusée) ; --partiel importe les autres lignes.\n"},
      {"the month as it was", kFrench, {"mois", "2", "2014"}, "", 0,
       heading + days34 +
           "Jours d'observation : 2\nMoyenne de R : 75,50\nMoyenne de R nord : 25,00\nMoyenne de R sud : 84,00\n"
           "Groupes par jour : 6,00\n",
       ""},
      {"a foreign header: nothing to import, even in part", kFrench, {"importer", "-", "--partiel"},
       "date,time,ng,nf,sg,sf,remarks\n1,2:20,1,15,1,39,\n", 2, "",
       "ligne 1 : En-tête : colonne « time » inconnue ; les colonnes sont date, heure_tu, g_nord, f_nord, g_sud, "
       "f_sud (ou g_disque, f_disque), seeing, observateur, remarque.\n"
       "Aucune observation importée (1 ligne refusée).\n"},
      {"--partiel imports the others", kFrench, {"importer", log, "--partiel"}, "", 2, "Observations importées : 2\n",
       line3},
      {"the month with the import, point in C, its remark last", kPlain, {"mois", "2", "2014"}, "", 0,
       heading.substr(0, heading.size() - 1) + "  Remarques\n" + days34 +
           "   5     08:30       5       1       3      13      2      6     26  3   9   39\n"
           "   7     10:15       3       0       0       0      1      1     11  1   1   11  brume\n"
           "Jours d'observation : 4\nMoyenne de R : 50.25\nMoyenne de R nord : 12.67\nMoyenne de R sud : 40.33\n"
           "Groupes par jour : 4.00\n",
       ""},
      {"a report into a folder, under the network's name", kFrench,
       {"rapport", "2", "2014", "--format", "aavso", "--sortie", folder}, "", 0,
       "Rapport enregistré : " + folder + "/OBS1402.RAW\n", ""},
      {"a report under a file", kFrench, {"rapport", "2", "2014", "--format", "baa", "--sortie", log + "/baa.csv"}, "",
       1, "",
       "Le fichier « " + log + "/baa.csv » n'a pas pu être écrit : un élément du chemin n'est pas un dossier.\n"},
      {"a second observer", kFrench, {"observateurs", "--ajouter", "HUZR", "Jean Dupont", "--ouverture", "80",
                                      "--methode", "projection"}, "", 0,
       "Observateur enregistré : HUZR : Jean Dupont, ouverture 80 mm, projection\n", ""},
      {"a second observer without observations makes no one ask", kFrench, {"rapport", "2", "2014", "--format", "csv"},
       "", 0,
       "date;heure_tu;observateur;seeing;transparence;g_nord;f_nord;g_sud;f_sud;g_disque;f_disque;R;R_nord;R_sud;"
       "remarque\n2014-02-03;09:05;OBS;4;;2;5;7;14;9;19;109;25;84;\n2014-02-04;09:05;OBS;4;;;;;;3;12;42;;;\n"
       "2014-02-05;08:30;OBS;5;;1;3;2;6;3;9;39;13;26;\n2014-02-07;10:15;OBS;3;;0;0;1;1;1;1;11;0;11;brume\n",
       ""},
      {"SILSO's total file given as the hemispheres'", kFrench, {"silso", "--hemispheres", silso}, "", 2, "",
       "Le fichier « " + silso + " » est refusé, ligne 1 : 8 champs au lieu de 14 : c'est le fichier du nombre "
       "total, sans --hemispheres. Le journal n'a pas été modifié.\n"},
      {"SILSO's total file", kFrench, {"silso", silso}, "", 0,
       "Nombres de SILSO importés : 396 jours, dont 31 provisoires\n", ""},
      {"a log is not SILSO's file, the journal as it was", kFrench, {"silso", log}, "", 2, "",
       "Le fichier « " + log + " » est refusé, ligne 1 : 9 champs au lieu de 8 : ce n'est pas une ligne d'un "
       "fichier quotidien de SILSO. Le journal n'a pas été modifié.\n"},
      {"SILSO's month and its smoothed mean", kFrench, {"silso-mois", "2", "2014"}, "", 0,
       "Moyenne mensuelle : 100,0 (28 jours)\nMoyenne lissée sur 13 mois : 96,0\n", ""},
      {"no smoothed mean within six months of the end", kPlain, {"silso-mois", "3", "2014"}, "", 0,
       "Moyenne mensuelle : 52.0 (31 jours)\nMoyenne lissée sur 13 mois : –\n", ""},
      {"a month SILSO's file does not have", kFrench, {"silso-mois", "9", "2014"}, "", 2, "",
       "Le journal n'a pas le nombre de SILSO de ce mois : importez SN_d_tot_V2.0.csv avec « kavrel journal silso "
       "FICHIER ».\n"},
      {"too few days for k", kFrench, {"k", "--observateur", "OBS"}, "", 2, "",
       "Pas assez de jours communs (4) pour estimer k.\n"},
      {"March's log", kFrench, {"importer", "-"}, march, 0, "Observations importées : 24\n", ""},
      {"k over March, by month", kFrench, {"k", "--observateur", "OBS", "--du", "2014-03-01", "--par-mois"}, "", 0,
       "k (rapport des sommes) : 2,0000 (24 jours)\nk (moyenne des rapports) : 2,0000 ± 0,0000 (24 jours)\n"
       "k (médiane) : 2,0000\n"
       "mars 2014 : 2,0000 (24 jours), moyenne des rapports 2,0000 ± 0,0000 (24 jours), médiane 2,0000\n",
       ""},
      {"a date of k that is not one", kFrench, {"k", "--au", "2014-02-30"}, "", 2, "",
       "Au : « 2014-02-30 » n'est pas une date (2014-02-03 attendu).\n"},
      {"a network's report refuses --k", kFrench,
       {"rapport", "2", "2014", "--format", "aavso", "--observateur", "OBS", "--k", "2"}, "", 2, "",
       "--k : le rapport d'un réseau garde les comptes bruts, dont le réseau tire lui-même le k de l'observateur ; "
       "--k ne vaut que pour --format csv.\n"},
      {"a k chosen, kept in the journal", kFrench, {"k", "--choisir", "1,25", "--observateur", "OBS"}, "", 0,
       "k choisi pour OBS : 1,25\n", ""},
      {"the month's mean R times the chosen k", kFrench, {"mois", "2", "2014", "--observateur", "OBS"}, "", 0,
       heading.substr(0, heading.size() - 1) + "  Remarques\n" + days34 +
           "   5     08:30       5       1       3      13      2      6     26  3   9   39\n"
           "   7     10:15       3       0       0       0      1      1     11  1   1   11  brume\n"
           "Jours d'observation : 4\nMoyenne de R : 50,25 (× 1,25 : 62,8)\nMoyenne de R nord : 12,67\n"
           "Moyenne de R sud : 40,33\nGroupes par jour : 4,00\n",
       ""},
      {"k shows the chosen k first", kFrench, {"k", "--observateur", "OBS", "--du", "2014-03-01"}, "", 0,
       "k choisi : 1,25\nk (rapport des sommes) : 2,0000 (24 jours)\nk (moyenne des rapports) : 2,0000 ± 0,0000 "
       "(24 jours)\nk (médiane) : 2,0000\n",
       ""},
      {"a network's report keeps the raw counts under the chosen k", kFrench,
       {"rapport", "2", "2014", "--format", "aavso", "--observateur", "OBS"}, "", 0,
       "Solar data from: OBS\nOBS\nFor the month of: FEBRUARY 2014\nDay see UT g s W ng sg ns ss Obs.\n"
       " 3 G 0905 9 19 109 2 7 5 14 OBS\n 4 G 0905 3 12 42 - - - - OBS\n"
       " 5 E 0830 3 9 39 1 2 3 6 OBS\n 7 F 1015 1 1 11 0 1 0 1 OBS\n", ""},
      {"the suite's CSV says the chosen k and R × k", kFrench,
       {"rapport", "2", "2014", "--format", "csv", "--observateur", "OBS"}, "", 0,
       "date;heure_tu;observateur;seeing;transparence;g_nord;f_nord;g_sud;f_sud;g_disque;f_disque;R;R_nord;R_sud;k;"
       "R_k;remarque\n"
       "2014-02-03;09:05;OBS;4;;2;5;7;14;9;19;109;25;84;1,25;136;\n"
       "2014-02-04;09:05;OBS;4;;;;;;3;12;42;;;1,25;53;\n"
       "2014-02-05;08:30;OBS;5;;1;3;2;6;3;9;39;13;26;1,25;49;\n"
       "2014-02-07;10:15;OBS;3;;0;0;1;1;1;1;11;0;11;1,25;14;brume\n",
       ""},
      {"the chosen k cleared", kFrench, {"k", "--choisir", "", "--observateur", "OBS"}, "", 0,
       "Aucun k choisi pour OBS.\n", ""},
      {"a k that is not a number", kFrench,
       {"rapport", "2", "2014", "--format", "csv", "--observateur", "OBS", "--k", "-1"}, "", 2, "",
       "k : un nombre positif, 1,22 par exemple.\n"},
      {"a second observation of March 3rd", kFrench,
       {"ajouter", "2014-03-03", "10:00", "--disque", "5", "10", "--seeing", "2", "--observateur", "OBS"}, "", 0,
       "Observation enregistrée : R = 60\n", ""},
      {"the later one kept for its day", kFrench, {"retenir", "3", "3", "2014", "10", "0", "--observateur", "OBS"},
       "", 0, "Observation retenue pour le 3 mars 2014 : 10:00, R = 60\n", ""},
      {"no observation at that minute", kFrench, {"retenir", "2014-03-03", "10:01", "--observateur", "OBS"}, "", 2,
       "", "Le journal n'a pas d'observation le 2014-03-03 à 10:01 de l'observateur OBS.\n"},
      {"a month of days observed and not, no --partiel needed", kFrench, {"importer", "-"}, january, 0,
       "Observations importées : 2 ; jours sans observation : 2\n", ""},
      {"a day not observed from the command", kFrench,
       {"ajouter", "2014-01-05", "--sans-observation", "--remarque", "R", "--observateur", "OBS"}, "", 0,
       "Jour sans observation enregistré : 5 janvier 2014 (R)\n", ""},
      {"a day observed cannot be marked not observed", kFrench,
       {"ajouter", "3", "1", "2014", "--sans-observation", "--observateur", "OBS"}, "", 2, "",
       "Date : OBS a une observation le 3 janvier 2014 ; ce jour ne peut être sans observation.\n"},
      {"the days not observed in the month, in no mean", kFrench, {"mois", "1", "2014", "--observateur", "OBS"}, "", 0,
       "Jour  Heure TU  Seeing  g nord  f nord  R nord  g sud  f sud  R sud  g   f   R  Remarques\n"
       "   1     02:20       –       1      15      25      1     39     49  2  54  74\n"
       "   2         –       –       –       –       –      –      –      –  –   –   –  C\n"
       "   3     06:10       4       1      16      26      2     41     61  3  57  87  brume\n"
       "   4         –       –       –       –       –      –      –      –  –   –   –  S-C\n"
       "   5         –       –       –       –       –      –      –      –  –   –   –  R\n"
       "Jours d'observation : 2\nMoyenne de R : 80,50\nMoyenne de R nord : 25,50\nMoyenne de R sud : 55,00\n"
       "Groupes par jour : 2,50\n",
       ""},
      {"the second observer observes", kFrench,
       {"ajouter", "2014-02-10", "9:00", "--disque", "1", "2", "--observateur", "HUZR"}, "", 0,
       "Observation enregistrée : R = 12\n", ""},
      {"two observers observing: the month asks whose", kFrench, {"mois", "2", "2014"}, "", 2, "",
       "Le journal tient plusieurs observateurs (HUZR, OBS) : choisissez-en un avec --observateur CODE.\n"},
      {"an observation corrected, moved to another time", kFrench,
       {"corriger", "2014-02-10", "9:00", "--observateur", "HUZR", "--disque", "2", "5", "--seeing", "E", "--heure",
        "9:30"},
       "", 0, "Observation corrigée : le 10 février 2014 à 09:30, R = 25\n", ""},
      {"a correction the checks refuse", kFrench,
       {"corriger", "2014-02-10", "9:30", "--observateur", "HUZR", "--disque", "3", "2"}, "", 2, "",
       "f disque : chaque groupe a au moins une tache (f = 2 est inférieur à g = 3).\n"},
      {"an observation struck out", kFrench, {"supprimer", "2014-02-10", "9:30", "--observateur", "HUZR"}, "", 0,
       "Observation supprimée : le 10 février 2014 à 09:30, R = 25\n", ""},
      {"the first observer given the network's code", kFrench, {"observateurs", "--renommer", "OBS", "FUJI"}, "", 0,
       "Observateur renommé : OBS devient FUJI\n", ""},
      {"a code a network cannot name a file with", kFrench, {"observateurs", "--renommer", "FUJI", "FU JI"}, "", 2,
       "",
       "Code : « FU JI » ne convient pas ; 20 lettres, chiffres, « . », « - » ou « _ » au plus, sans espace ni "
       "accent.\n"},
      {"a day not observed struck out, its observer the only one observing", kFrench,
       {"supprimer", "2014-01-05", "--sans-observation"}, "", 0, "Jour sans observation supprimé : 5 janvier 2014\n",
       ""},
      {"the code given back", kFrench, {"observateurs", "--renommer", "FUJI", "OBS"}, "", 0,
       "Observateur renommé : FUJI devient OBS\n", ""},
      {"an action's help", kFrench, {"supprimer", "--help"}, "", 0,
       "Usage : kavrel journal [--fichier F] supprimer DATE HEURE [--observateur CODE] | supprimer DATE "
       "--sans-observation\n\nsupprime l'observation de DATE à HEURE avec ses groupes, ou le jour sans\n"
       "observation DATE. Affiche « Observation supprimée : le 3 février 2014 à 09:05,\nR = 109 ».\n",
       ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    std::vector<std::string> arguments{KAVREL_BINARY, "journal", "--fichier", journal};
    arguments.insert(arguments.end(), step.arguments.begin(), step.arguments.end());
    const Result r = runProgram(arguments, step.locale, step.input);
    EXPECT_EQ(r.status, step.status);
    EXPECT_EQ(r.out, step.out);
    EXPECT_EQ(r.err, step.err);
  }

  // The report written is the one printed, whole.
  const Result printed = kavrel({"journal", "--fichier", journal, "rapport", "2", "2014", "--format", "aavso",
                                 "--observateur", "OBS"}, kFrench);
  std::FILE* written = std::fopen((folder + "/OBS1402.RAW").c_str(), "rb");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(readAll(written), printed.out);
  EXPECT_EQ(printed.out.substr(0, 21), "Solar data from: OBS\n");

  // Files that are not a journal: refused with their reason, and left as they were.
  const struct {
    const char* name;
    std::string path;
    std::string err;
  } files[] = {
      {"a PNG named .sqlite", png,
       "Journal « " + png + " » : ce fichier n'est pas un journal de Kavrel : ce n'est pas une base SQLite.\n"},
      {"a journal under a file", log + "/journal.sqlite",
       "Impossible de lire le journal " + log + "/journal.sqlite : un élément du chemin n'est pas un dossier.\n"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const Result r = kavrel({"journal", "--fichier", f.path, "ajouter", "2014-02-03", "9:05", "--disque", "1", "1"},
                            kFrench);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, f.err);
  }
  std::FILE* image = std::fopen(png.c_str(), "rb");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(readAll(image), pngBytes);
  std::filesystem::remove_all(folder);
}

// A picture of the journal written as each format, off screen: PNG pixels, SVG and PDF in
// vectors (no picture inside); one that cannot be written leaves nothing, one with
// nothing to draw is refused.
TEST(KavrelCommand, JournalChartFiles) {
  char made[] = "/tmp/kavrel-graphique-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string folder = made;
  const std::string journal = folder + "/journal.sqlite";
  std::string silso;
  for (int day = 1; day <= 28; ++day)
    silso += "2014;02;" + std::string(day < 10 ? "0" : "") + std::to_string(day) + ";2014.100;  " +
             std::to_string(100 + day) + ";  7.6;  30;1\n";
  std::ofstream(folder + "/SN_d_tot_V2.0.csv") << silso;
  ASSERT_EQ(kavrel({"journal", "--fichier", journal, "silso", folder + "/SN_d_tot_V2.0.csv"}, kPlain).status, 0);
  for (const char* day : {"2014-02-03", "2014-02-04", "2014-02-05"})
    ASSERT_EQ(kavrel({"journal", "--fichier", journal, "ajouter", day, "9:05", "--disque", "7", "30"}, kPlain).status,
              0);

  const struct {
    const char* name;
    std::vector<std::string> arguments;  // after "journal --fichier JOURNAL graphique"
    int status;
    std::string err;
    std::string file;            // the file written, empty when none
    std::string start;           // its first bytes
    std::vector<std::string> in;   // texts it holds
    std::vector<std::string> out;  // texts it must not hold
  } rows[] = {
      {"monthly means as PNG", {"mensuel", "--png", folder + "/m.png"}, 0, "", folder + "/m.png", "\x89PNG", {}, {}},
      {"k as SVG, its lines and marks in vectors", {"k", "--svg", folder + "/k.svg", "--k", "1,2"}, 0, "",
       folder + "/k.svg", "<?xml", {"<polyline", "SILSO"}, {"<image"}},
      {"the butterfly as PDF, without a raster image", {"papillon", "--pdf", folder + "/p.pdf", "--du", "2014"}, 0, "",
       folder + "/p.pdf", "%PDF-", {}, {"/Subtype /Image"}},
      {"every year there is: SILSO's months still drawn", {"mensuel", "--svg", folder + "/t.svg", "--du", "1", "--au", "9999"},
       0, "", folder + "/t.svg", "<?xml", {"Moyenne mensuelle SILSO", "1000"}, {}},
      {"into a folder that does not exist", {"mensuel", "--png", folder + "/nul/m.png"}, 1,
       "Le fichier « " + folder + "/nul/m.png » n'a pas pu être écrit : le dossier n'existe pas.\n", "", "", {}, {}},
      {"years without anything", {"k", "--svg", folder + "/vide.svg", "--du", "1900", "--au", "1901"}, 2,
       "Rien à dessiner pour ces années.\n", "", "", {}, {}},
      {"two files at once", {"k", "--svg", folder + "/a.svg", "--png", folder + "/a.png"}, 2,
       "kavrel : un seul fichier par graphique, --png, --svg ou --pdf\n", "", "", {}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> arguments{"journal", "--fichier", journal, "graphique"};
    arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
    const Result r = kavrel(arguments, kFrench);
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(r.err, row.err);
    if (row.file.empty()) continue;
    EXPECT_EQ(r.out, "Graphique enregistré : " + row.file + "\n");
    std::ifstream written(row.file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(bytes.starts_with(row.start));
    for (const auto& text : row.in) EXPECT_NE(bytes.find(text), std::string::npos) << text;
    for (const auto& text : row.out) EXPECT_EQ(bytes.find(text), std::string::npos) << text;
  }
  const auto names = [&] {
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    return left;
  };
  EXPECT_EQ(names(),
            (std::vector<std::string>{"SN_d_tot_V2.0.csv", "journal.sqlite", "k.svg", "m.png", "p.pdf", "t.svg"}));
  std::filesystem::remove_all(folder);
}

// A journal that can only be read: on a read-only medium (a bind mount remounted read
// only), in a folder its user cannot write (run as nobody), its file writable or not, held
// by a writer whose last change is still in the WAL; and a new journal asked where none
// can be made. The month is read, every change refused with the reason (status 1), and a
// read-only folder never said missing.
TEST(KavrelCommand, JournalReadOnly) {
  char made[] = "/tmp/kavrel-readonly-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string base = made;
  ::chmod(base.c_str(), 0755);
  const auto journalIn = [&](const std::string& name, mode_t mode, const std::string& day = "2014-02-03") {
    const std::string folder = base + "/" + name;
    std::filesystem::create_directory(folder);
    ::chmod(folder.c_str(), 0755);
    const std::string path = folder + "/journal.sqlite";
    EXPECT_EQ(kavrel({"journal", "--fichier", path, "ajouter", day, "09:00", "--disque", "2", "4"}, kFrench).status, 0);
    ::chmod(path.c_str(), mode);
    return path;
  };
  const std::string medium = journalIn("support", 0644);
  const std::string folder = journalIn("dossier", 0666);
  const std::string file = journalIn("fichier", 0644);
  const std::string held = journalIn("tenu", 0644);
  // A reader stays on `held`: the change made after it stays in the WAL, beside the file.
  sqlite3* reader = nullptr;
  sqlite3_open_v2(held.c_str(), &reader, SQLITE_OPEN_READONLY, nullptr);
  ASSERT_EQ(sqlite3_exec(reader, "SELECT count(*) FROM observations", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(kavrel({"journal", "--fichier", held, "ajouter", "2014-02-09", "09:00", "--disque", "1", "1"}, kFrench).status,
            0);
  ASSERT_TRUE(std::filesystem::exists(held + "-wal"));
  const std::string mediumFolder = base + "/support";
  const bool bound = ::mount(mediumFolder.c_str(), mediumFolder.c_str(), nullptr, MS_BIND, nullptr) == 0;
  const bool mounted =
      bound && ::mount(nullptr, mediumFolder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
  const std::string refused = mounted ? "" : std::strerror(errno);
  const bool root = ::geteuid() == 0;

  // Run as nobody from a copy in the test's folder: the build's own may lie in a folder
  // only its owner may enter.
  const std::string program = base + "/kavrel";
  std::filesystem::copy_file(KAVREL_BINARY, program);
  ::chmod(program.c_str(), 0755);
  const std::string change = "2014-02-04";
  const struct {
    const char* name;
    bool onMedium;  // needs the read-only mount
    bool asNobody;  // else as root, whom permissions do not stop
    std::string path;
    std::vector<std::string> words;
    int status;
    std::string shown;  // in the standard output
    std::string err;
  } cases[] = {
      {"a read-only medium, read", true, false, medium, {"mois", "2", "2014"}, 0, "   3     09:00", ""},
      {"a read-only medium, changed", true, false, medium, {"ajouter", change, "10:00", "--disque", "1", "1"}, 1, "",
       "Ce journal est en lecture seule : il est sur un support en lecture seule.\n"},
      {"a folder the user cannot write, read", false, true, folder, {"mois", "2", "2014"}, 0, "   3     09:00", ""},
      {"a folder the user cannot write, changed", false, true, folder,
       {"ajouter", change, "10:00", "--disque", "1", "1"}, 1, "",
       "Ce journal est en lecture seule : son dossier " + base + "/dossier ne peut être écrit.\n"},
      {"a file and folder the user cannot write, read", false, true, file, {"mois", "2", "2014"}, 0, "   3     09:00",
       ""},
      {"held by a writer: its last change read", false, true, held, {"mois", "2", "2014"}, 0, "   9     09:00", ""},
      {"a new journal on a read-only medium", true, false, mediumFolder + "/nouveau.sqlite", {"mois", "2", "2014"}, 1,
       "",
       "Impossible de créer le journal " + mediumFolder + "/nouveau.sqlite : son dossier " + mediumFolder +
           " ne peut être écrit (le disque est en lecture seule).\n"},
      {"a new journal in a missing folder of a read-only medium", true, false,
       mediumFolder + "/absent/nouveau.sqlite", {"mois", "2", "2014"}, 1, "",
       "Impossible de créer le journal " + mediumFolder + "/absent/nouveau.sqlite : son dossier " + mediumFolder +
           "/absent ne peut être créé (le disque est en lecture seule).\n"},
      {"a new journal in a folder the user cannot write", false, true, base + "/dossier/nouveau.sqlite",
       {"mois", "2", "2014"}, 1, "",
       "Impossible de créer le journal " + base + "/dossier/nouveau.sqlite : son dossier " + base +
           "/dossier ne peut être écrit (permission refusée).\n"},
  };
  for (const auto& c : cases) {
    if ((c.onMedium && !mounted) || (c.asNobody && !root)) continue;
    SCOPED_TRACE(c.name);
    std::vector<std::string> command{c.asNobody ? program : KAVREL_BINARY, "journal", "--fichier", c.path};
    if (c.asNobody)
      command.insert(command.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    command.insert(command.end(), c.words.begin(), c.words.end());
    const Result r = runProgram(command, kFrench);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.out.find(c.shown), std::string::npos) << r.out;
    EXPECT_EQ(r.err, c.err);
  }
  sqlite3_close(reader);
  if (bound) ::umount2(mediumFolder.c_str(), MNT_DETACH);
  std::filesystem::remove_all(base);
  if (!mounted) GTEST_SKIP() << "no read-only mount here (" << refused << ") : the medium's cases not run";
  if (!root) GTEST_SKIP() << "not root: the cases of another user not run";
}

// A report that cannot be written is said with the system's reason and leaves nothing of
// itself: neither a cut file nor a temporary, and the report it would replace intact.
TEST(KavrelCommand, JournalReportWrittenWholeOrNotAtAll) {
  using kavrel::testing::Place;
  if (::geteuid() != 0) GTEST_SKIP() << "the full and read-only disks are tmpfs mounted by the test, as root";
  char made[] = "/tmp/kavrel-rapport-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string journal = std::string(made) + "/journal.sqlite";
  ASSERT_EQ(kavrel({"journal", "--fichier", journal, "ajouter", "2014-02-03", "9:05", "--disque", "1", "1"}, kPlain)
                .status,
            0);
  const std::string oldReport = "Solar data from: OBS\nFor the month of: FEBRUARY 2014\n";
  const struct {
    const char* name;
    Place place;
    std::string old;
    const char* reason;
  } rows[] = {
      {"onto a full disk", Place::FullDisk, "", "plus de place sur le disque"},
      {"replacing a report on a full disk", Place::FullDisk, oldReport, "plus de place sur le disque"},
      {"replacing a report on a read-only disk", Place::ReadOnly, oldReport, "le disque est en lecture seule"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const kavrel::testing::ScratchFileSystem place(row.place, "OBS1402.RAW", row.old);
    if (!place.reason().empty()) GTEST_SKIP() << place.reason();
    // A report is smaller than the room the scratch disk leaves: none is left.
    if (row.place == Place::FullDisk)
      std::ofstream(place.path() + ".filler", std::ios::binary)
          << std::string(kavrel::testing::ScratchFileSystem::kRoomLeft, 'x');
    const std::vector<std::string> before = place.names();
    const Result r = kavrel({"journal", "--fichier", journal, "rapport", "2", "2014", "--format", "aavso", "--sortie",
                             place.path()},
                            kFrench);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Le fichier « " + place.path() + " » n'a pas pu être écrit : " + row.reason + ".\n");
    EXPECT_EQ(place.names(), before);
    EXPECT_EQ(place.contents(), row.old);
  }
  std::filesystem::remove_all(made);
}

// The same Sun with its header's geometry: 2" pixels, seen by an observer at B0 7.5°,
// L0 100°, on 6 December 2001 at 9:05:50.
TEST(KavrelCommand, PhotographHeaderGeometry) {
  const std::string plain = writeSunFits(testing::TempDir() + "/kavrel-sans-en-tete.fits");
  const std::string sun = writeSunFits(testing::TempDir() + "/kavrel-en-tete.fits",
                                       {"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CRPIX1  =                101.5",
                                        "CRPIX2  =                 89.5", "CDELT1  =                  2.0",
                                        "CDELT2  =                  2.0", "RSUN_OBS=                120.0",
                                        "CRLT_OBS=                  7.5", "CRLN_OBS=                100.0",
                                        "DATE-OBS= '2001-12-06T09:05:50'"});
  // The header's limb set aside: why, before the source.
  const std::string moved = writeSunFits(testing::TempDir() + "/kavrel-en-tete-decale.fits",
                                         {"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CRPIX1  =                121.5",
                                          "CRPIX2  =                 89.5", "CDELT1  =                  2.0",
                                          "CDELT2  =                  2.0", "RSUN_OBS=                120.0"});
  const struct {
    std::string file;
    std::string end;
  } sources[] = {
      {sun, " px\nSource : en-tête\n"},
      {plain, "\nL'en-tête du fichier ne donne pas : CRPIX1, CRPIX2, CDELT1, CDELT2, RSUN_OBS, DATE-OBS.\n"
              "Source : image\n"},
      {moved, "\nBord de l'en-tête écarté : Le centre du disque donné par l'en-tête (CRPIX1, CRPIX2, CRVAL1, "
              "CRVAL2) est à 20,0 px de celui du bord trouvé sur l'image.\nSource : image\n"},
  };
  for (const auto& c : sources) {
    const std::string out = kavrel({"limbe", c.file}, kFrench).out;
    EXPECT_TRUE(out.ends_with(c.end)) << out;
  }

  // At the centre, B and L are B0 and L0: the observer's at the file's instant, the
  // Earth's at another.
  const std::string earth = kavrel({"tache", "6", "12", "2001", "9", "4", "0", "0"}, kPlain).out;
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string latitudeOn;  // the output from "B : " on
    std::string err;
  } cases[] = {
      {"the file's instant", {"tache-image", sun, "100.5", "70.5"}, 0, "B : 7.50°\nL : 100.00°\nDMC : 0.00°\n", ""},
      {"the file's minute typed", {"tache-image", sun, "6", "12", "2001", "9", "5", "100.5", "70.5"}, 0,
       "B : 7.50°\nL : 100.00°\nDMC : 0.00°\n", ""},
      {"another minute", {"tache-image", sun, "6", "12", "2001", "9", "4", "100.5", "70.5"}, 0, earth, ""},
      {"no instant in the file", {"tache-image", plain, "100.5", "70.5"}, 2, "",
       "L'instant de la prise de vue n'a pas été lu dans le fichier : donnez JOUR MOIS ANNEE HEURE MINUTE avant X "
       "Y\n"},
      {"four fields", {"tache-image", sun, "9", "5", "100.5", "70.5"}, 2, "",
       "Usage : kavrel tache-image IMAGE [JOUR MOIS ANNEE HEURE MINUTE] X Y [--nord ANGLE | --derive X1 Y1 X2 Y2] "
       "[--depuis-axe] [--est-a-droite] [--limbe CX CY R] [--decalage-horloge H]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = kavrel(c.arguments, kPlain);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.substr(std::min(r.out.size(), r.out.find("B : "))), c.latitudeOn);
    EXPECT_EQ(r.err, c.err);
  }
  std::remove(plain.c_str());
  std::remove(sun.c_str());
}

// Groups of Greenwich and of an SRS through `kavrel journal`, in order on one new file.
TEST(KavrelCommand, JournalGroupsOfOthers) {
  char made[] = "/tmp/kavrel-groups-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string folder = made;
  const std::string journal = folder + "/journal.sqlite";
  const auto write = [&](const std::string& name, const std::string& text) {
    std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return folder + "/" + name;
  };
  const std::string line = "2014 1 1.500   11936 BGD    0  270    0  210 0.764 251.7 225.0 -16.0  49.0\n";
  const std::string greenwich = write("g2014.txt", line + line.substr(0, 15) + "11942 B      0   25    0   20 0.772  "
                                                   "74.3 126.0  10.5 -49.0\n" + line.substr(0, 7) + "2" + line.substr(8));
  const std::string cut = write("cut.txt", line + line.substr(0, 30));
  const std::string srs = write("srs.txt", ":Product: 0102SRS.txt\n:Issued: 2014 Jan 02 0030 UTC\n"
                                           "I.  Regions with Sunspots.  Locations Valid at 01/2400Z\n"
                                           "Nmbr Location  Lo  Area  Z   LL   NN Mag Type\n"
                                           "1936 S16W49   225  0210 Dai  08   11 Beta-Gamma\n"
                                           "IA. H-alpha Plages without Spots.  Locations Valid at 01/2400Z Jan\n");
  const std::string days = "      Jour     Source  g nord  f nord  R nord  g sud  f sud  R sud  g  f  R\n";
  const struct {
    const char* name;
    std::vector<std::string> arguments;  // after "journal --fichier JOURNAL"
    int status;
    std::string out;
    std::string err;
  } steps[] = {
      {"a Greenwich file", {"groupes", "importer", greenwich}, 0,
       "Groupes importés (greenwich) : 3 lignes, du 2014-01-01 au 2014-01-02\n", ""},
      {"a cut file refused with its line", {"groupes", "importer", cut}, 2, "",
       "ligne 2 : tronquée : 30 caractères au lieu de 74.\nAucun groupe importé.\n"},
      {"an SRS", {"groupes", "importer", srs}, 0, "Groupes importés (srs) : 1 ligne, le 2014-01-01\n", ""},
      {"the year of both sources, region 11936 once", {"groupes", "resume", "2014"}, 0,
       "Groupes : 2\nNord : 1 groupe, latitude moyenne 10,50°\nSud : 1 groupe, latitude moyenne 16,00°\n", ""},
      {"a day of Greenwich counts no spots", {"jour", "2014-01-01", "--source", "greenwich"}, 0,
       days + "2014-01-01  greenwich       1       –       –      1      –      –  2  –  –\n"
              "Les fichiers de Greenwich ne comptent pas les taches : f et R ne sont pas donnés.\n", ""},
      {"a day of two sources needs one", {"jour", "1", "1", "2014"}, 2, "",
       "Le journal tient les groupes de ce jour de deux sources : choisissez-en une avec --source greenwich ou "
       "--source srs.\n"},
      {"an unknown source", {"groupes", "resume", "2014", "--source", "rgo"}, 2, "", "Source : greenwich ou srs.\n"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    std::vector<std::string> arguments{KAVREL_BINARY, "journal", "--fichier", journal};
    arguments.insert(arguments.end(), step.arguments.begin(), step.arguments.end());
    const Result r = runProgram(arguments, kFrench);
    EXPECT_EQ(r.status, step.status);
    EXPECT_EQ(r.out, step.out);
    EXPECT_EQ(r.err, step.err);
  }
  std::filesystem::remove_all(folder);
}

TEST(KavrelCommand, HelpListsTheSubcommands) {
  for (const char* option : {"--help", "-h"}) {
    SCOPED_TRACE(option);
    const Result r = kavrel({option}, kFrench);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* name : {"jj ", "date ", "sideral ", "precession ", "soleil ", "rotations ", "tache ", "disque ",
                             "limbe ", "tache-image ", "aire ", "carte-synoptique ", "journal "}) {
      EXPECT_NE(r.out.find(std::string("\n  ") + name), std::string::npos) << name;
    }
  }
}

// Every action answers --help with its usage and what it does, on the standard output,
// before its words are checked: one row per action, the journal's included.
TEST(KavrelCommand, EveryActionAnswersHelp) {
  const struct {
    std::vector<std::string> words;
    std::string usage;
  } rows[] = {
      {{"jj", "--help"}, "jj JOUR MOIS ANNEE HEURE MINUTE"},
      {{"date", "-h"}, "date JOUR_JULIEN"},
      {{"sideral", "1", "--help"}, "sideral JOUR MOIS ANNEE"},
      {{"precession", "--help"}, "precession ANNEE_REF AD DECL ANNEE_CIBLE"},
      {{"soleil", "--csv", "--help"}, "soleil [JOUR MOIS ANNEE HEURE MINUTE] | --csv [FICHIER]"},
      {{"rotations", "--help"}, "rotations J1 M1 A1 J2 M2 A2"},
      {{"tache", "--help"}, "tache JOUR MOIS ANNEE HEURE MINUTE ANGLE DISTANCE [--depuis-axe]"},
      {{"disque", "--help"}, "disque JOUR MOIS ANNEE HEURE MINUTE --pdf FICHIER"},
      {{"limbe", "--help"}, "limbe IMAGE [--bord X1 Y1 X2 Y2 X3 Y3]"},
      {{"tache-image", "--help"}, "tache-image IMAGE [JOUR MOIS ANNEE HEURE MINUTE] X Y"},
      {{"aire", "--help"}, "aire IMAGE X Y [--seuils TACHE OMBRE]"},
      {{"carte-synoptique", "--help"}, "carte-synoptique ROTATION IMAGE... --png FICHIER | --fits FICHIER"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.words.front());
    const Result r = kavrel(row.words, kFrench);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("Usage : kavrel " + row.usage, 0), 0u) << r.out;
    EXPECT_GT(r.out.size(), r.out.find("\n\n") + 40) << "a summary follows the usage";
  }
  for (const char* action : {"ajouter", "corriger", "supprimer", "retenir", "importer", "mois", "rapport",
                             "sauvegarder", "graphique", "observateurs", "groupes", "jour", "silso", "silso-mois",
                             "k"}) {
    SCOPED_TRACE(action);
    const Result r = kavrel({"journal", action, "--help"}, kFrench);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("Usage : kavrel journal [--fichier F] ") + action, 0), 0u) << r.out;
  }
  // After "--", --help is a field like any other.
  EXPECT_EQ(kavrel({"date", "--", "--help"}, kFrench).status, 2);
}

// The calculations load no Qt: the command needs none of its libraries, and hands the
// actions that paint over to kavrel-dessin, installed beside it; without it, those fail
// (1) and say so, the calculations still run.
TEST(KavrelCommand, CalculationsLoadNoQt) {
  std::FILE* pipe = ::popen((std::string("readelf -d ") + KAVREL_BINARY).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string dynamic;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) dynamic.append(buffer, n);
  ASSERT_EQ(::pclose(pipe), 0);
  EXPECT_NE(dynamic.find("(NEEDED)"), std::string::npos) << dynamic;
  EXPECT_EQ(dynamic.find("libQt6"), std::string::npos) << dynamic;

  char made[] = "/tmp/kavrel-seul-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string alone = std::string(made) + "/kavrel";
  std::filesystem::copy_file(KAVREL_BINARY, alone);
  const Result painted = runProgram({alone, "limbe", "soleil.png"}, kPlain);
  EXPECT_EQ(painted.status, 1);
  EXPECT_EQ(painted.err.rfind("kavrel : « " + std::string(made) + "/../lib/kavrel/kavrel-dessin » n'a pas pu", 0), 0u)
      << painted.err;
  EXPECT_EQ(runProgram({alone, "jj", "1", "1", "2000", "12", "0"}, kFrench).out, "2451545,000\n");
  std::filesystem::remove_all(made);
}

TEST(KavrelCommand, SolarAspectWithoutArgumentsUsesTheClock) {
  if (std::string(KAVREL_LIBFAKETIME).empty()) GTEST_SKIP() << "libfaketime is not installed";
  const Result r = runProgram({KAVREL_BINARY, "soleil"}, kFrench, {},
                              {std::string("LD_PRELOAD=") + KAVREL_LIBFAKETIME, "FAKETIME=@2001-12-06 09:05:00"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Date : 6.12.2001 à 9h 5min");
  EXPECT_NE(r.out.find("\nJour julien : 2452249,878\n"), std::string::npos) << r.out;
}

// The rotation's map from photographs: the files written, a photograph set aside said with
// its reason, the map refused when nothing is left of it.
TEST(KavrelCommand, SynopticMapFromPhotographs) {
  const std::string folder = testing::TempDir();
  const std::string dated = writeSunFits(folder + "/kavrel-carte-jour.fits", {"DATE-OBS= '2001-12-06T09:05:50'"});
  const std::string undated = writeSunFits(folder + "/kavrel-carte-sans-date.fits");
  const std::string fits = folder + "/kavrel-carte.fits", png = folder + "/kavrel-carte.png";
  const auto map = [](std::vector<std::string> words) {
    words.insert(words.begin(), "carte-synoptique");
    return words;
  };
  const struct {
    const char* name;
    std::vector<std::string> words;
    int status;
    std::string out;  // a line of the output
    std::string err;  // a part of the error stream
  } rows[] = {
      {"one photograph", map({"1983", dated, "--fits", fits, "--png", png, "--pas", "1"}), 0,
       "kavrel-carte-jour.fits : 2001-12-06 à 09:06 TU, L0 ", ""},
      {"one without its instant", map({"1983", undated, dated, "--fits", fits, "--pas", "1"}), 0,
       "Carte : 360 × 180 pixels de 1°, ",
       "kavrel-carte-sans-date.fits : écartée : l'instant de la prise de vue n'est pas lu dans le fichier"},
      {"none kept", map({"1983", undated, "--fits", fits, "--pas", "1"}), 2, "",
       "Aucune photographie n'a pu être placée sur la carte."},
      {"none read", map({"1983", folder + "/absente.fits", "--fits", fits}), 1, "", "absente.fits : écartée : "},
      {"a rotation away", map({"1990", dated, "--fits", fits, "--pas", "1"}), 2, "",
       "plus de 7 jours hors de la rotation 1990"},
      {"no map file", map({"1983", dated}), 2, "", "Donnez le fichier de la carte"},
      {"a step not dividing 180", map({"1983", dated, "--fits", fits, "--pas", "0.7"}), 2, "", "Le pas de la carte"},
  };
  for (const auto& row : rows) {
    std::remove(fits.c_str());
    const Result r = kavrel(row.words, kPlain);
    EXPECT_EQ(r.status, row.status) << row.name << '\n' << r.err;
    EXPECT_NE(r.out.find(row.out), std::string::npos) << row.name << '\n' << r.out;
    EXPECT_NE(r.err.find(row.err), std::string::npos) << row.name << '\n' << r.err;
    EXPECT_EQ(std::filesystem::exists(fits), row.status == 0) << row.name;
  }
  std::FILE* file = std::fopen(png.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(readAll(file).substr(1, 3), "PNG");
}

}  // namespace
