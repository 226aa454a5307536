// The CSV that the suite writes: one dialect for each decimal separator, so that a
// spreadsheet opened in the user's locale reads the numbers as numbers. With the decimal
// comma (French) fields are separated by ";", with the decimal point by ",". A field that
// holds the separator, a quote or a line break is quoted as RFC 4180 says, its quotes
// doubled. Rows end with "\n".
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

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

}  // namespace kavrel::csv
