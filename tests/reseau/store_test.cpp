// The network's base with the real engines: a SQLite file in a folder of the test's own,
// and a PostgreSQL server (the cluster pg_virtualenv starts for the run, a database of the
// test's own made in it). Each test runs on both; the server's own tests (rights, the
// server stopped mid-send) on the server only. The "postgresql" runs skip without a
// server (PGHOST unset): CTest starts them under pg_virtualenv.
#include <libpq-fe.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "reseau/store.h"

namespace kavrel::reseau {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `sql` as the server's superuser in database `database`; answers the first value.
std::string serverSql(const std::string& database, const std::string& sql) {
  const char* keys[] = {"dbname", nullptr};
  const char* values[] = {database.c_str(), nullptr};
  PGconn* connection = PQconnectdbParams(keys, values, 0);
  PQsetNoticeProcessor(connection, [](void*, const char*) {}, nullptr);
  PGresult* result = PQexec(connection, sql.c_str());
  const ExecStatusType status = PQresultStatus(result);
  EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) << sql << ": " << PQerrorMessage(connection);
  std::string value = status == PGRES_TUPLES_OK && PQntuples(result) > 0 ? PQgetvalue(result, 0, 0) : "";
  PQclear(result);
  PQfinish(connection);
  return value;
}

void fileSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TableRow rowOf(int line, const std::string& observer, Day date, Counts disc, std::optional<int> quality = 3) {
  NetworkObservation seen;
  seen.observer = observer;
  seen.instrument = "R 80/1200 ";
  seen.date = date;
  seen.time = TimeOfDay{9, 5};
  seen.quality = quality;
  seen.disc = disc;
  return {line, seen};
}

// `observers` observers ("B0", "B1"…) each observing every day of `days` from 1990.
std::vector<TableRow> batch(int observers, int days, const std::string& prefix = "B") {
  std::vector<TableRow> rows;
  for (int o = 0; o < observers; ++o)
    for (int d = 0; d < days; ++d)
      rows.push_back(rowOf(static_cast<int>(rows.size()) + 2, prefix + std::to_string(o),
                           dayOfNumber(dayNumber({1990, 1, 1}) + d), {d % 7, d % 7 * 3}));
  return rows;
}

ImportRecord fileOf(const std::string& checksum) { return {0, checksum + ".csv", checksum, "", "", 0}; }

// What the base holds, as one text: each observation, each import's checksum, each observer.
std::string contents(Store& store) {
  std::string text;
  const Read<bool> read = store.scan(-100000, 100000, Store::Order::ByDate, [&](const ObservationRow& row) {
    text += std::to_string(row.observer) + "/" + std::to_string(row.day) + "=" + std::to_string(row.relative) + " ";
  });
  EXPECT_TRUE(read.ok()) << read.error;
  for (const ImportRecord& file : store.imports().value) text += file.checksum + " ";
  for (const NetworkObserver& observer : store.observers().value) text += observer.code + " ";
  return text;
}

