// The photograph's engine: limbs found and given, the orientations, B and L following
// them, thresholds kept with their measures, the instant's seconds, the CSV, refusals.
#include "disque/photo_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/display_mask.h"
#include "journal/group_from_spots.h"
#include "photo/synthetic_sun.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {
namespace {

constexpr photo::test::SunShape kSun{120, 100, 80};
constexpr photo::PixelPoint kSpot{140, 80};
const image::ObservationDate kObserved{2001, 12, 6, true, 9, 5, 50.4};

// A disc with one spot (umbra within 2 px, penumbra within 6 px of kSpot).
PhotoFile sunFile(std::string name = "soleil.fits", bool withSun = true) {
  const photo::test::Picture picture = photo::test::drawSun(240, 200, kSun, [](int x, int y) {
    const double d = std::hypot(x - kSpot.x, y - kSpot.y);
    return d < 2.5 ? 0.3 : d < 6 ? 0.75 : 1.0;
  });
  image::GreyImage grey(picture.width, picture.height);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) grey.samples()[i] = withSun ? picture.pixels[i] : 0.5f;
  return {std::move(grey), std::move(name), "FITS, 16 bits entiers", kObserved, std::nullopt};
}

// The header of sunFile's Sun: 2" pixels, seen by an observer at B0 7.5°, L0 100°.
image::FileGeometry sunKeywords() {
  image::FileGeometry k;
  k.ctype1 = "HPLN-TAN";
  k.ctype2 = "HPLT-TAN";
  k.crpix1 = kSun.cx + 1;
  k.crpix2 = 200 - kSun.cy;
  k.cdelt1 = k.cdelt2 = 2;
  k.rsunObs = 2 * kSun.radius;
  k.crltObs = 7.5;
  k.crlnObs = 100;
  return k;
}

PhotoFile sunFileWith(const image::FileGeometry& keywords) {
  PhotoFile file = sunFile();
  file.header = photo::headerGeometry(keywords, kObserved, file.image.width(), file.image.height());
  return file;
}

PhotoReduction opened(std::string_view separator = ",") {
  PhotoReduction engine{std::string(separator)};
  engine.open(sunFile());
  return engine;
}

double number(std::string text) {
  for (char& c : text)
    if (c == ',') c = '.';
  return std::stod(text);
}

TEST(PhotoReduction, LimbFoundGivenOrPicked) {
  struct Case {
    const char* name;
    std::vector<photo::PixelPoint> picked;  // three points picked and kept, else found
    photo::Circle expected;
    double tolerance;
    const char* status;
  };
  const Case cases[] = {
      {"found", {}, {{120, 100}, 80}, 0.2, "Bord trouvé : centre (120,"},
      {"three points", {{40, 100}, {200, 100}, {120, 20}}, {{120, 100}, 80}, 1e-9,
       "Bord donné par trois points : centre (120,00 ; 100,00), rayon 80,00 px."},
  };
  for (const Case& c : cases) {
    PhotoReduction engine = opened();
    if (!c.picked.empty()) {
      engine.startPicking(Picking::Limb);
      for (const photo::PixelPoint p : c.picked) EXPECT_TRUE(engine.click(p).done) << c.name;
      ASSERT_EQ(engine.picking(), Picking::ConfirmLimb) << c.name;
      // Not taken until confirmed.
      EXPECT_EQ(engine.limb()->source, LimbSource::Found) << c.name;
      EXPECT_TRUE(engine.confirmLimb().done) << c.name;
    }
    ASSERT_TRUE(engine.limb()) << c.name;
    EXPECT_NEAR(engine.limb()->circle.centre.x, c.expected.centre.x, c.tolerance) << c.name;
    EXPECT_NEAR(engine.limb()->circle.centre.y, c.expected.centre.y, c.tolerance) << c.name;
    EXPECT_NEAR(engine.limb()->circle.radius, c.expected.radius, c.tolerance) << c.name;
    EXPECT_EQ(engine.status().rfind(c.status, 0), 0u) << c.name << ": " << engine.status();
  }
}

