// The synoptic map of a rotation from photographs: spots drawn at known Carrington places
// on a series of made-up photographs come out there on the map; photographs refused with
// their reason; the FITS file read back with CFITSIO.
#include "disque/synoptic_map.h"

#include <fitsio.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "photo/synthetic_sun.h"
#include "sun/carrington_rotation.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {
namespace {

constexpr int kRotation = 2290;  // 2024 October 17 to November 13
constexpr int kSide = 400;
constexpr photo::test::SunShape kDisc{199.5, 201.0, 185};
constexpr double kNorth = 20;  // celestial north, degrees counter-clockwise from the top
constexpr double kSpotRadius = 2.5;  // degrees on the Sun

struct Spot {
  double latitude = 0;
  double longitude = 0;
};

double rotationStart() { return *carringtonRotationStart(kRotation); }
// The instants of the series: a photograph every other day, none for ten days from the eighth.
std::vector<double> seriesDays() {
  std::vector<double> days;
  for (int d = 0; d < 27; d += 2)
    if (d < 10 || d > 17) days.push_back(rotationStart() + 0.4 + d);
  return days;
}
// The longitude on the central meridian in the middle of the gap: seen 66° from it at best.
double gapLongitude() { return preciseDiscOrientation(rotationStart() + 0.4 + 13)->l0; }

// Degrees between two places on the sphere.
double apart(double lat1, double lon1, double lat2, double lon2) {
  const double r = M_PI / 180;
  const double c = std::sin(lat1 * r) * std::sin(lat2 * r) + std::cos(lat1 * r) * std::cos(lat2 * r) * std::cos((lon1 - lon2) * r);
  return std::acos(std::clamp(c, -1.0, 1.0)) / r;
}

// A photograph of the limb-darkened disc at `julianDay`, oriented kNorth, with dark spots.
PhotoFile photograph(double julianDay, const std::vector<Spot>& spots) {
  const DiscOrientation disc = *preciseDiscOrientation(julianDay);
  const photo::ImageFrame frame{{{kDisc.cx, kDisc.cy}, kDisc.radius}, kNorth, false};
  std::vector<photo::PixelPoint> centres;
  for (const Spot& s : spots) centres.push_back(photo::pixelOfHeliographic(frame, disc, s.latitude, s.longitude).at);
  const auto picture = photo::test::drawSun(kSide, kSide, kDisc, [&](int x, int y) {
    double light = 1;
    for (std::size_t k = 0; k < spots.size(); ++k) {
      const Spot& s = spots[k];
      if (std::hypot(x - centres[k].x, y - centres[k].y) > kSpotRadius * kDisc.radius / 50) continue;
      const HeliographicResult at = photo::heliographicOfPixel(frame, disc, {double(x), double(y)});
      if (at.refusal == DiscRefusal::None && apart(at.at.latitude, at.at.longitude, s.latitude, s.longitude) < kSpotRadius) light = 0.3;
    }
    return light;
  });
  image::GreyImage grey(kSide, kSide);
  std::copy(picture.pixels.begin(), picture.pixels.end(), grey.samples().begin());
  return {std::move(grey), "jour.png", "PNG", std::nullopt, std::nullopt};
}

SynopticPhoto given(PhotoFile file, double julianDay) {
  SynopticPhoto photo{std::move(file), "jour.png", {}, {}, PhotoOrientation{NorthReference::Celestial, kNorth, false},
                      PhotoInstant{julianDay, true, InstantSource::Typed}, 0};
  return photo;
}

// Where the spot near `expected` lies on the map: the centroid of the pixels darker than
// half the quiet disc within 6° of it, weighted by how much darker.
Spot darkCentroid(const SynopticMap& map, Spot expected) {
  double weight = 0, latitude = 0, longitude = 0;
  const int top = static_cast<int>((84 - expected.latitude) / map.step);
  const int left = static_cast<int>((354 - expected.longitude) / map.step);
  const int span = static_cast<int>(12 / map.step);
  for (int j = std::max(0, top); j < std::min(map.height, top + span); ++j)
    for (int k = left; k < left + span; ++k) {
      const int i = (k + map.width) % map.width;
      const double lat = 90 - (j + 0.5) * map.step;
      const double dlon = std::remainder(360 - (i + 0.5) * map.step - expected.longitude, 360.0);
      const float v = map.values[static_cast<std::size_t>(j) * map.width + i];
      if (!(v < 0.5f)) continue;
      weight += 0.5 - v;
      latitude += (0.5 - v) * lat;
      longitude += (0.5 - v) * dlon;
    }
  if (weight == 0) return {NAN, NAN};
  return {latitude / weight, expected.longitude + longitude / weight};
}

TEST(SynopticMap, SpotsComeOutWhereTheyWereDrawn) {
  const struct Row {
    const char* name;
    Spot spot;
  } rows[] = {
      {"near the equator", {4, 120}},
      {"at 40° north", {40, 215}},
      {"at 40° south", {-40, 60}},
      {"across longitude 0", {-8, 359.6}},
      {"seen only far from the central meridian", {12, gapLongitude()}},
  };
  std::vector<Spot> spots;
  for (const Row& row : rows) spots.push_back(row.spot);
  const std::vector<double> days = seriesDays();
  const SynopticOutcome made = makeSynopticMap(
      {kRotation, kDefaultMapStep, days.size()}, [&](std::size_t k) { return given(photograph(days[k], spots), days[k]); });
  ASSERT_TRUE(made.map) << made.refusal;
  for (const Row& row : rows) {
    const Spot found = darkCentroid(*made.map, row.spot);
    EXPECT_NEAR(found.latitude, row.spot.latitude, 0.2) << row.name;
    EXPECT_NEAR(std::remainder(found.longitude - row.spot.longitude, 360.0), 0, 0.2) << row.name;
  }
}

TEST(SynopticMap, RefusedPhotographsAreSaidAndLeftOut) {
  const double day = rotationStart() + 5;
  image::GreyImage flat(kSide, kSide);
  std::fill(flat.samples().begin(), flat.samples().end(), 0.5f);
  SynopticPhoto unread{std::nullopt, "absent.fits", "Le fichier « absent.fits » n'existe pas.", {}, {}, {}, 0};
  SynopticPhoto undated = given(photograph(day, {}), day);
  undated.instant.reset();
  const struct Row {
    const char* name;
    SynopticPhoto photo;
    std::string refusal;
  } rows[] = {
      {"not read", unread, "Le fichier « absent.fits » n'existe pas."},
      {"no disc", given({std::move(flat), "gris.png", "PNG", std::nullopt, std::nullopt}, day), "Aucun bord du Soleil"},
      {"no instant", undated, "l'instant de la prise de vue"},
      {"a rotation later", given(photograph(day + 35, {}), day + 35), "plus de 7 jours hors de la rotation 2290"},
  };
  std::vector<SynopticPhoto> photos;
  for (const Row& row : rows) photos.push_back(row.photo);
  photos.push_back(given(photograph(day, {}), day));
  const SynopticOutcome made = makeSynopticMap({kRotation, 1, photos.size()}, [&](std::size_t k) { return photos[k]; });
  ASSERT_TRUE(made.map) << made.refusal;
  for (std::size_t k = 0; k < std::size(rows); ++k) {
    EXPECT_NE(made.photos[k].refusal.find(rows[k].refusal), std::string::npos) << rows[k].name << ": " << made.photos[k].refusal;
    EXPECT_EQ(made.photos[k].pixels, 0u) << rows[k].name;
  }
  EXPECT_TRUE(made.photos.back().refusal.empty()) << made.photos.back().refusal;
  EXPECT_GT(made.photos.back().pixels, 0u);
}

// A header's keyword read back: its text, or its number printed.
std::string keyword(fitsfile* file, const char* name) {
  char value[FLEN_VALUE] = "";
  int status = 0;
  fits_read_keyword(file, name, value, nullptr, &status);
  return status == 0 ? value : "(absent)";
}

TEST(SynopticMap, FitsCarriesCarringtonWcsAndBlanks) {
  const double day = rotationStart() + 13;
  const SynopticOutcome made = makeSynopticMap(
      {kRotation, 0.5, 1}, [&](std::size_t) { return given(photograph(day, {}), day); });
  ASSERT_TRUE(made.map) << made.refusal;
  const std::string path = testing::TempDir() + "carte.fits";
  ASSERT_EQ(image::writeFitsImage(path, made.map->width, made.map->height, made.map->values,
                                  synopticFitsKeywords(*made.map)),
            "");
  fitsfile* file = nullptr;
  int status = 0;
  ASSERT_EQ(fits_open_file(&file, path.c_str(), READONLY, &status), 0);
  const std::pair<const char*, const char*> expected[] = {
      {"NAXIS1", "720"}, {"NAXIS2", "360"}, {"CTYPE1", "'CRLN-CAR'"}, {"CTYPE2", "'CRLT-CAR'"}, {"CUNIT1", "'deg     '"},
      {"CRPIX1", "360.5"}, {"CRPIX2", "180.5"}, {"CRVAL1", "180."}, {"CDELT1", "-0.5"}, {"CDELT2", "0.5"},
      {"CAR_ROT", "2290"}, {"HGLN_OBS", "0."}, {"RSUN_REF", "695700000."}};
  for (const auto& [name, value] : expected) EXPECT_EQ(keyword(file, name), value) << name;
  EXPECT_EQ(keyword(file, "DATE-OBS").substr(0, 12), "'2024-10-30T") << "longitude 180 on the meridian";
  // FITS pixel (i, j) counts from 1, j from the bottom: the centre column's longitude is CRVAL1.
  std::vector<float> pixels(720 * 360);
  long first[2] = {1, 1};
  ASSERT_EQ(fits_read_pix(file, TFLOAT, first, static_cast<long>(pixels.size()), nullptr, pixels.data(), nullptr, &status), 0);
  fits_close_file(file, &status);
  const double l0 = preciseDiscOrientation(day)->l0;
  const auto at = [&](double longitude, double latitude) {
    const auto i = static_cast<std::size_t>(std::lround(360.5 - (longitude - 180) / 0.5) - 1);
    const auto j = static_cast<std::size_t>(std::lround(180.5 + latitude / 0.5) - 1);
    return pixels[j * 720 + i];
  };
  EXPECT_NEAR(at(l0, 0), 1.0, 0.05) << "the disc's centre, quiet";
  EXPECT_TRUE(std::isnan(at(std::fmod(l0 + 180, 360), 0))) << "the far side";
  EXPECT_TRUE(std::isnan(at(l0, -89.75))) << "beyond the limb";
}

}  // namespace
}  // namespace kavrel::disque
