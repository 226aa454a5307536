// An observatory's header turned into the limb, orientation and disc it describes, with the
// keywords that are missing; and its limb checked against the one found on the image.
#include "photo/header_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "sun/precise_aspect.h"
#include "synthetic_sun.h"

namespace kavrel::photo {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 100;
const image::ObservationDate kNoon{2010, 10, 15, true, 23, 0, 11.0};

// Helioprojective axes, 2" pixels, the Sun's centre at FITS pixel (60.5, 40.25), RSUN_OBS 80".
image::FileGeometry northUp() {
  image::FileGeometry k;
  k.ctype1 = "HPLN-TAN";
  k.ctype2 = "HPLT-TAN";
  k.crpix1 = 60.5;
  k.crpix2 = 40.25;
  k.crval1 = 0;
  k.crval2 = 0;
  k.cdelt1 = 2;
  k.cdelt2 = 2;
  k.rsunObs = 80;
  return k;
}

// A file's instant as the header's geometry and Disque's photograph both take it: UTC with
// its seconds, a leap second counted into the next day, the Julian calendar before 1582.
TEST(HeaderGeometry, FileInstantAsAJulianDay) {
  const struct {
    const char* name;
    image::ObservationDate observed;
    std::optional<double> julianDay;
  } cases[] = {
      {"J2000.0", {2000, 1, 1, true, 12, 0, 0.0}, 2451545.0},
      {"seconds kept", {2000, 1, 1, true, 12, 0, 43.2}, 2451545.0005},
      {"a leap second", {2016, 12, 31, true, 23, 59, 60.5}, 2457754.5 + 0.5 / 86400},
      {"29 February of year 0, where the century's cut would see year -1", {0, 2, 29, true, 0, 0, 0.0}, 1721116.5},
      {"no time of day", {2001, 12, 6, false, 0, 0, 0.0}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<double> jd = julianDayOfObservation(c.observed);
    ASSERT_EQ(jd.has_value(), c.julianDay.has_value());
    if (jd) {
      EXPECT_NEAR(*jd, *c.julianDay, 1e-9);
    }
  }
}

TEST(HeaderGeometry, LimbOrientationAndMissingKeywords) {
  struct Row {
    const char* what;
    image::FileGeometry keywords;
    std::optional<Circle> limb;
    std::optional<ImageOrientation> orientation;
    std::string missing;  // the names, each followed by a space
  };
  const Circle centred{{59.5, 59.75}, 40};
  const auto with = [](auto change) {
    image::FileGeometry k = northUp();
    change(k);
    return k;
  };
  const ImageOrientation up{NorthGiven::Solar, 0, false};
  const Row rows[] = {
      {"north up, FITS pixels from 1 and from the bottom", northUp(), centred, up, ""},
      {"CROTA2 30: north turned clockwise", with([](auto& k) { k.crota2 = 30; }), centred,
       ImageOrientation{NorthGiven::Solar, 330, false}, ""},
      {"north down, the reference pixel off the Sun's centre",
       with([](auto& k) { k.crota2 = 180, k.crval1 = 10, k.crval2 = 4; }), Circle{{64.5, 57.75}, 40},
       ImageOrientation{NorthGiven::Solar, 180, false}, ""},
      {"PC matrix turned 90 deg, CUNIT in degrees",
       with([](auto& k) { k.cunit1 = k.cunit2 = "deg", k.cdelt1 = k.cdelt2 = 2.0 / 3600, k.pc = {{0, -1, 1, 0}}; }),
       centred, ImageOrientation{NorthGiven::Solar, 270, false}, ""},
      {"CD matrix, x toward the east: mirrored", with([](auto& k) { k.cd = {{-2, 0, 0, 2}}; }), centred,
       ImageOrientation{NorthGiven::Solar, 0, true}, ""},
      {"SOLAR_X axes, the radius from RSUN_REF and DSUN_OBS",
       with([](auto& k) {
         k.ctype1 = "SOLAR_X", k.ctype2 = "SOLAR_Y", k.rsunObs.reset();
         k.rsunRef = 696e6, k.dsunObs = 696e6 / std::sin(80.0 / 206264.806);
       }),
       centred, up, ""},
      {"no radius, no CRPIX2", with([](auto& k) { k.rsunObs.reset(), k.crpix2.reset(); }), std::nullopt, up,
       "CRPIX2 RSUN_OBS "},
      {"a length for a unit", with([](auto& k) { k.cunit1 = "m"; }), std::nullopt, std::nullopt, "CUNIT1 "},
      {"equatorial axes: celestial north, no limb",
       with([](auto& k) { k.ctype1 = "RA---TAN", k.ctype2 = "DEC--TAN", k.cdelt1 = -2; }), std::nullopt,
       ImageOrientation{NorthGiven::Celestial, 0, false}, ""},
      {"a header without world coordinates", image::FileGeometry{}, std::nullopt, std::nullopt,
       "CRPIX1 CRPIX2 CDELT1 CDELT2 RSUN_OBS "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const HeaderGeometry header = headerGeometry(row.keywords, kNoon, kWidth, kHeight);
    ASSERT_EQ(header.limb.has_value(), row.limb.has_value());
    if (row.limb) {
      EXPECT_NEAR(header.limb->centre.x, row.limb->centre.x, 1e-9);
      EXPECT_NEAR(header.limb->centre.y, row.limb->centre.y, 1e-9);
      EXPECT_NEAR(header.limb->radius, row.limb->radius, 1e-6);
    }
    ASSERT_EQ(header.orientation.has_value(), row.orientation.has_value());
    if (row.orientation) {
      EXPECT_EQ(header.orientation->given, row.orientation->given);
      EXPECT_NEAR(std::remainder(header.orientation->angle - row.orientation->angle, 360), 0, 1e-9);
      EXPECT_EQ(header.orientation->mirrored, row.orientation->mirrored);
    }
    std::string missing;
    for (const std::string_view name : header.missing) missing += std::string(name) + ' ';
    EXPECT_EQ(missing, row.missing);
  }
}

// B0 and L0 are the observer's where the header gives them, else the Earth's.
TEST(HeaderGeometry, DiscOfTheObserver) {
  const PreciseAspect earth = *preciseAspect(2455485.0 + (23 + 11.0 / 3600) / 24 - 0.5);
  struct Row {
    const char* what;
    image::FileGeometry keywords;
    std::optional<image::ObservationDate> observed;
    bool disc;
    bool observer;
    double b0, l0;
  };
  image::FileGeometry carrington = northUp();
  carrington.crltObs = 5.846, carrington.crlnObs = 190.835;
  image::FileGeometry stonyhurst = northUp();
  stonyhurst.hgltObs = 5.846, stonyhurst.hglnObs = -0.75;
  image::ObservationDate dateOnly = kNoon;
  dateOnly.hasTime = false;
  const Row rows[] = {
      {"Carrington position", carrington, kNoon, true, true, 5.846, 190.835},
      {"Stonyhurst position: from the Earth's meridian", stonyhurst, kNoon, true, true, 5.846, earth.disc.l0 - 0.75},
      {"no observer: the Earth", northUp(), kNoon, true, false, earth.disc.b0, earth.disc.l0},
      {"a date without its time", carrington, dateOnly, false, false, 0, 0},
      {"no date", carrington, std::nullopt, false, false, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const HeaderGeometry header = headerGeometry(row.keywords, row.observed, kWidth, kHeight);
    ASSERT_EQ(header.disc.has_value(), row.disc);
    EXPECT_EQ(header.observerGiven, row.observer);
    if (!row.disc) {
      EXPECT_EQ(header.missing.back(), "DATE-OBS");
      continue;
    }
    EXPECT_NEAR(header.disc->b0, row.b0, 1e-9);
    EXPECT_NEAR(std::remainder(header.disc->l0 - row.l0, 360), 0, 1e-9);
    EXPECT_NEAR(header.disc->p, earth.disc.p, 1e-9);
    EXPECT_NEAR(header.disc->semiDiameter, 80.0 / 3600, 1e-12);
  }
}

// The header's limb against the one found on a drawn Sun, centre (59.5, 59.75), radius 40.
TEST(HeaderGeometry, AgreesWithTheFoundLimbOrSaysWhichKeywords) {
  test::Picture picture = test::drawSun(kWidth, kHeight, {59.5, 59.75, 40});
  test::addNoise(picture, 0.01, 7);
  const LimbOutcome found = findLimb(picture.view());
  ASSERT_TRUE(found.limb.has_value()) << found.reason;
  struct Row {
    const char* what;
    double shiftX, scale;  // of the header: CRPIX1 moved, CDELT multiplied
    bool consistent;
    const char* reason;  // its beginning: the found limb's radius is 0.1 px short
  };
  const Row rows[] = {
      {"the same image", 0, 1, true, ""},
      {"within 3 px", 2.5, 1, true, ""},
      {"cropped by 5 px", 5, 1, false,
       "Le centre du disque donné par l'en-tête (CRPIX1, CRPIX2, CRVAL1, CRVAL2) est à 5,0 px "},
      {"binned 2 x 2 in the header only", 0, 2, false,
       "Le rayon donné par l'en-tête (RSUN_OBS, CDELT1, CDELT2) diffère de "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    image::FileGeometry k = northUp();
    k.crpix1 = *k.crpix1 + row.shiftX;
    k.cdelt1 = *k.cdelt1 * row.scale;
    k.cdelt2 = *k.cdelt2 * row.scale;
    const auto agreement = compareLimbs(headerGeometry(k, kNoon, kWidth, kHeight), found.limb->circle, ",");
    ASSERT_TRUE(agreement.has_value());
    EXPECT_EQ(agreement->consistent, row.consistent);
    EXPECT_TRUE(agreement->reason.starts_with(row.reason)) << agreement->reason;
  }
  EXPECT_FALSE(compareLimbs(HeaderGeometry{}, found.limb->circle, ",").has_value());
}

}  // namespace
}  // namespace kavrel::photo
