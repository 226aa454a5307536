// The suite's CSV written and read back (csv.h).
#include "common/csv.h"

#include <algorithm>
#include <climits>

namespace kavrel::csv {

Format formatFor(std::string_view decimalSeparator) noexcept {
  return decimalSeparator == "," ? Format{';', ','} : Format{',', '.'};
}

void appendField(std::string& row, std::string_view text, Format format) {
  if (text.find_first_of(std::string{format.separator, '"', '\n', '\r'}) == std::string_view::npos) {
    row += text;
    return;
  }
  row += '"';
  for (const char c : text) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

std::string header(std::initializer_list<std::string_view> names, Format format) {
  std::string text;
  for (const auto name : names) {
    if (!text.empty()) text += format.separator;
    text += name;
  }
  return text + '\n';
}

std::string_view withoutByteOrderMark(std::string_view text) noexcept {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  return text;
}

Format formatOfHeader(std::string_view text) noexcept {
  const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
  return line.find(';') != std::string_view::npos ? Format{';', ','} : Format{',', '.'};
}

void Reader::keep(Record& record, char c) const {
  if (record.fieldCount > mostFields_) return;
  std::string& field = record.fields.back();
  if (field.size() < kLongestField) field += c;
  else record.tooLong = true;
}

void Reader::readQuoted(Record& record) {
  while (at_ < text_.size()) {
    const char c = text_[at_++];
    if (c == '"') {
      if (at_ >= text_.size() || text_[at_] != '"') return;
      keep(record, '"');
      ++at_;
      continue;
    }
    if (c == '\n' || (c == '\r' && (at_ >= text_.size() || text_[at_] != '\n'))) ++line_;
    keep(record, c);
  }
  record.unclosedQuote = true;
}

bool Reader::next(Record& record) {
  if (at_ >= text_.size()) return false;
  record.line = static_cast<int>(std::min<long long>(line_, INT_MAX));
  record.fields.assign(1, std::string());
  record.fieldCount = 1;
  record.blank = true;
  record.tooLong = false;
  record.unclosedQuote = false;
  bool fieldBlank = true;
  while (at_ < text_.size()) {
    const char c = text_[at_++];
    if (c == '"' && fieldBlank) {
      if (record.fieldCount <= mostFields_) record.fields.back().clear();
      fieldBlank = record.blank = false;
      readQuoted(record);
    } else if (c == separator_) {
      if (++record.fieldCount <= mostFields_) record.fields.emplace_back();
      fieldBlank = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
      ++line_;
      return true;
    } else {
      if (c != ' ' && c != '\t') fieldBlank = record.blank = false;
      keep(record, c);
    }
  }
  return true;
}

}  // namespace kavrel::csv