// A pixel 40 px above the centre, as displayed, under each way of giving north.
TEST(PhotoReduction, OrientationsPlaceAPixel) {
  struct Case {
    const char* name;
    PhotoOrientation orientation;
    std::vector<photo::PixelPoint> drift;
    double theta;  // degrees from celestial north through east
  };
  const DiscOrientation disc = discOrientation(photoInstantOf(kObserved)->julianDay);
  const Case cases[] = {
      {"celestial north up", {NorthReference::Celestial, 0, false}, {}, 0},
      {"celestial north to the left", {NorthReference::Celestial, 90, false}, {}, 270},
      {"the Sun's pole up", {NorthReference::SolarAxis, 0, false}, {}, disc.p},
      {"the Sun's pole up, mirrored", {NorthReference::SolarAxis, 0, true}, {}, disc.p},
      {"a drift to the right: north up", {}, {{20, 20}, {60, 20}}, 0},
      {"a drift to the right, mirrored: north down", {NorthReference::Celestial, 0, true}, {{20, 20}, {60, 20}}, 180},
  };
  for (const Case& c : cases) {
    PhotoReduction engine = opened(".");
    engine.orient(c.orientation);
    if (!c.drift.empty()) {
      engine.startPicking(Picking::Drift);
      engine.click(c.drift[0]);
      EXPECT_TRUE(engine.click(c.drift[1]).done) << c.name;
      EXPECT_EQ(engine.orientation()->reference, NorthReference::Drift) << c.name;
    }
    const PixelReadout read = engine.pointer(photo::PixelPoint{engine.limb()->circle.centre.x,
                                                               engine.limb()->circle.centre.y - 40});
    EXPECT_NEAR(std::remainder(number(read.cells[0]) - c.theta, 360), 0, 0.01) << c.name;
    EXPECT_NEAR(number(read.cells[1]), 0.5, 0.01) << c.name;
  }
}

// A spot's B and L follow a corrected orientation and instant; its measure stays.
TEST(PhotoReduction, RowsFollowTheOrientationAndTheInstant) {
  PhotoReduction engine = opened();
  ASSERT_TRUE(engine.addSpot(kSpot).done);
  ASSERT_TRUE(engine.measure(std::nullopt).done);
  const SpotCells northUp = engine.row(engine.spots()[0]);
  engine.orient("90", NorthReference::Celestial, false);
  const SpotCells northLeft = engine.row(engine.spots()[0]);
  const DiscOrientation disc = *engine.disc();
  const DiscPoint at = photo::discPointOfPixel(*engine.frame().frame, kSpot);
  const HeliographicTexts expected = heliographicTexts(heliographicOf(disc, at).at, ",");
  EXPECT_NE(northUp[3], northLeft[3]);
  EXPECT_EQ(northLeft[3], expected.latitude);
  EXPECT_EQ(northLeft[4], expected.longitude);
  EXPECT_EQ(northLeft[6], northUp[6]);
  engine.takeTypedInstant(std::nullopt);
  EXPECT_EQ(engine.row(engine.spots()[0])[3], kEmptyResult);
}

// Switching what the angle is the angle of reads the same north from the other
// reference: the disc stays put, the instant and the header's observer with it.
TEST(PhotoReduction, ReferenceSwitchKeepsTheDisc) {
  struct Case {
    const char* name;
    bool header;  // oriented by the header, else typed
    const char* typed;
    bool mirrored;
  };
  const Case cases[] = {
      {"header's north to the Sun's pole and back", true, "", false},
      {"typed 30° to the Sun's pole and back", false, "30", false},
      {"typed 30°, mirrored, to the Sun's pole and back", false, "30", true},
  };
  for (const Case& c : cases) {
    PhotoReduction engine{","};
    engine.open(c.header ? sunFileWith(sunKeywords()) : sunFile());
    if (!c.header) engine.orient(c.typed, NorthReference::Celestial, c.mirrored);
    engine.addSpot(kSpot);
    const SpotCells before = engine.row(engine.spots()[0]);
    const double north = engine.frame().frame->north;
    const double p = engine.disc()->p;
    engine.orient(engine.orientationFieldText(), NorthReference::SolarAxis, c.mirrored);
    EXPECT_EQ(engine.orientation()->reference, NorthReference::SolarAxis) << c.name;
    EXPECT_NEAR(std::remainder(engine.orientation()->angle - north - (c.mirrored ? -p : p), 360), 0, 1e-9) << c.name;
    EXPECT_EQ(engine.row(engine.spots()[0]), before) << c.name;
    EXPECT_EQ(engine.observerDiscInUse(), c.header) << c.name;
    engine.orient(engine.orientationFieldText(), NorthReference::Celestial, c.mirrored);
    EXPECT_NEAR(std::remainder(engine.frame().frame->north - north, 360), 0, 1e-9) << c.name;
    EXPECT_EQ(engine.row(engine.spots()[0]), before) << c.name;
  }
}

