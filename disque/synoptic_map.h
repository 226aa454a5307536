// The synoptic map of one Carrington rotation made from photographs of the Sun, without Qt:
// each photograph's disc mapped to Carrington longitude and latitude with the photograph's
// engine (disque/photo_reduction.h: its header's limb, orientation and observer, or the
// limb, orientation and instant given), each map pixel taken from the photograph whose
// central meridian passed nearest to it in time among those that see it, limb darkening
// divided out, a place no photograph sees left NaN.
//
// The grid: plate carrée, `step` degrees a pixel (0.1 by default), longitude from 360 on
// the left to 0 on the right, latitude from +90 at the top to -90 at the bottom; pixel
// (i, j) is centred on longitude 360 - (i + 1/2) step and latitude 90 - (j + 1/2) step.
// Values are the photograph's light over the disc's own at the same distance from its
// centre: the median of the disc's samples in 200 rings of equal area (radii squared),
// linearly interpolated between them; the quiet photosphere comes out near 1, a spot's
// umbra near 0.2. Each pixel is the photograph sampled bilinearly where the precise
// geometry puts that longitude and latitude (photo::pixelOfHeliographic); a point is seen
// when it lies on the visible hemisphere within kMaxDiscRadius of the disc's centre and
// its four photograph pixels lie in the image and are not blank.
//
// Which photograph: the one whose instant is nearest to the instant the map pixel's
// longitude crosses the central meridian in this rotation (sun/carrington_rotation.h);
// within the rotation this is the photograph whose L0 is nearest to the longitude; at its
// two ends it keeps a photograph of the same passage rather than one a rotation away.
// Photographs are read one at a time through the caller's source and dropped once mapped
// (a series of 4096² photographs needs one in memory): each replaces, in the map, the
// pixels it sees nearer in time than what the map holds.
//
// Refused, each photograph with its French reason and the map made from the others: a
// file not read (the source's reason), no limb, no instant, taken more than
// kRotationMarginDays outside the rotation. Refused as a whole: a rotation outside the
// ephemeris, a step that does not divide 180°, no photograph kept, cancelled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "disque/photo_reduction.h"
#include "image/fits_writer.h"
#include "photo/limb.h"

namespace kavrel::disque {

inline constexpr double kDefaultMapStep = 0.1;  // degrees a pixel
inline constexpr double kMinMapStep = 0.05;     // 7200 × 3600 pixels
inline constexpr double kMaxMapStep = 10;
// Beyond this many days from the rotation, a photograph sees none of its longitudes'
// passages (90° from the meridian is 6.8 days of rotation).
inline constexpr double kRotationMarginDays = 7;
// Points farther from the disc's centre (in disc radii) are left to other photographs:
// the limb's last hundredth is mostly its own blur.
inline constexpr double kMaxDiscRadius = 0.99;

// One photograph as the caller gives it: the file read (or why it could not be), and what
// the user gives in place of the file's own (each none: the header's, else found, else
// north up; the instant the file's).
struct SynopticPhoto {
  std::optional<PhotoFile> file;
  std::string name;      // the file's name, for the messages
  std::string notRead;   // the reader's refusal when there is no file
  std::optional<photo::Circle> limb;
  std::optional<PhotoOrientation> orientation;
  std::optional<PhotoInstant> instant;
  double clockOffsetHours = 0;  // a camera's clock ahead of UT
};

// The k-th photograph (0-based), read when asked.
using SynopticSource = std::function<SynopticPhoto(std::size_t index)>;
// Called before photograph `index` of `count` is read and once at the end with index ==
// count; false cancels.
using SynopticProgress = std::function<bool(std::size_t index, std::size_t count)>;

struct SynopticRequest {
  int rotation = 0;
  double step = kDefaultMapStep;
  std::size_t count = 0;  // photographs
};

// What became of each photograph.
struct SynopticPhotoUse {
  std::string name;
  std::optional<double> julianDay;  // UTC, when known
  double l0 = 0;                    // degrees, when the instant is known
  std::size_t pixels = 0;           // map pixels taken from it
  std::string refusal;              // French; empty when mapped
  bool fileRead = true;             // false: the source could not read it
};

inline constexpr std::uint16_t kNoPhoto = 0xffff;

struct SynopticMap {
  int rotation = 0;
  double step = kDefaultMapStep;
  int width = 0;   // 360 / step
  int height = 0;  // 180 / step
  std::vector<float> values;          // row after row from the top (+90°), NaN where no photograph sees
  std::vector<std::uint16_t> source;  // the photograph of each pixel, kNoPhoto where none
  double start = 0;                   // Julian days of UTC: the rotation's start and end
  double end = 0;
  double middle = 0;  // longitude 180° on the central meridian
  [[nodiscard]] std::size_t covered() const;
};

struct SynopticOutcome {
  std::optional<SynopticMap> map;
  std::vector<SynopticPhotoUse> photos;
  std::string refusal;  // French, the whole map's; empty when made
};

// "2024-10-17 à 05:12 TU", an instant as the map's messages write it.
[[nodiscard]] std::string synopticInstantText(double julianDay);

[[nodiscard]] SynopticOutcome makeSynopticMap(const SynopticRequest& request, const SynopticSource& source,
                                              const SynopticProgress& progress = {});

// The step typed ("0,1"), or why it is refused; a step must divide 180° into whole pixels.
struct StepOutcome {
  std::optional<double> step;
  std::string refusal;
};
[[nodiscard]] StepOutcome mapStepOf(std::string_view typed, std::string_view decimalSeparator);

// The FITS header of the map: a Carrington plate carrée WCS (CRLN-CAR, CRLT-CAR, degrees),
// DATE-OBS the instant longitude 180° crosses the central meridian, CAR_ROT, and the
// observer at the Earth's centre then (HGLN_OBS 0, HGLT_OBS B0, DSUN_OBS), RSUN_REF.
[[nodiscard]] std::vector<image::FitsKeyword> synopticFitsKeywords(const SynopticMap& map);

// The map as 8-bit grey rows of 0xffRRGGBB (image/png_writer.h): 0 to 1.25 times the quiet
// disc from grey 16 to 255, blank pixels black (0).
[[nodiscard]] std::vector<std::uint32_t> synopticGreyRows(const SynopticMap& map);

}  // namespace kavrel::disque
