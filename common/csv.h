// The CSV that the suite writes and reads: one dialect for each decimal separator, so that
// a spreadsheet opened in the user's locale reads the numbers as numbers. With the decimal
// comma (French) fields are separated by ";", with the decimal point by ",". A field that
// holds the separator, a quote or a line break is quoted as RFC 4180 says, its quotes
// doubled. Rows end with "\n"; read back, "\r\n" and a lone "\r" end a row too, and a
// file's dialect is its header line's: ";" anywhere in it means the decimal comma.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::csv {

struct Format {
  char separator = ',';
  char decimal = '.';
};

// The dialect of a locale whose decimal separator is `decimalSeparator` ("," or ".").
[[nodiscard]] Format formatFor(std::string_view decimalSeparator) noexcept;

// A field as RFC 4180 writes it, appended to `row`.
void appendField(std::string& row, std::string_view text, Format format);

// A header line: the names, separated, and the line's end.
[[nodiscard]] std::string header(std::initializer_list<std::string_view> names, Format format);

// `text` without the UTF-8 byte order mark a spreadsheet may put first.
[[nodiscard]] std::string_view withoutByteOrderMark(std::string_view text) noexcept;

// The dialect of a file whose first line (up to its first CR or LF) is the header.
[[nodiscard]] Format formatOfHeader(std::string_view text) noexcept;

// The records of a CSV text, RFC 4180 quoting understood (a quote opens a field only at
// its start; a line break inside quotes belongs to the field), each with the line of the
// file it starts on (the first is 1). One pass over the bytes; fields past `mostFields`
// are counted, not kept, and a field is kept to its first kLongestField bytes, so that no
// input holds more than a few copies of a line in memory.
class Reader {
 public:
  static constexpr std::size_t kLongestField = 100000;

  struct Record {
    int line = 0;
    std::vector<std::string> fields;  // at most mostFields
    std::size_t fieldCount = 0;
    bool blank = true;  // nothing but spaces, tabs and separators
    bool tooLong = false;
    bool unclosedQuote = false;
    // An empty line: no byte at all between its ends.
    [[nodiscard]] bool empty() const noexcept { return blank && fieldCount == 1 && fields.front().empty(); }
  };

  Reader(std::string_view text, char separator) noexcept : text_(text), separator_(separator) {}

  void setMostFields(std::size_t mostFields) noexcept { mostFields_ = mostFields; }

  // The next record into `record`; false at the end of the text.
  [[nodiscard]] bool next(Record& record);

 private:
  void keep(Record& record, char c) const;
  // The quoted part of a field, from after its opening quote to after its closing one.
  void readQuoted(Record& record);

  std::string_view text_;
  char separator_;
  std::size_t mostFields_ = 64;
  std::size_t at_ = 0;
  long long line_ = 1;
};

}  // namespace kavrel::csv
