// The kavrel command run as a user runs it: the built binary, a chosen locale, and its
// standard output, standard error and exit status compared whole.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scratch_file_system.h"

extern char** environ;

namespace {

constexpr const char* kFrench = "fr_FR.UTF-8";
constexpr const char* kPlain = "C";
constexpr const char* kFaketime = "/usr/bin/faketime";

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

// Runs `command` (the program first) with LC_ALL=`locale` and a minimal environment;
// the sanitizers' settings pass through.
Result runProgram(const std::vector<std::string>& command, const char* locale) {
  std::vector<std::string> environment{std::string("LC_ALL=") + locale, "PATH=/usr/bin:/bin", "TZ=UTC"};
  std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";  // faketime preloads its library
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

  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
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

// 1 January 2000 at 12 h UT: P 2.1366, B0 -3.0122, L0 1.4549, S 16.29'. On the central
// meridian B is B0 plus or minus the heliocentric angle arcsin(r) - r S.
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
      {"centre of the disc is B0, L0", kFrench, spot({"0", "0"}), 0, "B : -3,01°\nL : 1,45°\nDMC : 0,00°\n", ""},
      {"north along the axis", kPlain, spot({"--depuis-axe", "0", "0.5"}), 0,
       "B : 26.85°\nL : 1.45°\nDMC : 0.00°\n", ""},
      {"south along the axis, no -0.00", kPlain, spot({"180", "0.5", "--depuis-axe"}), 0,
       "B : -32.88°\nL : 1.45°\nDMC : 0.00°\n", ""},
      {"east is negative, comma in French", kFrench, spot({"90", "0,5"}), 0,
       "B : -1,55°\nL : 331,60°\nDMC : -29,85°\n", ""},
      {"a point is also read in French", kFrench, spot({"90", "0.5"}), 0,
       "B : -1,55°\nL : 331,60°\nDMC : -29,85°\n", ""},
      {"negative angle", kPlain, spot({"-270", "0.5"}), 0, "B : -1.55°\nL : 331.60°\nDMC : -29.85°\n", ""},
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
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    const Result r = kavrel(arguments, kPlain);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage : kavrel"), std::string::npos) << r.err;
  }
}

TEST(KavrelCommand, HelpListsTheSubcommands) {
  for (const char* option : {"--help", "-h"}) {
    SCOPED_TRACE(option);
    const Result r = kavrel({option}, kFrench);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* name : {"jj ", "date ", "sideral ", "precession ", "soleil ", "rotations ", "tache ", "disque "}) {
      EXPECT_NE(r.out.find(std::string("\n  ") + name), std::string::npos) << name;
    }
  }
}

TEST(KavrelCommand, SolarAspectWithoutArgumentsUsesTheClock) {
  if (access(kFaketime, X_OK) != 0) GTEST_SKIP() << kFaketime << " is not installed";
  const Result r = runProgram({kFaketime, "2001-12-06 09:05:00", KAVREL_BINARY, "soleil"}, kFrench);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Date : 6.12.2001 à 9h 5min");
  EXPECT_NE(r.out.find("\nJour julien : 2452249,878\n"), std::string::npos) << r.out;
}

}  // namespace
