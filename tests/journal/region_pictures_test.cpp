// The regions' pictures painted into images and read back pixel by pixel: the map puts a
// region where its longitude and latitude are (360° on the left), only on the rotation it
// passed the central meridian in; the rotation picture draws the fitted law A + B sin²φ.
#include "pictures/region_pictures.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <numbers>

#include "common/calendar_date.h"
#include "sun/carrington_rotation.h"

namespace kavrel::journal {
namespace {

constexpr int kRotation = 2100;

// Whether a pixel within one of `at` is darker than `level` in every channel, or (with
// `fit`) of the fitted law's blue.
bool inkNear(const QImage& image, QPointF at, bool fit = false) {
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      const QColor c = image.pixelColor(static_cast<int>(std::lround(at.x())) + dx,
                                        static_cast<int>(std::lround(at.y())) + dy);
      if (fit ? c.blue() > 120 && c.red() < 90 : c.red() < 90 && c.green() < 90 && c.blue() < 90) return true;
    }
  return false;
}

// One region of the observer's, seen once `daysFromPassage` after its longitude passed
// the central meridian during kRotation.
RegionSet oneRegion(double longitude, double latitude, double daysFromPassage) {
  const double seen = *centralMeridianPassage(kRotation, longitude) + daysFromPassage;
  const CalendarDate date = calendarDate(seen);
  RegionSet set;
  Sighting sighting;
  sighting.date = {static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)};
  sighting.dayFraction = date.fraction;
  sighting.latitude = latitude;
  sighting.longitude = longitude;
  sighting.areaMsh = 300;
  set.sightings.push_back(sighting);
  Region region;
  region.id = 1;
  region.sightings = {0};
  region.first = region.last = sighting.date;
  region.days = 1;
  region.latitude = latitude;
  region.longitude = longitude;
  region.maxAreaMsh = 300;
  set.regions.push_back(region);
  return set;
}

TEST(RegionPictures, MapPlacesARegionAtItsLongitudeAndLatitudeOnItsRotation) {
  const struct {
    double longitude, latitude, daysFromPassage;
    bool shown;
  } rows[] = {
      {90, 20, 0, true},     // east of 180: right of the middle
      {300, -35, 3, true},   // south, left of the middle
      {45, 12, -5, true},    // seen before its passage, near the east limb
      {200, 25, 10, false},  // seen 10 days after its passage: behind the limb by then
  };
  for (const auto& row : rows) {
    const auto map = rotationMap(kRotation, oneRegion(row.longitude, row.latitude, row.daysFromPassage), {}, "SRS");
    ASSERT_TRUE(map);
    const QImage image = paintingImage([&](QPainter& p, const QRectF& a) { paintRotationMap(p, a, *map); });
    const QRectF plot = rotationMapFrame(QRectF(0, 0, image.width(), image.height())).plot;
    const auto place = [&](double longitude, double latitude) {
      return QPointF(plot.left() + (360 - longitude) / 360 * plot.width(),
                     plot.center().y() - latitude / 60 * plot.height() / 2);
    };
    EXPECT_EQ(inkNear(image, place(row.longitude, row.latitude)), row.shown) << row.longitude;
    EXPECT_FALSE(inkNear(image, place(360 - row.longitude, row.latitude))) << row.longitude;
    EXPECT_FALSE(inkNear(image, place(row.longitude, -row.latitude))) << row.longitude;
  }
}

TEST(RegionPictures, RotationPictureDrawsTheFittedLaw) {
  RotationPicture picture;
  picture.law.fitted = true;
  picture.law.a = 14.7;
  picture.law.b = -3.6;
  for (const double latitude : {-25.0, -8.0, 6.0, 17.0})
    picture.law.rates.push_back({1, latitude, 14.3 + latitude / 100, 0.2});
  const QImage image = paintingImage([&](QPainter& p, const QRectF& a) { paintRotationPicture(p, a, picture); });
  const PlotFrame frame = rotationPictureFrame(QRectF(0, 0, image.width(), image.height()), picture);
  for (const double latitude : {-35.0, -15.0, 0.0, 12.0, 30.0}) {
    const double sine = std::sin(latitude * std::numbers::pi / 180);
    EXPECT_TRUE(inkNear(image, frame.at(latitude, 14.7 - 3.6 * sine * sine), true)) << latitude;
    EXPECT_FALSE(inkNear(image, frame.at(latitude, 14.7 - 3.6 * sine * sine - 0.3), true)) << latitude;
  }
}

}  // namespace
}  // namespace kavrel::journal

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