class StoreTest : public ::testing::TestWithParam<std::string> {
 public:
  void SetUp() override {
    if (server() && !std::getenv("PGHOST")) GTEST_SKIP() << "no server: run under pg_virtualenv";
    if (server()) {
      static int made = 0;
      database_ = "kavrel_test_" + std::to_string(++made);
      serverSql("postgres", "DROP DATABASE IF EXISTS " + database_);
      serverSql("postgres", "CREATE DATABASE " + database_);
    } else {
      char name[] = "/tmp/kavrel-reseau-XXXXXX";
      folder_ = ::mkdtemp(name);
    }
  }
  void TearDown() override {
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  [[nodiscard]] bool server() const { return GetParam() == "postgresql"; }
  [[nodiscard]] std::string base() const {
    return server() ? "postgresql:///" + database_ : folder_ + "/reseau.sqlite";
  }
  // Runs `sql` on the base as its owner would, outside the store.
  void raw(const std::string& sql) const {
    if (server())
      serverSql(database_, sql);
    else
      fileSql(base(), sql);
  }
  // What an opening must leave as it found: the file's bytes, or the server's tables.
  [[nodiscard]] std::string snapshot() const {
    if (!server()) return bytesOf(base());
    return serverSql(database_,
                     "SELECT string_agg(tablename, ',' ORDER BY tablename) FROM pg_tables WHERE schemaname = 'public'") +
           serverSql(database_, "SELECT count(*) FROM stranger");
  }
  [[nodiscard]] std::unique_ptr<Store> open(const std::string& password = {}, const std::string& as = {}) const {
    Store::Opened opened = Store::open(as.empty() ? base() : base() + "?user=" + as, password);
    EXPECT_TRUE(opened.store) << opened.error;
    return std::move(opened.store);
  }

  std::string database_;
  std::string folder_;
};

TEST_P(StoreTest, CreatesItsSchemaAndReopensIt) {
  {
    auto store = open();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->engine(), server() ? "PostgreSQL" : "SQLite");
    ASSERT_TRUE(store->addObserver("IVAN", "Ivan Novák", "").done());
    ASSERT_TRUE(store->importRows(fileOf("a"), {rowOf(2, "JURAŠEK", {2001, 3, 4}, {2, 7}, std::nullopt)}, false, false)
                    .error.empty());
  }
  auto store = open();
  ASSERT_TRUE(store);
  const auto observers = store->observers();
  ASSERT_EQ(observers.value.size(), 2u);
  EXPECT_EQ(observers.value[0].code, "IVAN");
  EXPECT_EQ(observers.value[0].name, "Ivan Novák");
  EXPECT_EQ(observers.value[1].code, "JURAŠEK");
  const auto month = store->month(2001, 3);
  ASSERT_EQ(month.value.size(), 1u);
  EXPECT_EQ(month.value[0].instrument, "R 80/1200 ");
  EXPECT_EQ(month.value[0].date, (Day{2001, 3, 4}));
  EXPECT_EQ(month.value[0].time->minute, 5);
  EXPECT_FALSE(month.value[0].quality);
  EXPECT_EQ(month.value[0].disc, (Counts{2, 7}));
}

TEST_P(StoreTest, RefusesABaseNotOursAndLeavesItAsItWas) {
  struct Case {
    const char* what;
    bool onFile, onServer;
    std::function<void(const StoreTest&)> make;
    const char* message;
  } cases[] = {
      {"a text file", true, false,
       [](const StoreTest& t) { std::ofstream(t.base()) << "date;g;f\n2001-01-01;1;2\n" << std::string(5000, 'x'); },
       "ce n'est pas une base SQLite"},
      {"a truncated table, shorter than a page", true, false,
       [](const StoreTest& t) { std::ofstream(t.base()) << "observer;date;g;f\nIVAN;2001-0"; }, "ce n'est pas une base SQLite"},
      {"another program's tables", true, true,
       [](const StoreTest& t) { t.raw("CREATE TABLE stranger (x INTEGER); INSERT INTO stranger VALUES (1)"); },
       "d'un autre programme"},
      {"a newer version of ours", true, true,
       [](const StoreTest& t) {
         t.open().reset();
         t.raw("CREATE TABLE stranger (x INTEGER); UPDATE kavrel_reseau SET version = 99");
       },
       "version plus récente"},
  };
  for (const Case& c : cases) {
    if (!(server() ? c.onServer : c.onFile)) continue;
    SCOPED_TRACE(c.what);
    raw("DROP TABLE IF EXISTS stranger");
    c.make(*this);
    const std::string before = snapshot();
    const Store::Opened opened = Store::open(base());
    EXPECT_FALSE(opened.store);
    EXPECT_NE(opened.error.find(c.message), std::string::npos) << opened.error;
    EXPECT_EQ(snapshot(), before);
    if (!server())
      for (const char* end : {"", "-wal", "-shm"}) fs::remove(base() + end);
    else
      raw("DROP TABLE IF EXISTS kavrel_reseau, stranger CASCADE");
  }
}

