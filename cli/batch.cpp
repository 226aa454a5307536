// Batches of instants: lines of a log read, checked and written as CSV rows.
#include "cli/batch.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <vector>

#include "common/calendar_date.h"
#include "common/csv.h"
#include "common/date_text.h"
#include "common/field_check.h"
#include "common/fixed_decimals.h"
#include "common/spot_columns.h"
#include "common/strict_number.h"
#include "common/text.h"
#include "sun/ephemeris.h"
#include "sun/heliographic.h"
#include "sun/precise_aspect.h"

namespace kavrel::batch {
namespace {

// The most words a line may hold: a spot's ISO date and time apart, its angle and distance
// make 4, its five fields with them 7; one more tells a line that has too many.
constexpr std::size_t kMaxWords = 8;
// Years are written whole in the rows; 15 digits stay exact in a double.
constexpr std::size_t kMaxYearDigits = 15;
// The input is read, and the rows written, in blocks of about this size.
constexpr std::size_t kReadBlock = 64 * 1024;
constexpr std::size_t kWriteBlock = 64 * 1024;

struct Words {
  std::array<std::string_view, kMaxWords> at{};
  std::size_t count = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

Words splitWords(std::string_view line) {
  Words words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (words.count == kMaxWords) {
      ++words.count;  // too many: the caller refuses the line
      break;
    }
    words.at[words.count++] = line.substr(start, i - start);
  }
  return words;
}

long long digitsValue(std::string_view digits) {
  long long value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

// A year as a row writes it: an optional "-" and 1 to 15 digits.
std::optional<long long> yearOf(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative || (!text.empty() && text.front() == '+')) text.remove_prefix(1);
  if (!allDigits(text) || text.size() > kMaxYearDigits) return std::nullopt;
  const long long value = digitsValue(text);
  return negative ? -value : value;
}

// Before 15 October 1582 the Julian-day computation reads dates in the Julian calendar.
bool existsInCalendar(long long year, int month, int day) {
  const bool gregorian = year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
  return day <= daysInMonth(year, month, gregorian);
}

void appendPadded(std::string& text, long long value, int width) {
  std::array<char, 24> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  const auto length = end - digits.data();
  if (length < width) text.append(static_cast<std::size_t>(width - length), '0');
  text.append(digits.data(), static_cast<std::size_t>(length));
}

struct ParsedInstant {
  std::optional<Instant> instant;
  std::string_view refusal;
};

ParsedInstant refused(std::string_view message) { return {std::nullopt, message}; }

// `second` negative: the line gave none.
ParsedInstant checkedInstant(long long year, int month, int day, int hour, double minute, int second) {
  if (!existsInCalendar(year, month, day)) return refused(kNoSuchDayMessage);
  Instant instant;
  instant.date = isoDate(year, month, day);
  instant.time = second >= 0 ? hourMinuteSecond(hour, static_cast<int>(minute), second) : hourMinute(hour, static_cast<int>(minute));
  instant.when = DateTime{static_cast<double>(day), static_cast<double>(month), static_cast<double>(year),
                          static_cast<double>(hour), minute + (second > 0 ? second / 60.0 : 0.0)};
  return {std::move(instant), {}};
}

// "6 12 2001 9 5": checked field after field as the solar-aspect window checks them, so that
// the numbers are those of `kavrel soleil`.
ParsedInstant fromFields(const Words& words) {
  using enum DateField;
  static constexpr std::array<DateField, 5> kOrder{Day, Month, Year, Hour, Minute};
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    const Refusal refusal = checkField(kOrder[i], CheckForm::ExactText, words.at[i]);
    if (refusal != Refusal::None) return refused(refusalMessage(refusal));
  }
  // The window lets a year end in a digit whatever precedes it, as typing goes; a log's
  // year is a whole number.
  const auto year = yearOf(words.at[2]);
  if (!year || words.at[2].front() == '+') return refused(kNumberMessage);
  // The checks leave day, month, hour and minute one or two digits ("5", "05"), which the
  // window's number reader would read as these same integers.
  const auto number = [&words](std::size_t i) { return static_cast<int>(digitsValue(words.at[i])); };
  return checkedInstant(*year, number(1), number(0), number(3), number(4), -1);
}

// Two digits exactly ("06"), or -1.
int twoDigits(std::string_view text) {
  if (text.size() != 2 || !allDigits(text)) return -1;
  return static_cast<int>(digitsValue(text));
}

// "2001-12-06" and "09:05" or "09:05:30".
ParsedInstant fromIso(std::string_view date, std::string_view time, std::string_view shapeMessage) {
  const auto monthDash = date.find('-', 1);  // after a sign
  if (monthDash == std::string_view::npos || date.size() != monthDash + 6 || date[monthDash + 3] != '-') {
    return refused(shapeMessage);
  }
  const std::string_view yearText = date.substr(0, monthDash);
  const std::string_view yearDigits = yearText.substr(yearText.front() == '-' || yearText.front() == '+' ? 1 : 0);
  if (allDigits(yearDigits) && yearDigits.size() > kMaxYearDigits) return refused(kNumberMessage);
  const auto year = yearOf(yearText);
  const bool withSeconds = time.size() == 8 && time[5] == ':';
  if (!year || yearDigits.size() < 4 || !(time.size() == 5 || withSeconds) || time[2] != ':') {
    return refused(shapeMessage);
  }
  const int month = twoDigits(date.substr(monthDash + 1, 2));
  const int day = twoDigits(date.substr(monthDash + 4, 2));
  const int hour = twoDigits(time.substr(0, 2));
  const int minute = twoDigits(time.substr(3, 2));
  const int second = withSeconds ? twoDigits(time.substr(6, 2)) : 0;
  if (month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) return refused(shapeMessage);
  if (day < 1 || day > 31) return refused(kDayMessage);
  if (month < 1 || month > 12) return refused(kMonthMessage);
  if (hour > 23) return refused(kHourMessage);
  if (minute > 59) return refused(kMinuteMessage);
  if (second > 59) return refused(kSecondMessage);
  return checkedInstant(*year, month, day, hour, minute, withSeconds ? second : -1);
}

// The instant at the head of a line whose `extra` last words are something else.
ParsedInstant instantOf(const Words& words, std::size_t extra, std::string_view shapeMessage) {
  if (words.count == 5 + extra) return fromFields(words);
  if (words.count == 1 + extra) {
    const auto t = words.at[0].find('T');
    if (t == std::string_view::npos) return refused(shapeMessage);
    return fromIso(words.at[0].substr(0, t), words.at[0].substr(t + 1), shapeMessage);
  }
  if (words.count == 2 + extra) return fromIso(words.at[0], words.at[1], shapeMessage);
  return refused(shapeMessage);
}

// A number typed in a file: with the locale's separator, or with a point.
std::optional<double> readDecimal(std::string_view text, std::string_view decimalSeparator) {
  if (auto value = parseStrictNumber(text, decimalSeparator)) return value;
  if (decimalSeparator != ".") return parseStrictNumber(text, ".");
  return std::nullopt;
}

void appendNumber(std::string& row, double value, int decimals, CsvFormat format) {
  appendFixed(row, value, decimals, format.decimal);
}

// Half a unit of the last decimal written, 0.5 * 10^-decimals, computed once.
double halfLastDigit(int decimals) {
  static const auto kHalves = [] {
    std::array<double, 10> halves{};
    for (std::size_t i = 0; i < halves.size(); ++i) halves[i] = 0.5 * std::pow(10.0, -static_cast<double>(i));
    return halves;
  }();
  return kHalves[static_cast<std::size_t>(decimals)];
}

// An angle of 0..360 whose rounding reaches 360 is written 0.
void appendLongitude(std::string& row, double degrees, int decimals, CsvFormat format) {
  appendNumber(row, degrees >= 360 - halfLastDigit(decimals) ? 0.0 : degrees, decimals, format);
}

// The rotation number with its fraction, (360 - L0) / 360 of the rotation gone; the fraction
// is cut, not rounded, so that "1957.9999" never becomes the next rotation.
void appendRotation(std::string& row, double rotation, double l0, CsvFormat format) {
  const double gone = (360 - l0) / 360;
  if (rotation < 0) {
    appendNumber(row, rotation + gone, 4, format);
    return;
  }
  appendNumber(row, rotation, 0, format);
  row += format.decimal;
  const double tenThousandths = std::floor(gone * 10000);
  appendPadded(row, tenThousandths < 0 ? 0 : tenThousandths > 9999 ? 9999 : static_cast<long long>(tenThousandths),
               4);
}

void appendEmpty(std::string& row, int count, CsvFormat format) {
  row.append(static_cast<std::size_t>(count), format.separator);
}

void appendRefusal(std::string& row, std::string_view message, CsvFormat format) {
  csv::appendField(row, message, format);
  row += '\n';
}

// The instant's date and time, each followed by the separator.
void appendInstant(std::string& row, const Instant& instant, CsvFormat format) {
  row += instant.date;
  row += format.separator;
  row += instant.time;
  row += format.separator;
}

// Lines of a stream read a block at a time (a read per line costs more than the line's
// computation): as much as the stream has at hand, up to a block, so that a log typed or
// piped line by line is read as its lines come. A line comes without its break, cut to
// kMaxLineLength + 1 characters, which is enough to tell that it is too long; the rest of a
// longer line is read and dropped, so that memory stays one block whatever the input.
class LineReader {
 public:
  // `beforeWaiting` is called when the stream has nothing at hand, before waiting for it;
  // false from it stops the reading.
  LineReader(std::istream& in, std::function<bool()> beforeWaiting)
      : m_in(in), m_block(kReadBlock), m_beforeWaiting(std::move(beforeWaiting)) {}