TEST(PhotoReduction, ThresholdsKeptWithTheirMeasures) {
  PhotoReduction engine = opened();
  engine.addSpot(kSpot);
  engine.measure(std::nullopt);
  const double umbraBefore = engine.spots()[0].measure->umbra.hemisphere;
  const std::string atTheDip = engine.row(engine.spots()[0])[8];
  EXPECT_TRUE(atTheDip.starts_with("0,90 / ") && atTheDip.ends_with(" (creux)")) << atTheDip;
  const Outcome changed = engine.setThresholds("0.9", "0,2", photo::UmbraBoundary::FixedShare);
  EXPECT_TRUE(changed.done) << changed.text;
  ASSERT_TRUE(engine.spots()[0].measure);
  EXPECT_EQ(engine.row(engine.spots()[0])[8], "0,90 / 0,20");
  EXPECT_LT(engine.spots()[0].measure->umbra.hemisphere, umbraBefore);
}

// The fields hold the minute begun: retyped, the file's seconds stay; another minute
// drops them.
TEST(PhotoReduction, TypedInstantKeepsTheFilesSeconds) {
  struct Case {
    const char* minute;
    const char* time;
  };
  for (const Case c : {Case{"5", "09:05:50"}, Case{"6", "09:06"}}) {
    PhotoReduction engine = opened(".");
    engine.addSpot(kSpot);
    engine.takeTypedInstant(discInstant({"6", "12", "2001", "9", c.minute}));
    const std::string csv = engine.csv();
    EXPECT_NE(csv.find("\n2001-12-06," + std::string(c.time) + ",1,"), std::string::npos) << csv;
  }
}