TEST_P(StoreTest, ImportReplacesAnObserversMonthAndOnlyOnce) {
  auto store = open();
  ASSERT_TRUE(store);
  const std::vector<TableRow> january = {rowOf(2, "X", {2001, 1, 1}, {1, 2}), rowOf(3, "X", {2001, 1, 2}, {1, 3}),
                                         rowOf(4, "X", {2001, 1, 31}, {0, 0}), rowOf(5, "Y", {2001, 1, 1}, {2, 4})};
  const std::vector<TableRow> corrected = {rowOf(2, "X", {2001, 1, 5}, {3, 9})};
  const std::vector<TableRow> february = {rowOf(2, "X", {2001, 2, 1}, {1, 1})};
  struct Step {
    const char* what;
    const char* checksum;
    const std::vector<TableRow>* rows;
    bool partial, refused;
    int stored, replaced;
    bool already, failed;
    const char* january;  // the month's days, as "observer:day"
  } steps[] = {
      {"first import", "a", &january, false, false, 4, 0, false, false, "X:1 Y:1 X:2 X:31 "},
      {"the same bytes again", "a", &january, false, false, 0, 0, true, false, "X:1 Y:1 X:2 X:31 "},
      {"X's month corrected", "b", &corrected, false, false, 1, 3, false, false, "Y:1 X:5 "},
      {"refused lines, whole", "c", &february, false, true, 0, 0, false, true, "Y:1 X:5 "},
      {"refused lines, partial", "c", &february, true, true, 1, 0, false, false, "Y:1 X:5 "},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const std::string before = contents(*store);
    const Imported done = store->importRows(fileOf(step.checksum), *step.rows, step.partial, step.refused);
    EXPECT_EQ(done.stored, step.stored);
    EXPECT_EQ(done.replaced, step.replaced);
    EXPECT_EQ(done.alreadyImported, step.already);
    EXPECT_EQ(!done.error.empty(), step.failed) << done.error;
    if (step.failed || step.already) {
      EXPECT_EQ(contents(*store), before);
    }
    std::string days;
    for (const NetworkObservation& seen : store->month(2001, 1).value)
      days += seen.observer + ":" + std::to_string(seen.date.day) + " ";
    EXPECT_EQ(days, step.january);
  }
  EXPECT_EQ(store->imports().value.size(), 3u);
}

TEST_P(StoreTest, ScanHandsEveryRowInTheOrderAsked) {
  auto store = open();
  ASSERT_TRUE(store);
  ASSERT_TRUE(store->importRows(fileOf("a"), batch(3, 800), false, false).error.empty());
  const int start = dayNumber({1990, 1, 1});
  struct Case {
    const char* what;
    int first, last;
    std::size_t rows;
  } cases[] = {
      {"within a month", dayNumber({1990, 1, 5}), dayNumber({1990, 1, 24}), 60},
      {"across two years", dayNumber({1990, 1, 5}), dayNumber({1991, 12, 24}), 3 * 719},
      {"beyond the observations on both sides", start - 5000, start + 5000, 3 * 800},
      {"before them all", start - 5000, start - 1, 0},
  };
  for (const Case& c : cases) {
    for (const Store::Order order : {Store::Order::ByDate, Store::Order::ByObserver}) {
      SCOPED_TRACE(std::string(c.what) + (order == Store::Order::ByDate ? ", by date" : ", by observer"));
      std::vector<std::pair<Id, int>> seen;
      ASSERT_TRUE(store->scan(c.first, c.last, order, [&](const ObservationRow& row) {
        EXPECT_EQ(row.relative, 13 * ((row.day - start) % 7));
        seen.emplace_back(order == Store::Order::ByDate ? row.day : row.observer,
                          order == Store::Order::ByDate ? static_cast<int>(row.observer) : row.day);
      }).ok());
      EXPECT_EQ(seen.size(), c.rows);
      EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
      EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    }
  }
}

