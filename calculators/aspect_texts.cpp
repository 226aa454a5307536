// The solar-aspect window's texts: the eight result captions for the five fields (date
// and time of Universal Time), and the lines of its printed report.
//
// The Julian day is computed with the century cut toward zero, as the solar windows do;
// angles and times are cut (dms, arr1, arr2) before their masks, so what shows is
// truncated. A result that is not finite (years far beyond the theory) shows the
// empty-result text.
#include "calculators/aspect_texts.h"

#include <cmath>

#include "common/display_mask.h"
#include "common/sexagesimal.h"
#include "sun/ephemeris.h"

namespace kavrel::dalvoren {

namespace {

// Whole minutes of arc, two spaces, the seconds cut to tenths: "16  17,4".
std::string semiDiameterText(double minutesOfArc, std::string_view sep) {
  if (!std::isfinite(minutesOfArc)) return std::string(kEmptyResult);
  const double minutes = std::trunc(minutesOfArc);
  const double seconds = arr1(60 * (minutesOfArc - std::trunc(minutesOfArc)));
  return formatInteger(minutes) + "  " + formatMask(seconds, mask::kArcSeconds, sep);
}

}  // namespace

AspectTexts aspectTexts(const DateTexts& fields, std::string_view sep) {
  if (anyEmpty(fields)) {
    const std::string empty(kEmptyResult);
    return AspectTexts{empty, empty, empty, empty, empty, empty, empty, empty};
  }

  const double jd = julianDay(readDateTime(fields), CenturyCut::TowardZero);
  const SolarAspect sun = solarAspect(jd);

  AspectTexts texts;
  texts.julianDay = formatMask(jd, mask::kJulianDay, sep);
  texts.rightAscension = formatMask(dms(sun.rightAscension), mask::kSexagesimal, sep);
  texts.declination = formatMask(dms(sun.declination), mask::kSexagesimal, sep);
  texts.rotation = rotationText(sun.rotation);
  texts.semiDiameter = semiDiameterText(sun.semiDiameter, sep);
  texts.p = formatMask(arr2(sun.p), mask::kAngle, sep);
  texts.b0 = formatMask(arr2(sun.b0), mask::kAngle, sep);
  texts.l0 = formatMask(arr2(sun.l0), mask::kAngle, sep);
  return texts;
}

std::array<std::string, 9> reportLines(const DateTexts& fields, const AspectTexts& labels) {
  const std::string fieldsLine = "Date : " + std::string(fields.day) + "." + std::string(fields.month) +
                                 "." + std::string(fields.year) + " à " + std::string(fields.hour) +
                                 "h " + std::string(fields.minute) + "min";
  return {
      fieldsLine,
      "Jour julien : " + labels.julianDay,
      "Ascension droite : " + labels.rightAscension + "( hh.mmss)",
      "Déclinaison : " + labels.declination + "( °. ' \" )",
      "Rotation synodique : " + labels.rotation,
      "Demi diamètre apparent : " + labels.semiDiameter + "( '  \" )",
      "P : " + labels.p + "°",
      "Bo : " + labels.b0 + "°",
      "Lo : " + labels.l0 + "°",
  };
}

}  // namespace kavrel::dalvoren