// A camera's clock ahead of UT by the offset given: the instant, L and the CSV follow it.
TEST(PhotoReduction, CameraClockOffset) {
  struct Case {
    const char* offset;
    bool done;
    const char* time;    // heure_tu in the CSV
    double lShift;       // degrees of L from the clock read as UT, at an earlier UT larger
    const char* offsetColumn;
  };
  const Case cases[] = {
      {"0", true, "09:05:50", 0, "0.00"},
      {"2", true, "07:05:50", 1.10, "2.00"},
      {"-0.5", true, "09:35:50", -0.27, "-0.50"},
      {"deux", false, "09:05:50", 0, "0.00"},
      {"25", false, "09:05:50", 0, "0.00"},
  };
  for (const Case& c : cases) {
    PhotoFile file = sunFile("appareil.jpg");
    file.observed->cameraClock = true;
    PhotoReduction engine{"."};
    engine.open(std::move(file));
    ASSERT_EQ(engine.instant()->source, InstantSource::Camera);
    engine.addSpot(kSpot);
    const double before = number(engine.row(engine.spots()[0])[4]);
    EXPECT_EQ(engine.setClockOffset(c.offset).done, c.done) << c.offset;
    const double shift = std::remainder(number(engine.row(engine.spots()[0])[4]) - before, 360);
    EXPECT_NEAR(shift, c.lShift, 0.02) << c.offset;
    const std::string csv = engine.csv();
    EXPECT_NE(csv.find(std::string("2001-12-06,") + c.time + ",1,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(std::string(",horloge de l'appareil,") + c.offsetColumn + ","), std::string::npos) << csv;
    // The fields show UT and give the camera's instant back.
    const std::optional<image::ObservationDate> shown = engine.instantDate();
    engine.takeTypedInstant(discInstant({"6", "12", "2001", std::to_string(shown->hour), std::to_string(shown->minute)}),
                            "50.4");
    EXPECT_EQ(engine.instant()->source, InstantSource::Camera) << c.offset;
    EXPECT_NE(engine.caption()[0].find("horloge de l'appareil"), std::string::npos) << engine.caption()[0];
  }
}

// An image without a date keeps the previous one's as carried: spots wait for it to be
// confirmed or retyped, and the CSV says where the date and the orientation came from.
TEST(PhotoReduction, CarriedDateConfirmedBeforeMeasuring) {
  struct Case {
    const char* name;
    std::function<void(PhotoReduction&)> then;
    bool spotAdded;
    const char* marks;  // heure_source … orientation_source at the row's end
  };
  const Case cases[] = {
      {"carried", [](PhotoReduction&) {}, false, ""},
      {"carried, given back unchanged", [](PhotoReduction& e) { e.takeTypedInstant(discInstant({"6", "12", "2001", "9", "5"}), "50.4"); },
       false, ""},
      {"carried, confirmed", [](PhotoReduction& e) { e.confirmCarriedInstant(); }, true,
       ",image précédente,,non donnée\n"},
      {"another date typed, to the second",
       [](PhotoReduction& e) { e.takeTypedInstant(discInstant({"7", "12", "2001", "9", "5"}), "12.5"); }, true,
       ",saisie,,non donnée\n"},
      {"typed, oriented", [](PhotoReduction& e) {
         e.takeTypedInstant(discInstant({"7", "12", "2001", "9", "5"}));
         e.orient("10", NorthReference::Celestial, false);
       }, true, ",saisie,,donnée\n"},
  };
  for (const Case& c : cases) {
    PhotoReduction engine{"."};
    engine.open(sunFile());
    engine.takeTypedInstant(discInstant({"6", "12", "2001", "9", "5"}), "50");
    PhotoFile undated = sunFile("sans-date.png");
    undated.observed.reset();
    engine.open(std::move(undated));
    ASSERT_EQ(engine.instant()->source, InstantSource::Carried) << c.name;
    c.then(engine);
    const Outcome added = engine.addSpot(kSpot);
    EXPECT_EQ(added.done, c.spotAdded) << c.name;
    if (!c.spotAdded) {
      EXPECT_EQ(added.text, kCarriedDate) << c.name;
      continue;
    }
    EXPECT_TRUE(engine.csv().ends_with(c.marks)) << c.name << ": " << engine.csv();
  }
}

TEST(PhotoReduction, CsvInBothDialects) {
  struct Case {
    const char* separator;
    const char* header;
    const char* row;
    const char* limb;
  };
  const Case cases[] = {
      {",", "date;heure_tu;numero;x_px;y_px;angle;distance;B_deg;", "2001-12-06;09:05:50;1;140,00;80,00;",
       ";trouvé;"},
      {".", "date,heure_tu,numero,x_px,y_px,angle,distance,B_deg,", "2001-12-06,09:05:50,1,140.00,80.00,",
       ",trouvé,"},
  };
  for (const Case& c : cases) {
    PhotoReduction engine{c.separator};
    engine.open(sunFile("a;b,c.fits"));
    engine.addSpot(kSpot);
    engine.measure(std::nullopt);
    const std::string csv = engine.csv();
    const std::string row = csv.substr(csv.find('\n') + 1);
    EXPECT_EQ(csv.rfind(c.header, 0), 0u) << csv;
    EXPECT_EQ(row.rfind(c.row, 0), 0u) << csv;
    // The file's name quoted where it holds the separator; the limb, north and the
    // thresholds on the row.
    EXPECT_NE(row.find("\"a;b,c.fits\""), std::string::npos) << row;
    EXPECT_NE(row.find(std::string("0") + c.separator + "90"), std::string::npos) << row;
    EXPECT_NE(row.find(c.limb), std::string::npos) << row;
    EXPECT_NE(row.find("nord céleste"), std::string::npos) << row;
  }
}

// The header's limb taken where the found one agrees with it, else the found one with the
// reason (which `kavrel limbe` prints too) and the header's orientation said to be its;
// then the other one asked for.
TEST(PhotoReduction, HeaderLimbTakenOrSetAside) {
  struct Case {
    const char* name;
    std::function<void(image::FileGeometry&)> change;
    LimbSource source;
    const char* status;  // found in the status line after opening
    const char* reason;  // the found limb's reason, at its start
    const char* orientation;  // found at the status line's end, or nothing about it
    bool switched;       // the other limb taken when asked for
  };
  const Case cases[] = {
      {"whole header", [](image::FileGeometry&) {}, LimbSource::Header,
       "Géométrie lue dans l'en-tête : centre (120,00 ; 100,00), rayon 80,00 px, B0 et L0 de son observateur.", "",
       "", true},
      {"no radius", [](image::FileGeometry& k) { k.rsunObs.reset(); }, LimbSource::Found,
       " L'en-tête du fichier ne donne pas : RSUN_OBS.", "L'en-tête du fichier ne donne pas : RSUN_OBS.",
       " Orientation lue dans l'en-tête.", false},
      {"centre 10 px off", [](image::FileGeometry& k) { *k.crpix1 += 10; }, LimbSource::Found,
       " Bord de l'en-tête écarté : Le centre du disque donné par l'en-tête (CRPIX1, CRPIX2, CRVAL1, CRVAL2) est à "
       "10,0 px",
       "Bord de l'en-tête écarté : Le centre", " qui ne décrit peut-être pas cette image : vérifiez-la.", true},
      {"radius 5 % small", [](image::FileGeometry& k) { *k.rsunObs *= 0.95; }, LimbSource::Found,
       " Bord de l'en-tête écarté : Le rayon donné par l'en-tête (RSUN_OBS, CDELT1, CDELT2) diffère de 4,0 px",
       "Bord de l'en-tête écarté : Le rayon", " qui ne décrit peut-être pas cette image : vérifiez-la.", true},
      {"radius 0.5 % small", [](image::FileGeometry& k) { *k.rsunObs *= 0.995; }, LimbSource::Header,
       "Géométrie lue dans l'en-tête : centre (120,00 ; 100,00), rayon 79,60 px", "", "", true},
  };
  for (const Case& c : cases) {
    image::FileGeometry keywords = sunKeywords();
    c.change(keywords);
    PhotoReduction engine{","};
    engine.open(sunFileWith(keywords));
    ASSERT_TRUE(engine.limb()) << c.name;
    EXPECT_EQ(engine.limb()->source, c.source) << c.name;
    const std::string& status = engine.status();
    EXPECT_NE(status.find(c.status), std::string::npos) << c.name << ": " << status;
    EXPECT_EQ(engine.limbSourceReason().rfind(c.reason, 0), 0u) << c.name << ": " << engine.limbSourceReason();
    EXPECT_EQ(*c.reason == '\0', engine.limbSourceReason().empty()) << c.name;
    EXPECT_EQ(*c.orientation != '\0', status.find("Orientation lue") != std::string::npos) << c.name << ": " << status;
    const std::string_view before = std::string_view(status).substr(0, status.find(" Instant lu"));
    EXPECT_TRUE(before.ends_with(c.orientation)) << c.name << ": " << status;
    const bool header = c.source == LimbSource::Header;
    EXPECT_EQ(engine.useHeaderLimb(!header).done, c.switched) << c.name;
    EXPECT_EQ(engine.limb()->source, c.switched != header ? LimbSource::Header : LimbSource::Found) << c.name;
    EXPECT_TRUE(engine.useHeaderLimb(header).done) << c.name;
    EXPECT_EQ(engine.limb()->source, c.source) << c.name;
  }
}

// B0 and L0 are the header's observer's at the file's instant only.
TEST(PhotoReduction, ObserverDiscAtTheFilesInstant) {
  PhotoReduction engine{","};
  engine.open(sunFileWith(sunKeywords()));
  const struct {
    const char* minute;  // typed at 9 h on 6 December 2001
    double b0;           // NaN: the precise ephemeris's
  } cases[] = {{"", 7.5}, {"4", NAN}, {"5", 7.5}, {"6", NAN}};
  for (const auto& c : cases) {
    if (*c.minute != '\0') engine.takeTypedInstant(discInstant({"6", "12", "2001", "9", c.minute}));
    ASSERT_TRUE(engine.disc()) << c.minute;
    const double expected = std::isnan(c.b0) ? preciseDiscOrientation(engine.instant()->julianDay)->b0 : c.b0;
    EXPECT_DOUBLE_EQ(engine.disc()->b0, expected) << c.minute;
  }
}

TEST(PhotoReduction, Refusals) {
  struct Case {
    const char* name;
    std::function<Outcome(PhotoReduction&)> act;
    std::string_view reason;
  };
  const Case cases[] = {
      {"orientation not a number", [](PhotoReduction& e) { return e.orient("douze", NorthReference::Celestial, false); },
       photo::kOrientationNotANumberMessage},
      {"threshold not a number", [](PhotoReduction& e) { return e.setThresholds("x", "0,6"); }, kThresholdsNotNumbers},
      {"umbra above the spot", [](PhotoReduction& e) { return e.setThresholds("0,5", "0,7"); },
       photo::kBadThresholdsMessage},
      {"nothing to measure", [](PhotoReduction& e) { return e.measure(std::nullopt); }, kNoSpotToMeasure},
      {"a click off the disc", [](PhotoReduction& e) { return e.click({5, 5}); }, kOutsideDiscMessage},
      {"quiet Sun", [](PhotoReduction& e) { e.addSpot({90, 120}); return e.measure(std::nullopt); },
       photo::kNotInSpotMessage},
      {"aligned limb points",
       [](PhotoReduction& e) {
         e.startPicking(Picking::Limb);
         e.click({10, 10});
         e.click({20, 20});
         return e.click({30, 30});
       },
       photo::kAlignedPointsMessage},
      {"a limb of no radius", [](PhotoReduction& e) { return e.giveLimb({{1, 1}, 0}, LimbSource::Given); },
       kLimbRadiusRefused},
  };
  for (const Case& c : cases) {
    PhotoReduction engine = opened();
    const Outcome outcome = c.act(engine);
    EXPECT_FALSE(outcome.done) << c.name;
    EXPECT_EQ(outcome.text, c.reason) << c.name;
  }
  PhotoReduction blank{","};
  EXPECT_EQ(blank.open(sunFile("gris.png", false)).limbMissing, photo::kNoLimbMessage);
  EXPECT_EQ(blank.frame().refusal, kNoLimbYet);
  EXPECT_NE(blank.status().find(kOrientationNotRead), std::string::npos) << blank.status();
}

}  // namespace
}  // namespace kavrel::disque