// What a file holds comes back from the base as it was written: the instrument's every
// character (a server's bulk copy escapes some), and what was not given left empty.
TEST_P(StoreTest, ImportedValuesComeBackAsWritten) {
  auto store = open();
  ASSERT_TRUE(store);
  std::vector<TableRow> rows;
  const char* instruments[] = {"R 80/1200 ", "tab\there", "back\\slash", "line\nend", "\\N", "", "Zeiss Ř 63"};
  for (const char* instrument : instruments) {
    TableRow row = rowOf(static_cast<int>(rows.size()) + 2, "I", {2003, 4, static_cast<int>(rows.size()) + 1}, {2, 7});
    row.observation.instrument = instrument;
    rows.push_back(row);
  }
  rows[1].observation.quality.reset();
  rows[2].observation.time.reset();
  rows[3].observation.north = Counts{1, 3};
  rows[3].observation.south = Counts{1, 4};
  ASSERT_EQ(store->importRows(fileOf("values"), rows, false, false).error, "");
  const auto month = store->month(2003, 4);
  ASSERT_TRUE(month.ok()) << month.error;
  ASSERT_EQ(month.value.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const NetworkObservation& sent = rows[i].observation;
    const NetworkObservation& read = month.value[i];
    SCOPED_TRACE(sent.instrument);
    EXPECT_EQ(read.instrument, sent.instrument);
    EXPECT_EQ(read.date, sent.date);
    EXPECT_EQ(read.time, sent.time);
    EXPECT_EQ(read.quality, sent.quality);
    EXPECT_EQ(read.disc, sent.disc);
    EXPECT_EQ(read.north, sent.north);
    EXPECT_EQ(read.south, sent.south);
  }
}

// A child importing a large batch is killed with SIGKILL once it has begun: the base
// is as before, and opens.
TEST_P(StoreTest, AProcessKilledMidImportLeavesTheBaseAsItWas) {
  std::string before;
  {
    auto store = open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->importRows(fileOf("first"), batch(2, 31), false, false).error.empty());
    before = contents(*store);
  }
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    auto store = Store::open(base()).store;
    const std::vector<TableRow> rows = batch(100, 3650);
    if (!store || ::write(ready[1], "g", 1) != 1) ::_exit(2);
    (void)store->importRows(fileOf("large"), rows, false, false);
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(server() ? 400 : 150));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";
  auto store = open();
  ASSERT_TRUE(store);
  EXPECT_EQ(contents(*store), before);
}