  // False at the end of the input, or when it cannot be read (failed()).
  bool next(std::string_view& line) {
    constexpr std::size_t kKept = kMaxLineLength + 1;
    bool dropping = false;  // the head of a long line is in m_head, its rest is being dropped
    for (;;) {
      const char* from = m_block.data() + m_begin;
      const std::size_t available = m_end - m_begin;
      const auto* lineBreak = static_cast<const char*>(std::memchr(from, '\n', available));
      const std::size_t length = lineBreak != nullptr ? static_cast<std::size_t>(lineBreak - from) : available;
      if (!dropping && length > kKept) {
        m_head.assign(from, kKept);
        dropping = true;
      }
      if (lineBreak != nullptr) {
        line = dropping ? std::string_view(m_head) : std::string_view(from, length);
        m_begin += length + 1;
        return true;
      }
      if (dropping) m_begin = m_end;
      if (!refill()) {
        if (m_failed || m_stopped) return false;
        if (dropping) {
          line = m_head;
          return true;
        }
        if (available == 0) return false;
        line = std::string_view(m_block.data() + m_begin, available);  // the last line, without a break
        m_begin = m_end;
        return true;
      }
    }
  }

  [[nodiscard]] bool failed() const { return m_failed; }

 private:
  // Moves the unread part to the front of the block and reads after it; false when nothing
  // more came.
  bool refill() {
    if (m_failed || m_in.eof()) return false;
    const std::size_t kept = m_end - m_begin;
    std::memmove(m_block.data(), m_block.data() + m_begin, kept);
    m_begin = 0;
    m_end = kept;
    char* const free = m_block.data() + m_end;
    const auto room = static_cast<std::streamsize>(m_block.size() - m_end);
    std::streamsize got = m_in.readsome(free, room);
    if (got == 0 && m_in.good()) {
      // Nothing at hand: wait for one character, then take what came with it.
      if (!m_beforeWaiting()) {
        m_stopped = true;
        return false;
      }
      if (m_in.get(*free)) got = 1 + m_in.readsome(free + 1, room - 1);
    }
    if (m_in.bad()) {
      m_failed = true;
      return false;
    }
    m_end += static_cast<std::size_t>(got);
    return got > 0;
  }

