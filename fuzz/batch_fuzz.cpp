// A log of `kavrel soleil --csv` and `kavrel tache --csv` made of arbitrary bytes, in
// both dialects.
//
// Whatever the lines, the batch writes the header and then exactly one row per line that
// is not skipped, each row with as many fields as the header (RFC 4180: a quoted field
// may hold the separator), and counts as refused exactly the rows that carry a message.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/batch.h"
#include "fuzz_support.h"

using kavrel::fuzz::require;
namespace batch = kavrel::batch;

namespace {

// The fields of a CSV line, quotes understood.
std::size_t fieldsOf(std::string_view line, char separator) {
  std::size_t fields = 1;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;
    else if (c == separator && !quoted) ++fields;
  }
  require(!quoted);
  return fields;
}

void check(batch::Kind kind, std::string_view bytes, std::string_view decimalSeparator) {
  std::istringstream in{std::string(bytes)};
  std::ostringstream out;
  const batch::Summary summary = batch::runBatch(kind, in, out, decimalSeparator);
  require(!summary.writeFailed && summary.refused <= summary.rows);

  const kavrel::csv::Format format = kavrel::csv::formatFor(decimalSeparator);
  const std::string header = kind == batch::Kind::SolarAspect ? batch::sunHeader(format) : batch::spotHeader(format);
  const std::string written = out.str();
  require(written.starts_with(header));
  const std::size_t columns = fieldsOf(std::string_view(header).substr(0, header.size() - 1), format.separator);

  // Rows are whole lines; a quoted field never holds a line break here (messages have none).
  std::size_t rows = 0;
  std::string_view rest = std::string_view(written).substr(header.size());
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    require(end != std::string_view::npos);
    require(fieldsOf(rest.substr(0, end), format.separator) == columns);
    rest.remove_prefix(end + 1);
    ++rows;
  }
  require(rows == summary.rows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string_view separator : {",", "."}) {
    check(batch::Kind::SolarAspect, bytes, separator);
    check(batch::Kind::Spot, bytes, separator);
  }
  return 0;
}
