// What the window Réseau computes without a base: a server's URI from its parts, the
// drift of an observer's yearly k, and the line that sums up a file read.
#include <gtest/gtest.h>

#include "reseau/overview.h"

namespace kavrel::reseau {
namespace {

struct UriCase {
  const char *host, *port, *base, *user;
  std::optional<std::string> uri;
};

TEST(ServerUri, IsBuiltFromItsPartsOrRefused) {
  const UriCase cases[] = {
      {"sol.example.org", "5432", "reseau", "marie", "postgresql://marie@sol.example.org:5432/reseau"},
      {"sol.example.org", "", "reseau", "", "postgresql://sol.example.org/reseau"},
      // A user or base with reserved characters stays one part of the URI.
      {"localhost", "", "réseau cz", "jan@obs", "postgresql://jan%40obs@localhost/r%C3%A9seau%20cz"},
      {"::1", "5433", "reseau", "", "postgresql://[::1]:5433/reseau"},
      {"", "5432", "reseau", "marie", std::nullopt},
      {"sol", "5432", "", "marie", std::nullopt},
      {"sol", "0", "reseau", "", std::nullopt},
      {"sol", "65536", "reseau", "", std::nullopt},
      {"sol", "54a", "reseau", "", std::nullopt},
      {"sol/autre", "", "reseau", "", std::nullopt},
      {"a@b", "", "reseau", "", std::nullopt},
  };
  for (const UriCase& c : cases) EXPECT_EQ(serverUri(c.host, c.port, c.base, c.user), c.uri) << c.host << ' ' << c.port;
}

ObserverK yearK(const std::string& code, int year, std::optional<double> k, bool given = true) {
  ObserverK row;
  row.code = code;
  row.year = year;
  row.estimate.ratioOfSums = k;
  row.given = given;
  return row;
}

struct DriftCase {
  const char* what;
  std::vector<ObserverK> rows;
  std::optional<double> slope;
  std::optional<int> firstYear, lastYear;
};

TEST(Drift, IsTheSlopeOfTheYearlyK) {
  const DriftCase cases[] = {
      {"one year: none", {yearK("A", 2010, 1.2)}, std::nullopt, std::nullopt, std::nullopt},
      {"two years", {yearK("A", 2010, 1.2), yearK("A", 2012, 1.4)}, 0.1, 2010, 2012},
      {"rows out of order, another observer's and the whole period's left out",
       {yearK("A", 2012, 1.0), yearK("B", 2011, 9.0), yearK("A", 0, 5.0), yearK("A", 2010, 1.2),
        yearK("A", 2011, 1.1)},
       -0.1, 2010, 2012},
      {"a year without k left out",
       {yearK("A", 2010, 1.0), yearK("A", 2011, 3.0, false), yearK("A", 2012, 1.0)}, 0.0, 2010, 2012},
  };
  for (const DriftCase& c : cases) {
    const Drift drift = driftOf(c.rows, "A");
    ASSERT_EQ(drift.slope.has_value(), c.slope.has_value()) << c.what;
    if (c.slope) {
      EXPECT_NEAR(*drift.slope, *c.slope, 1e-12) << c.what;
    }
    EXPECT_EQ(drift.firstYear, c.firstYear) << c.what;
    EXPECT_EQ(drift.lastYear, c.lastYear) << c.what;
  }
}

// French counts a file's 0 or 1 row in the singular.
TEST(ReadSummary, CountsInTheRightNumber) {
  const struct {
    std::size_t valid, refused;
    const char* says;
  } cases[] = {
      {0, 0, "Lu : table, 0 ligne valable, 0 refusée"},
      {1, 1, "Lu : table, 1 ligne valable, 1 refusée"},
      {2, 27, "Lu : table, 2 lignes valables, 27 refusées"},
  };
  for (const auto& c : cases) {
    ImportFile file;
    file.kind = "table";
    file.rows.resize(c.valid);
    file.refusals.resize(c.refused);
    EXPECT_EQ(readSummary(file), c.says);
  }
}

}  // namespace
}  // namespace kavrel::reseau