namespace kavrel::disque {
namespace {

// The spots' CSV that Disque saves read back by the Journal and made into a group: each
// spot's B, L, DMC and area as the table showed them, in both dialects, the file's name
// holding both separators and a quote.
TEST(PhotoReduction, SpotFileReadBackByTheJournal) {
  for (const char* separator : {",", "."}) {
    SCOPED_TRACE(separator);
    PhotoReduction engine{separator};
    PhotoFile file = sunFileWith(sunKeywords());
    file.name = "a;b,\"c\".fits";
    engine.open(std::move(file));
    for (const photo::PixelPoint at : {kSpot, photo::PixelPoint{100, 130}}) {
      ASSERT_TRUE(engine.addSpot(at).done);
      engine.measure(std::nullopt);
    }
    const std::vector<SpotCells> shown = engine.rows();
    const journal::SpotFile read = journal::readSpotFile("\xEF\xBB\xBF" + engine.csv());
    ASSERT_TRUE(read.refusal.empty()) << read.refusal;
    ASSERT_EQ(read.spots.size(), shown.size());
    EXPECT_EQ(read.origin, journal::GroupOrigin::Photograph);
    double area = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const journal::MeasuredSpot& spot = read.spots[i];
      EXPECT_EQ(spot.number, static_cast<int>(i + 1));
      EXPECT_NEAR(spot.latitude, number(shown[i][3]), 0.005);
      EXPECT_NEAR(spot.longitude, number(shown[i][4]), 0.005);
      ASSERT_TRUE(spot.centralMeridianDistance);
      EXPECT_NEAR(*spot.centralMeridianDistance, number(shown[i][5]), 0.005);
      // The second spot lies on quiet Sun: nothing to measure, no area.
      ASSERT_EQ(spot.areaMsh.has_value(), i == 0);
      if (spot.areaMsh) {
        EXPECT_NEAR(*spot.areaMsh, number(shown[i][6]), 0.5);
      }
      area += spot.areaMsh.value_or(0);
    }
    const journal::Group group = journal::groupFromSpots(read.spots, 4, read.origin);
    EXPECT_EQ(group.spots, 2);
    ASSERT_TRUE(group.areaMsh && group.latitude);
    EXPECT_DOUBLE_EQ(*group.areaMsh, area);
    EXPECT_EQ(group.hemisphere, *group.latitude < 0 ? journal::Hemisphere::South : journal::Hemisphere::North);
  }
}

}  // namespace
}  // namespace kavrel::disque
