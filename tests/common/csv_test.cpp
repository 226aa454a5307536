// The suite's CSV read back: its dialect from the header, quotes, line ends, a BOM.
#include "common/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavrel::csv {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct Read {
  Rows rows;
  std::vector<int> lines;
  bool unclosed = false;
};

Read readAll(std::string_view text) {
  text = withoutByteOrderMark(text);
  Reader reader(text, formatOfHeader(text).separator);
  Reader::Record record;
  Read read;
  while (reader.next(record)) {
    read.rows.push_back(record.fields);
    read.lines.push_back(record.line);
    read.unclosed = read.unclosed || record.unclosedQuote;
  }
  return read;
}

TEST(Csv, ReadsWhatItsWriterWrites) {
  for (const char* decimal : {",", "."}) {
    const Format format = formatFor(decimal);
    const std::vector<std::string> fields = {"12,5;3.5", "dit \"bon\"", "ligne\nsuivante", "", "plain"};
    std::string text = header({"a", "b", "c", "d", "e"}, format);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) text += format.separator;
      appendField(text, fields[i], format);
    }
    text += '\n';
    const Read read = readAll(text);
    EXPECT_EQ(formatOfHeader(text).decimal, format.decimal);
    ASSERT_EQ(read.rows.size(), 2u) << text;
    EXPECT_EQ(read.rows[1], fields) << text;
  }
}

TEST(Csv, ReadsEachDialectAndLayout) {
  const struct {
    const char* name;
    std::string text;
    char decimal;
    Rows rows;
    std::vector<int> lines;
  } cases[] = {
      {"a ';' file with decimal commas", "date;B_deg\n2014-02-03;12,5\n", ',', {{"date", "B_deg"}, {"2014-02-03", "12,5"}},
       {1, 2}},
      {"a ',' file with points", "date,B_deg\n2014-02-03,12.5\n", '.', {{"date", "B_deg"}, {"2014-02-03", "12.5"}},
       {1, 2}},
      {"a byte order mark and CR LF", "\xEF\xBB\xBF" "a;b\r\n1;2\r\n", ',', {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"a quoted line break counts as a line", "a,b\n\"x\ny\",2\n3,4", '.', {{"a", "b"}, {"x\ny", "2"}, {"3", "4"}},
       {1, 2, 4}},
      {"a quote inside a field is kept", "a,b\nx\"y,2\n", '.', {{"a", "b"}, {"x\"y", "2"}}, {1, 2}},
      {"an empty line is one empty field", "a,b\n\n1,2\n", '.', {{"a", "b"}, {""}, {"1", "2"}}, {1, 2, 3}},
      {"a ';' in a later line does not change the dialect", "a,b\n1;5,2\n", '.', {{"a", "b"}, {"1;5", "2"}}, {1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string_view text = withoutByteOrderMark(c.text);
    EXPECT_EQ(formatOfHeader(text).decimal, c.decimal);
    const Read read = readAll(c.text);
    EXPECT_EQ(read.rows, c.rows);
    EXPECT_EQ(read.lines, c.lines);
    EXPECT_FALSE(read.unclosed);
  }
}

TEST(Csv, SaysWhenAQuoteIsNeverClosed) {
  const Read read = readAll("a,b\n\"open,2\n3,4\n");
  ASSERT_EQ(read.rows.size(), 2u);
  EXPECT_TRUE(read.unclosed);
  EXPECT_EQ(read.rows[1], (std::vector<std::string>{"open,2\n3,4\n"}));
}

}  // namespace
}  // namespace kavrel::csv
