// Mean right ascension and declination carried from one year to another by precession.
#include "calculators/precession.h"

#include <array>
#include <cmath>

#include "common/angles.h"
#include "common/display_mask.h"
#include "common/number_reader.h"
#include "common/sexagesimal.h"
#include "common/strict_number.h"

namespace kavrel::precession {

namespace {

struct Row {
  double above;  // the target year must be greater than this
  double below;  // and less than this
  Coefficients coefficients;
};

// Row 6 repeats m and n' of row 4, not the progression of rows 1 to 5.
constexpr std::array<Row, 6> kRows = {{
    {1699, 1751, {3.069, 1.338, 20.06}},
    {1750, 1851, {3.070, 1.337, 20.06}},
    {1850, 1951, {3.072, 1.336, 20.05}},
    {1950, 2051, {3.074, 1.336, 20.04}},
    {2050, 2151, {3.076, 1.335, 20.03}},
    {2150, 2201, {3.074, 1.335, 20.04}},
}};

bool outOfRange(double year) { return year < 1700 || year > 2200; }

}  // namespace

Coefficients coefficientsFor(double targetYear) noexcept {
  Coefficients chosen;
  for (const Row& row : kRows)
    if (targetYear > row.above && targetYear < row.below) chosen = row.coefficients;
  return chosen;
}

Outcome compute(const Inputs& inputs, std::string_view decimalSeparator) {
  Outcome outcome;
  const auto badData = [&outcome] {
    outcome.messages.push_back(Message::BadData);
    return outcome;
  };

  // The starting position is checked as typed, in its sexagesimal form.
  const double rightAscension = readNumber(inputs.rightAscension);
  const double declination = readNumber(inputs.declination);
  if (rightAscension > 24 || rightAscension < 0 || declination > 90 || declination < -90) return badData();

  const double years = readNumber(inputs.targetYear) - readNumber(inputs.referenceYear);
  const double alpha = 15 * degr(rightAscension);
  const double delta = degr(declination);

  // The target year is converted (and may fail) before the reference year.
  const auto target = parseStrictNumber(inputs.targetYear, decimalSeparator);
  if (!target) return badData();
  const Coefficients c = coefficientsFor(*target);
  if (outOfRange(*target)) outcome.messages.push_back(Message::YearOutOfRange);
  const auto reference = parseStrictNumber(inputs.referenceYear, decimalSeparator);
  if (!reference) return badData();
  if (outOfRange(*reference)) outcome.messages.push_back(Message::YearOutOfRange);

  const double shiftAlpha = (c.m + c.n * std::sin(toRadians(alpha)) * std::tan(toRadians(delta))) * years;
  const double shiftDelta = c.nPrime * std::cos(toRadians(alpha)) * years;
  const double alphaHours = alpha / 15 + shiftAlpha / 3600;
  const double deltaDegrees = (3600 * delta + shiftDelta) / 3600;

  // A computation that left the double range (a year difference beyond it, say) ends
  // without a message and writes nothing.
  if (!std::isfinite(alphaHours) || !std::isfinite(deltaDegrees)) return outcome;
  outcome.rightAscension = formatMask(dms(alphaHours), mask::kPrecession, decimalSeparator);
  outcome.declination = formatMask(dms(deltaDegrees), mask::kPrecession, decimalSeparator);
  return outcome;
}

std::string_view messageText(Message message) noexcept {
  return message == Message::BadData ? kDataMessage : kYearMessage;
}

}  // namespace kavrel::precession