  std::istream& m_in;
  std::vector<char> m_block;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  std::function<bool()> m_beforeWaiting;
  std::string m_head;
  bool m_failed = false;
  bool m_stopped = false;
};

}  // namespace

bool isSkipped(std::string_view line) noexcept {
  for (const char c : line) {
    if (!isBlank(c)) return c == '#';
  }
  return true;
}

SunLine parseSunLine(std::string_view line) {
  if (line.size() > kMaxLineLength) return {std::nullopt, kLongLineMessage};
  auto [instant, refusal] = instantOf(splitWords(line), 0, kSunLineMessage);
  return {std::move(instant), refusal};
}

SpotLine parseSpotLine(std::string_view line, std::string_view decimalSeparator) {
  if (line.size() > kMaxLineLength) return {std::nullopt, 0, 0, kLongLineMessage};
  const Words words = splitWords(line);
  auto [instant, refusal] = instantOf(words, 2, kSpotLineMessage);
  if (!instant) return {std::nullopt, 0, 0, refusal};
  const auto angle = readDecimal(words.at[words.count - 2], decimalSeparator);
  if (!angle) return {std::nullopt, 0, 0, kAngleMessage};
  const auto distance = readDecimal(words.at[words.count - 1], decimalSeparator);
  if (!distance) return {std::nullopt, 0, 0, kDistanceMessage};
  return {std::move(instant), *angle, *distance, {}};
}

std::string sunHeader(CsvFormat format) {
  return csv::header({"date", "heure_tu", "jour_julien", "ascension_droite_h", "declinaison_deg", "rotation",
                 "demi_diametre_arcmin", "P_deg", "B0_deg", "L0_deg", "erreur"},
                format);
}

std::string spotHeader(CsvFormat format) {
  namespace columns = spot_columns;
  return csv::header({columns::kDate, columns::kTime, columns::kAngle, columns::kDistance, columns::kLatitude,
                      columns::kLongitude, columns::kCentralMeridianDistance, "erreur"},
                     format);
}