TEST_P(StoreTest, TwoProcessesImportingAtOnceBothLand) {
  open().reset();
  pid_t children[2];
  for (int i = 0; i < 2; ++i) {
    children[i] = ::fork();
    if (children[i] == 0) {
      auto store = Store::open(base()).store;
      const std::string prefix = i == 0 ? "P" : "Q";
      ::_exit(store && store->importRows(fileOf(prefix), batch(5, 400, prefix), false, false).error.empty() ? 0 : 1);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto store = open();
  ASSERT_TRUE(store);
  int rows = 0;
  ASSERT_TRUE(store->scan(-100000, 100000, Store::Order::ByDate, [&](const ObservationRow&) { ++rows; }).ok());
  EXPECT_EQ(rows, 2 * 5 * 400);
  EXPECT_EQ(store->imports().value.size(), 2u);
}

// An observer's login role writes its own observer's days and nothing else; the
// coordinator alone adds observers and ties roles that exist.
TEST_P(StoreTest, AnObserversRoleWritesOnlyItsOwnDays) {
  if (!server()) {
    auto store = open();
    const Change tied = store->addObserver("A", "Anna", "anna");
    EXPECT_NE(tied.error.find("pas de rôles"), std::string::npos) << tied.error;
    return;
  }
  serverSql("postgres", "DROP ROLE IF EXISTS kavrel_anna; CREATE ROLE kavrel_anna LOGIN PASSWORD 'secret'");
  {
    auto coordinator = open();
    ASSERT_TRUE(coordinator);
    const Change unknown = coordinator->addObserver("A", "Anna", "kavrel_nobody");
    EXPECT_NE(unknown.error.find("n'existe pas"), std::string::npos) << unknown.error;
    ASSERT_TRUE(coordinator->addObserver("A", "Anna", "kavrel_anna").done());
    ASSERT_TRUE(coordinator->addObserver("B", "Boris", "").done());
    ASSERT_TRUE(coordinator->importRows(fileOf("b"), {rowOf(2, "B", {2001, 1, 1}, {1, 1})}, false, false).error.empty());
  }
  const Store::Opened unlocked = Store::open(base() + "?user=kavrel_anna");
  EXPECT_FALSE(unlocked.store);
  EXPECT_TRUE(unlocked.passwordWanted) << unlocked.error;
  auto anna = open("secret", "kavrel_anna");
  ASSERT_TRUE(anna);
  EXPECT_EQ(anna->role(), "kavrel_anna");
  struct Case {
    const char* what;
    std::vector<TableRow> rows;
    const char* message;  // empty: written
  } cases[] = {
      {"her own day", {rowOf(2, "A", {2001, 1, 2}, {2, 5})}, ""},
      {"her day and another's", {rowOf(2, "A", {2001, 2, 2}, {2, 5}), rowOf(3, "B", {2001, 2, 3}, {1, 1})},
       "Ligne 3 : le rôle « kavrel_anna » n'a pas le droit d'écrire les observations de l'observateur « B »"},
      {"an observer not in the network", {rowOf(2, "C", {2001, 1, 3}, {1, 1})}, "« C » n'est pas dans le réseau"},
  };
  int checksum = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = contents(*anna);
    const Imported done = anna->importRows(fileOf("anna" + std::to_string(++checksum)), c.rows, false, false);
    if (*c.message) {
      EXPECT_NE(done.error.find(c.message), std::string::npos) << done.error;
      EXPECT_EQ(done.failure, Change::Failure::Refused);
      EXPECT_EQ(contents(*anna), before);
    } else {
      EXPECT_EQ(done.error, "");
      EXPECT_EQ(done.stored, 1);
    }
  }
  EXPECT_FALSE(anna->addObserver("D", "Dana", "").done());
  EXPECT_EQ(anna->observers().value.size(), 2u);
}

// Last on the server: it stops the cluster in the middle of an import, then starts it
// again to look at what the base holds.
class ServerTest : public StoreTest {};

// A failed connection says why in French, and a wrong password is not said to be missing.
TEST_P(ServerTest, AFailedConnectionSaysWhy) {
  serverSql("postgres", "DROP ROLE IF EXISTS kavrel_olga; CREATE ROLE kavrel_olga LOGIN PASSWORD 'secret'");
  const struct {
    std::string base, password, says;
    bool passwordWanted;
  } cases[] = {
      {base() + "?user=kavrel_olga", "faux", "Le serveur refuse le mot de passe du rôle « kavrel_olga ».", true},
      {"postgresql:///kavrel_absente", "", "La base « kavrel_absente » n'existe pas sur ce serveur.", false},
      {"postgresql://localhost:1/" + database_, "", "ne répond pas sur le port 1 : est-il démarré ?", false},
  };
  for (const auto& c : cases) {
    const Store::Opened opened = Store::open(c.base, c.password);
    EXPECT_FALSE(opened.store) << c.base;
    EXPECT_NE(opened.error.find(c.says), std::string::npos) << opened.error;
    EXPECT_EQ(opened.error.find("demande un mot de passe"), std::string::npos) << opened.error;
    EXPECT_TRUE(opened.passwordWanted || !c.passwordWanted) << c.base;
  }
}

TEST_P(ServerTest, TheServerStoppedMidSendIsSaidAndNothingIsHalfWritten) {
  std::string before;
  {
    auto store = open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->importRows(fileOf("first"), batch(2, 31), false, false).error.empty());
    before = contents(*store);
  }
  const char* version = std::getenv("PGVERSION");
  ASSERT_TRUE(version) << "PGVERSION: set by pg_virtualenv";
  const std::string cluster = std::string("pg_ctlcluster ") + version + " regress ";
  auto store = open();
  ASSERT_TRUE(store);
  const std::vector<TableRow> rows = batch(100, 3650);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(std::system((cluster + "stop -m immediate").c_str()), 0);
  });
  const Imported done = store->importRows(fileOf("large"), rows, false, false);
  stopper.join();
  EXPECT_NE(done.error.find("le serveur ne répond plus"), std::string::npos) << done.error;
  EXPECT_EQ(done.failure, Change::Failure::NotWritten);
  EXPECT_EQ(done.stored, 0);
  store.reset();
  ASSERT_EQ(std::system((cluster + "start").c_str()), 0);
  auto again = open();
  ASSERT_TRUE(again);
  EXPECT_EQ(contents(*again), before);
}

INSTANTIATE_TEST_SUITE_P(Engines, StoreTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Engines, ServerTest, ::testing::Values("postgresql"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kavrel::reseau
