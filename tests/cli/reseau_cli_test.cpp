// kavrel reseau run as a coordinator runs it, on a network the test makes: SILSO's number
// and three observers whose counts are exact fractions of it, so that every k and every
// network's number is known. The same steps on a PostgreSQL server (the test run under
// pg_virtualenv, which sets PGHOST) print the same bytes as on a file.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "reseau/records.h"

extern char** environ;

namespace {

using kavrel::reseau::Day;
using kavrel::reseau::dayNumber;
using kavrel::reseau::dayOfNumber;

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

// kavrel with `arguments`, in French, the test's environment passed on (a server's PG*).
Result kavrel(const std::vector<std::string>& arguments) {
  std::vector<std::string> words{KAVREL_BINARY};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  ::setenv("LC_ALL", "fr_FR.UTF-8", 1);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fileno(out), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fileno(err), STDERR_FILENO);
  pid_t pid = 0;
  Result result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = readAll(out);
  result.err = readAll(err);
  return result;
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
std::string iso(Day d) { return std::to_string(d.year) + "-" + twoDigits(d.month) + "-" + twoDigits(d.day); }

// SILSO's number of a day: even, at least 22, so that half of it is a count of at least 11.
int silso(int day) { return 22 + 2 * ((day * 37 % 90 + 90) % 90); }

// g and f of R: f ≥ g ≥ 1.
std::string counts(int r) {
  const int g = std::max(1, r / 20);
  return std::to_string(g) + ";" + std::to_string(r - 10 * g);
}

struct Network {
  std::string folder;
  std::string table, refused, silsoFile, journal;
};

// 2010–2012: ALPHA counts half of SILSO every day (k = 2), BETA all of it every other day
// (k = 1), GAMMA only 50 days (too few for a k).
Network makeNetwork() {
  char made[] = "/tmp/kavrel-reseau-XXXXXX";
  Network n;
  n.folder = ::mkdtemp(made);
  n.table = n.folder + "/reseau.csv";
  n.refused = n.folder + "/refusee.csv";
  n.silsoFile = n.folder + "/SN_d_tot_V2.0.csv";
  n.journal = n.folder + "/journal.sqlite";
  std::ofstream table(n.table), sn(n.silsoFile);
  table << "observer;instrument;date;time_ut;quality;g;f\n";
  for (int day = dayNumber({2010, 1, 1}); day <= dayNumber({2012, 12, 31}); ++day) {
    const Day d = dayOfNumber(day);
    sn << d.year << ';' << twoDigits(d.month) << ';' << twoDigits(d.day) << ';' << d.year << ".500;" << silso(day)
       << ";  7.6;  30;1\n";
    table << "ALPHA;R 80/1200;" << iso(d) << ";09:00;3;" << counts(silso(day) / 2) << '\n';
    if (day % 2 == 0) table << "BETA;R 150/2250;" << iso(d) << ";10:30;4;" << counts(silso(day)) << '\n';
    if (day % 20 == 0 && d.year == 2011) table << "GAMMA;;" << iso(d) << ";12:00;2;" << counts(silso(day)) << '\n';
  }
  std::ofstream(n.refused) << "observateur;date;heure_tu;qualite;g;f;image\n"
                           << "ALPHA;2013-01-02;09:00;3;4;50;2\n"
                           << "ALPHA;2013-01-03;09:00;3;5;3;2\n";
  return n;
}

struct Step {
  std::vector<std::string> words;  // after "reseau --base B"
  int status;
  std::string expected;  // a line the output holds; empty: not checked
};

// The coordinator's month: import, a refused file, SILSO, k, a day and the series.
std::vector<Step> steps(const Network& n) {
  return {
      {{"importer", n.table}, 0, "Observations importées : 1662 ; remplacées : 0"},
      {{"importer", n.table}, 0, "Ce fichier a déjà été importé tel quel : rien n'a changé."},
      {{"importer", n.refused}, 2, ""},
      {{"silso", n.silsoFile}, 0, "Nombres de SILSO importés : 1096 jours, dont 0 provisoires"},
      {{"k"}, 0, "ALPHA : k = 2,0000 (1096 jours) ; moyenne des rapports 2,0000 ± 0,0000 ; médiane 2,0000"},
      {{"k"}, 0, "GAMMA : pas assez de jours communs (18)"},
      {{"k", "--pilote", "DELTA"}, 2, ""},  // a pilot the base lacks: the request refused
      {{"k", "--par-annee", "--du", "2011", "--au", "2011"}, 0, "BETA 2011 : k = 1,0000 (182 jours)"},
      {{"jour", "2011-06-15", "--k", "global"}, 0, "15 juin 2011 : R du réseau"},
      {{"jour", "2010-06-15"}, 0, "15 juin 2010 : aucun observateur du réseau avec un k ce jour-là."},
      {{"serie", "--csv", n.folder + "/serie.csv"}, 0, "Série écrite : "},
      {{"observateurs", "--ajouter", "ALPHA", "Alpha Centauri"}, 0, "Observateur enregistré : ALPHA"},
      {{"observateurs"}, 0, "ALPHA : Alpha Centauri"},
  };
}

std::vector<std::string> runSteps(const std::string& base, const Network& n) {
  std::vector<std::string> outputs;
  for (const Step& step : steps(n)) {
    std::vector<std::string> words{"reseau", "--base", base};
    words.insert(words.end(), step.words.begin(), step.words.end());
    const Result r = kavrel(words);
    SCOPED_TRACE(step.words.front() + (step.words.size() > 1 ? " " + step.words[1] : std::string()));
    EXPECT_EQ(r.status, step.status) << r.err;
    if (!step.expected.empty()) {
      EXPECT_NE(r.out.find(step.expected), std::string::npos) << r.out << r.err;
    }
    outputs.push_back(r.out + r.err);
  }
  return outputs;
}

TEST(ReseauCommand, CoordinatorsMonthOnAFile) {
  const Network n = makeNetwork();
  runSteps(n.folder + "/reseau.sqlite", n);
  std::ifstream series(n.folder + "/serie.csv");
  std::string header, firstMonth;
  std::getline(series, header);
  EXPECT_EQ(header, "year;month;days;r_network;observers_mean;r_silso");
  // 2011's first month: each observer with the k of 2010, the network's day is SILSO's.
  for (std::string line; std::getline(series, line);) {
    if (line.starts_with("2011;1;")) firstMonth = line;
  }
  const std::string mean = firstMonth.substr(firstMonth.rfind(';') + 1);
  EXPECT_TRUE(firstMonth.starts_with("2011;1;31;" + mean + ";")) << firstMonth;
  std::filesystem::remove_all(n.folder);
}

TEST(ReseauCommand, ServerPrintsWhatTheFilePrints) {
  if (!std::getenv("PGHOST")) GTEST_SKIP() << "no PostgreSQL server (run under pg_virtualenv)";
  const Network n = makeNetwork();
  const std::vector<std::string> onFile = runSteps(n.folder + "/reseau.sqlite", n);
  const std::vector<std::string> onServer = runSteps("postgresql://", n);
  ASSERT_EQ(onFile.size(), onServer.size());
  for (std::size_t i = 0; i < onFile.size(); ++i) EXPECT_EQ(onServer[i], onFile[i]) << "step " << i;
  std::filesystem::remove_all(n.folder);
}

// The observer's month sent from the Journal: stored once, sent again without change.
TEST(ReseauCommand, JournalSendsItsMonth) {
  const Network n = makeNetwork();
  const std::string base = n.folder + "/reseau.sqlite";
  ASSERT_EQ(kavrel({"journal", "--fichier", n.journal, "ajouter", "2013-01-05", "10:00", "--disque", "3", "40",
                    "--observateur", "DELTA"}).status, 0);
  const struct {
    std::vector<std::string> words;
    int status;
    std::string out;
  } sends[] = {
      {{"journal", "--fichier", n.journal, "envoyer", "1", "2013", "--reseau", base}, 0,
       "Mois envoyé au réseau : DELTA, janvier 2013, 1 jour\n"},
      {{"journal", "--fichier", n.journal, "envoyer", "1", "2013", "--reseau", base}, 0,
       "Le réseau a déjà ce mois tel quel : rien n'a changé.\n"},
      {{"journal", "--fichier", n.journal, "envoyer", "2", "2013", "--reseau", base}, 2, ""},
      {{"reseau", "--base", base, "observateurs"}, 0, "DELTA\nObservateurs : 1\n"},
  };
  for (const auto& send : sends) {
    const Result r = kavrel(send.words);
    EXPECT_EQ(r.status, send.status) << r.err;
    EXPECT_EQ(r.out, send.out);
  }
  std::filesystem::remove_all(n.folder);
}

}  // namespace
