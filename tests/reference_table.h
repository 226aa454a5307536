// The reference tables of tests/data/: rows of full-precision results written once by
// scripts/make-reference-tables, a separate writing of the formulas. The tests compare
// the core with them row by row; they never run the script.
//
// A table is CSV: lines starting with "#" are notes, the first other line names the
// columns, fields may be quoted ("2451545,000"). A missing or empty table fails the test
// that reads it, so no loop over it passes by doing nothing.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#ifndef KAVREL_TEST_DATA
#error "KAVREL_TEST_DATA must name the folder of the reference tables"
#endif

namespace kavrel::reference {

// Angles in degrees, times in hours, distances in AU and the like: both sides evaluate
// the same formulas in double precision, so they agree to a few units of the last bit.
// The bound is tight enough to tell a constant's last digit, pi's included (which moves
// P and L0 by some 1e-11 deg).
inline constexpr double kTolerance = 1e-12;
// Julian days (about 2.4e6, whose last bit is 4.7e-10): the same double, since a day
// fraction whose sum runs in another order already moves the caption's last digit.
inline constexpr double kJulianDayTolerance = 1e-10;

class Row {
 public:
  Row(std::shared_ptr<const std::map<std::string, std::size_t, std::less<>>> columns,
      std::vector<std::string> fields, std::string where)
      : m_columns(std::move(columns)), m_fields(std::move(fields)), m_where(std::move(where)) {}

  [[nodiscard]] const std::string& text(std::string_view column) const {
    const auto found = m_columns->find(column);
    if (found == m_columns->end() || found->second >= m_fields.size()) {
      ADD_FAILURE() << m_where << ": no column " << column;
      static const std::string none;
      return none;
    }
    return m_fields[found->second];
  }

  [[nodiscard]] double number(std::string_view column) const {
    const std::string& field = text(column);
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
      ADD_FAILURE() << m_where << ": " << column << " is not a number: " << field;
    return value;
  }

  // "table.csv:12", for SCOPED_TRACE.
  [[nodiscard]] const std::string& where() const { return m_where; }

 private:
  std::shared_ptr<const std::map<std::string, std::size_t, std::less<>>> m_columns;
  std::vector<std::string> m_fields;
  std::string m_where;
};

namespace detail {

inline std::vector<std::string> splitCsv(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace detail

// The rows of tests/data/<name>.
[[nodiscard]] inline std::vector<Row> table(std::string_view name) {
  const std::string path = std::string(KAVREL_TEST_DATA) + "/" + std::string(name);
  std::ifstream in(path);
  std::vector<Row> rows;
  std::shared_ptr<std::map<std::string, std::size_t, std::less<>>> columns;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> fields = detail::splitCsv(line);
    if (!columns) {
      columns = std::make_shared<std::map<std::string, std::size_t, std::less<>>>();
      for (std::size_t i = 0; i < fields.size(); ++i) (*columns)[fields[i]] = i;
      continue;
    }
    rows.emplace_back(columns, std::move(fields), std::string(name) + ":" + std::to_string(number));
  }
  if (rows.empty()) ADD_FAILURE() << "no rows in " << path;
  return rows;
}

}  // namespace kavrel::reference
