// The solar-aspect window's eight results and its printed report, for arbitrary texts
// in its five fields.
//
// Input: "separator|day|month|year|hour|minute".
//
// An empty field empties every caption. Otherwise each caption is the empty result or
// its mask's form within its range: declination and B0 within 90 deg, P within 180 deg,
// L0 in 0..360 deg, the rotation " < 1" or a whole number, the semi-diameter "minutes
// seconds" with seconds below 60 in magnitude, the right ascension from 0 h and below
// 30 h (450 deg, where the theory's obliquity, far from our era, is no longer acute).
// Far from our era the radius vector, and with it the semi-diameter, may also turn
// negative: nothing clamps them. Within 10^7 days of J2000 nothing is empty and the
// right ascension stays within 24 h (it may round to 24 h just before 0 h); within a
// thousand years the Sun is where it stays: a declination within the obliquity, a
// semi-diameter of 15 or 16 minutes, B0 within the 7.25 deg of the solar equator, P
// within the obliquity and those 7.25 deg together.
#include "fuzz_support.h"
#include "calculators/aspect_texts.h"

using namespace kavrel;
using kavrel::fuzz::require;
using kavrel::fuzz::requireResult;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = kavrel::fuzz::splitFields(data, size, 5);
  const auto& t = fields.texts;
  const std::string_view sep = fields.separator;
  const DateTexts date{t[0], t[1], t[2], t[3], t[4]};
  const dalvoren::AspectTexts shown = dalvoren::aspectTexts(date, sep);

  const std::array<std::string, 9> report = dalvoren::reportLines(date, shown);
  require(report[0].starts_with("Date : "));
  require(report[1] == "Jour julien : " + shown.julianDay);
  require(report[8] == "Lo : " + shown.l0 + "°");

  const std::string* captions[] = {&shown.julianDay, &shown.rightAscension, &shown.declination, &shown.rotation,
                                   &shown.semiDiameter, &shown.p, &shown.b0, &shown.l0};
  if (anyEmpty(date)) {
    for (const std::string* caption : captions) require(*caption == kEmptyResult);
    return 0;
  }

  const auto julianDay = requireResult(shown.julianDay, 3, 1, sep);
  const auto rightAscension = requireResult(shown.rightAscension, 4, 1, sep);
  const auto declination = requireResult(shown.declination, 4, 1, sep);
  const auto p = requireResult(shown.p, 2, 1, sep);
  const auto b0 = requireResult(shown.b0, 2, 1, sep);
  const auto l0 = requireResult(shown.l0, 2, 1, sep);

  if (rightAscension) {
    kavrel::fuzz::requireSexagesimalDigits(*rightAscension);
    require(!rightAscension->negative && rightAscension->value < 30);
  }
  if (declination) {
    kavrel::fuzz::requireSexagesimalDigits(*declination);
    require(std::fabs(declination->value) <= 90);
  }
  if (p) require(std::fabs(p->value) <= 180);
  if (b0) require(std::fabs(b0->value) <= 90);
  if (l0) require(!l0->negative && l0->value <= 360);

  std::optional<kavrel::fuzz::Shown> rotation;
  if (shown.rotation != " < 1") {
    rotation = requireResult(shown.rotation, 0, 1, "");
    if (rotation) require(!rotation->negative && rotation->value >= 1);
  }

  std::optional<kavrel::fuzz::Shown> seconds;
  std::optional<kavrel::fuzz::Shown> minutes;
  if (shown.semiDiameter != kEmptyResult) {
    const auto gap = shown.semiDiameter.find("  ");
    require(gap != std::string::npos);
    minutes = requireResult(std::string_view(shown.semiDiameter).substr(0, gap), 0, 1, "");
    seconds = requireResult(std::string_view(shown.semiDiameter).substr(gap + 2), 1, 1, sep);
    require(minutes && seconds);
    require(std::fabs(seconds->value) < 60);
  }

  if (!julianDay || std::fabs(julianDay->value - 2451545) > 1e7) return 0;
  for (const std::string* caption : captions) require(*caption != kEmptyResult);
  require(rightAscension->value <= 24);

  if (std::fabs(julianDay->value - 2451545) > 365250) return 0;
  require(std::fabs(declination->value) <= 24);
  require(minutes->value == 15 || minutes->value == 16);
  require(std::fabs(b0->value) <= 7.3);
  require(std::fabs(p->value) <= 31);
  return 0;
}