bool appendSunRow(std::string& row, const SunLine& line, CsvFormat format) {
  constexpr int kValues = 10;
  if (!line.instant) {
    appendEmpty(row, kValues, format);
    appendRefusal(row, line.refusal, format);
    return false;
  }
  // The computation of the solar-aspect window and of `kavrel soleil`.
  const double jd = julianDay(line.instant->when, CenturyCut::TowardZero);
  const SolarAspect sun = solarAspect(jd);
  if (!std::isfinite(jd) || !std::isfinite(sun.rightAscension) || !std::isfinite(sun.declination) ||
      !std::isfinite(sun.rotation) || !std::isfinite(sun.semiDiameter) || !std::isfinite(sun.p) ||
      !std::isfinite(sun.b0) || !std::isfinite(sun.l0)) {
    appendEmpty(row, kValues, format);
    appendRefusal(row, kImpossibleMessage, format);
    return false;
  }
  const char sep = format.separator;
  appendInstant(row, *line.instant, format);
  appendNumber(row, jd, 5, format);
  row += sep;
  appendNumber(row, sun.rightAscension, 6, format);
  row += sep;
  appendNumber(row, sun.declination, 4, format);
  row += sep;
  appendRotation(row, sun.rotation, sun.l0, format);
  row += sep;
  appendNumber(row, sun.semiDiameter, 4, format);
  row += sep;
  appendNumber(row, sun.p, 4, format);
  row += sep;
  appendNumber(row, sun.b0, 4, format);
  row += sep;
  appendLongitude(row, sun.l0, 4, format);
  row += sep;
  row += '\n';
  return true;
}

bool appendSpotRow(std::string& row, const SpotLine& line, bool fromSolarNorth, CsvFormat format) {
  if (!line.instant) {
    appendEmpty(row, 7, format);
    appendRefusal(row, line.refusal, format);
    return false;
  }
  const char sep = format.separator;
  appendInstant(row, *line.instant, format);
  appendNumber(row, line.angle, 3, format);
  row += sep;
  appendNumber(row, line.distance, 3, format);
  row += sep;

  // As `kavrel tache` finds them: the instant's orientation, then the point.
  const double jd = julianDay(line.instant->when, CenturyCut::TowardZero);
  const std::optional<DiscOrientation> precise = preciseDiscOrientation(jd);
  const DiscOrientation disc = precise.value_or(DiscOrientation{});
  if (!precise) {
    appendEmpty(row, 3, format);
    appendRefusal(row, kImpossibleMessage, format);
    return false;
  }
  const double theta = fromSolarNorth ? celestialPositionAngle(disc, line.angle) : line.angle;
  const HeliographicResult result = heliographicOf(disc, DiscPoint{theta, line.distance});
  if (result.refusal != DiscRefusal::None) {
    appendEmpty(row, 3, format);
    appendRefusal(row, refusalMessage(result.refusal), format);
    return false;
  }
  appendNumber(row, result.at.latitude, 3, format);
  row += sep;
  appendLongitude(row, result.at.longitude, 3, format);
  row += sep;
  appendNumber(row, result.at.fromCentralMeridian, 3, format);
  row += sep;
  row += '\n';
  return true;
}

Summary runBatch(Kind kind, std::istream& in, std::ostream& out, std::string_view decimalSeparator,
                 bool fromSolarNorth) {
  const CsvFormat format = csv::formatFor(decimalSeparator);
  Summary summary;
  std::string rows = kind == Kind::SolarAspect ? sunHeader(format) : spotHeader(format);
  std::size_t pendingRows = 0;  // in `rows`, not yet written
  // Rows go out in blocks: a write per row costs more than the row's computation.
  const auto write = [&] {
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
    rows.clear();
    if (!out) return false;
    summary.rows += pendingRows;
    pendingRows = 0;
    return true;
  };
  if (!write()) {
    summary.writeFailed = true;
    return summary;
  }

  // What is computed is written before the input is waited for.
  LineReader reader(in, [&] {
    if (write() && out.flush()) return true;
    summary.writeFailed = true;
    return false;
  });
  std::string_view line;
  for (bool first = true; reader.next(line); first = false) {
    if (first) line = csv::withoutByteOrderMark(line);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (isSkipped(line)) continue;

    if (kind == Kind::SolarAspect) {
      summary.refused += appendSunRow(rows, parseSunLine(line), format) ? 0 : 1;
    } else {
      summary.refused += appendSpotRow(rows, parseSpotLine(line, decimalSeparator), fromSolarNorth, format) ? 0 : 1;
    }
    ++pendingRows;
    if (rows.size() >= kWriteBlock && !write()) {
      summary.writeFailed = true;
      return summary;
    }
  }
  if (summary.writeFailed) return summary;
  summary.readFailed = reader.failed();
  if (!write()) summary.writeFailed = true;
  return summary;
}

}  // namespace kavrel::batch
