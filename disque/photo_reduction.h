// The reduction of one photograph of the Sun, without Qt: the grey image, its limb, its
// orientation, the instant it was taken, the spots clicked on it and their measured areas.
// It answers everything that is shown, saved or printed of the photograph (the overlay's
// frame, the pointer's read-out, the table, the status line, the CSV, the page's rows), so
// that the Disque window and `kavrel limbe`, `tache-image`, `aire` say the same thing for
// the same input. Texts are UTF-8 French, numbers written by photo_spots.h.
//
// Pixels as in image/grey_image.h. The limb is found (photo::findLimb), given as centre
// and radius, through three points (proposed, then confirmed), or from a FITS file's header
// (photo/header_geometry.h). The orientation is the angle of celestial north or of the
// Sun's north pole counter-clockwise from the top of the image, mirrored or not, celestial
// north from a drift (photo/image_orientation.h), or the header's. The instant is kept to
// the second; B, L and DMC follow it, with B0, L0 and the semi-diameter of the header's
// observer while the instant is the file's, else of the precise ephemeris
// (sun/precise_aspect.h), and show kEmptyResult while it is unknown.
//
// A header's limb is taken when the limb found on the image agrees with it (or none is
// found); otherwise the found one is, and the status says why (the keywords missing, or
// how far apart the two are); the header's orientation is kept then, and the status says it
// is the header's. The user may switch between them. A refusal is an outcome
// with its French reason; nothing here throws.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "image/grey_image.h"
#include "image/observation_date.h"
#include "image/read_outcome.h"
#include "photo/header_geometry.h"
#include "photo/image_orientation.h"
#include "photo/limb.h"
#include "photo/spot_area.h"
#include "disque/photo_spots.h"
#include "disque/reduction.h"
#include "disque/spot_undo.h"
#include "sun/heliographic.h"

namespace kavrel::disque {

inline constexpr char kNoLimbYet[] = "Le bord du Soleil n'est pas connu : donnez-le par « Bord par trois points ».";
inline constexpr char kThresholdsNotNumbers[] = "Les seuils de la tache et de l'ombre doivent être des nombres.";
inline constexpr char kNotReadFromFile[] =
    "La date et l'orientation n'ont pas été lues dans le fichier : vérifiez-les avant de mesurer.";
inline constexpr char kDateNotRead[] = "La date n'a pas été lue dans le fichier : vérifiez-la avant de mesurer.";
inline constexpr char kOrientationNotRead[] =
    "L'orientation n'a pas été lue dans le fichier : vérifiez-la avant de mesurer.";
inline constexpr char kNoSpotToMeasure[] = "Cliquez d'abord sur la tache à mesurer.";
inline constexpr char kCarriedDate[] =
    "Cette image ne donne pas sa date : celle de l'image précédente est restée dans les champs. Confirmez-la, ou "
    "tapez la bonne, avant de mesurer.";
inline constexpr char kSecondsRefused[] = "Les secondes sont un nombre de 0 à moins de 60.";
inline constexpr char kClockOffsetRefused[] =
    "Le décalage de l'horloge est un nombre d'heures, de -24 à 24, ajouté au TU par l'horloge de l'appareil.";
inline constexpr char kLimbRadiusRefused[] =
    "Le bord se donne par son centre et son rayon en pixels, trois nombres, le rayon positif.";

enum class LimbSource { Found, ThreePoints, Given, Header };
struct PhotoLimb {
  photo::Circle circle{};
  LimbSource source = LimbSource::Found;
  double rms = 0;  // pixels, Found only
  int points = 0;  // limb points kept in the fit, Found only
};

// What the orientation's angle is the angle of.
enum class NorthReference { Celestial, SolarAxis, Drift, Header };
struct PhotoOrientation {
  NorthReference reference = NorthReference::Celestial;
  double angle = 0;  // degrees counter-clockwise from the top: the Sun's pole for SolarAxis, else celestial north
  bool mirrored = false;
};

// Where the instant comes from: a file's UT (a FITS header), a camera's clock (EXIF, then
// corrected by the offset given), typed, or carried over from the previous image (a file
// that gives no date leaves the fields as they were).
enum class InstantSource { File, Camera, Typed, Carried };
struct PhotoInstant {
  double julianDay = 0;  // of Universal Time
  bool withSeconds = false;
  InstantSource source = InstantSource::Typed;
};
// The instant of a file's date (a camera's clock as it reads); none without its time.
[[nodiscard]] std::optional<PhotoInstant> photoInstantOf(const image::ObservationDate& observed);

// An image file as read, with what its header says of it: a FITS file's geometry (its
// limb, orientation, instant and observer, or the keywords it lacks), none for a camera's.
struct PhotoFile {
  image::GreyImage image;
  std::string name;         // the file's name, without its folder
  std::string description;  // "PNG, 16 bits entiers"
  std::optional<image::ObservationDate> observed;
  std::optional<photo::HeaderGeometry> header;
};
// A file read (ok()), as the engine takes it. Inline: the reader (Qt) is its callers'.
[[nodiscard]] inline PhotoFile photoFileOf(image::ImageReadOutcome read, std::string name) {
  PhotoFile file{std::move(read.image), std::move(name), read.description(), read.observed, std::nullopt};
  if (read.format == "FITS")
    file.header = photo::headerGeometry(read.geometry, read.observed, file.image.width(), file.image.height());
  return file;
}

// Begins the status line when the header's limb is taken.
inline constexpr char kHeaderGeometryTaken[] = "Géométrie lue dans l'en-tête";
// Said where the disc's B0, L0 and semi-diameter are the header's observer's.
inline constexpr char kHeaderObserverText[] = "Observateur de l'en-tête";

struct OpenOutcome {
  std::string limbMissing;  // no limb found: why
};

enum class Picking { None, Limb, Drift, ConfirmLimb };

// Everything drawn over the photograph.
struct OverlayContent {
  std::optional<photo::ImageFrame> frame;  // the limb being confirmed, while it is
  std::optional<DiscOrientation> disc;
  std::vector<PhotoSpot> spots;
  std::vector<photo::PixelPoint> limbPoints;
  std::vector<photo::PixelPoint> driftPoints;
};

// What the pointer reads over the image: its pixel, theta, r, B, L, DMC, and the line under
// them (a hint while away, the reason when there is nothing to read).
using PixelReadout = PointerTexts;

inline constexpr std::size_t kPhotoSpotColumns = 9;
using SpotCells = std::array<std::string, kPhotoSpotColumns>;

class PhotoReduction final : public Reduction {
 public:
  explicit PhotoReduction(std::string decimalSeparator);

  // The image taken, its limb looked for (or the header's), the previous image's spots,
  // limb, orientation and instant gone.
  OpenOutcome open(PhotoFile file);
  void close();
  [[nodiscard]] const image::GreyImage* image() const { return m_image.empty() ? nullptr : &m_image; }
  // "soleil.png (PNG, 16 bits, 200 × 180 px)".
  [[nodiscard]] const std::string& fileLine() const { return m_fileLine; }
  [[nodiscard]] const std::string& fileName() const { return m_fileName; }

  // The limb.
  Outcome findLimb();
  Outcome giveLimb(photo::Circle circle, LimbSource source);
  [[nodiscard]] const std::optional<PhotoLimb>& limb() const { return m_limb; }
  // The header's limb taken (true) or the one found on the image; refused, and nothing
  // changed, when the header gives none or none was found.
  Outcome useHeaderLimb(bool use);
  [[nodiscard]] bool headerGivesLimb() const { return m_header && m_header->limb; }
  // Why the header's limb is not the one taken (keywords missing, too far from the found
  // one); empty when it is or when the file has no header.
  [[nodiscard]] const std::string& headerNote() const { return m_headerNote; }
  // headerNote() while the limb in use is the one found on the image: why it is that one.
  [[nodiscard]] std::string limbSourceReason() const;

  // The orientation as typed: the angle's text, what it is the angle of, east right. The
  // angle left as its field shows it under the other reference is that same north read from
  // it (turned by P): switching the reference does not turn the disc.
  Outcome orient(std::string_view angle, NorthReference reference, bool mirrored);
  Outcome orient(PhotoOrientation orientation);
  [[nodiscard]] const std::optional<PhotoOrientation>& orientation() const { return m_orientation; }
  // Whether the orientation was read from the file or given since it was opened (a drift,
  // an angle typed); otherwise it is the default, north up.
  [[nodiscard]] bool orientationGiven() const { return m_orientationGiven; }
  // The angle as its field shows it.
  [[nodiscard]] std::string orientationFieldText() const;

  // The instant. The fields' minute and `seconds` (empty: none typed); the file's instant
  // kept when they give it (to the second, or within its minute without seconds), the
  // previous image's kept as carried while they give that one unchanged.
  void setInstant(std::optional<PhotoInstant> instant);
  Outcome takeTypedInstant(const std::optional<DiscInstant>& typed, std::string_view seconds = {});
  [[nodiscard]] const std::optional<PhotoInstant>& instant() const { return m_instant; }
  // The instant in force as the fields show it (UT), the seconds with their fraction.
  [[nodiscard]] std::optional<image::ObservationDate> instantDate() const;
  // A camera's clock ahead of UT by `hours` (typed: "2", "-0,5"); the camera's instant
  // moved by it. Refused, and nothing changed, when not a number of -24 to 24 hours.
  Outcome setClockOffset(std::string_view hours);
  [[nodiscard]] double clockOffsetHours() const { return m_clockOffsetHours; }
  // A carried instant is measured at only once confirmed: spots are refused until then.
  [[nodiscard]] bool instantNeedsConfirming() const;
  void confirmCarriedInstant() { m_carriedConfirmed = true; }
  [[nodiscard]] std::optional<DiscOrientation> disc() const;
  // Whether disc() is the header's observer's (B0, L0, semi-diameter; P is the Earth's).
  [[nodiscard]] bool observerDiscInUse() const;

  // Clicks on the image: a limb's or a drift's point while picking, else a spot.
  void startPicking(Picking what);
  Outcome cancelPicking();
  Outcome click(photo::PixelPoint pixel);
  // The circle through the three points picked, kept or dropped for other points.
  Outcome confirmLimb();
  Outcome pickLimbAgain();
  [[nodiscard]] Picking picking() const { return m_picking; }

  // Spots.
  Outcome addSpot(photo::PixelPoint pixel);
  Outcome addSpotAt(DiscPoint point);
  // theta and r as typed; theta from the Sun's north pole when `fromSolarNorth`.
  Outcome addSpotTyped(std::string_view angle, std::string_view distance, bool fromSolarNorth) override;
  [[nodiscard]] bool removeSpots(std::vector<int> rows) override;
  // Takes back the last spot added or the last spots removed, since the image was opened;
  // refused, with nothing to say, when there is none.
  Outcome undoSpots();
  [[nodiscard]] bool canUndoSpots() const { return !m_undo.empty(); }
  [[nodiscard]] const std::vector<PhotoSpot>& spots() const { return m_spots; }
  // Measures the spot of `row`, else the last one added, with the thresholds in force.
  Outcome measure(std::optional<int> row);
  // New thresholds from their fields, the umbra's boundary at the dip of the spot's
  // histogram or at the fixed share; the spots already measured are measured again.
  Outcome setThresholds(std::string_view spot, std::string_view umbra,
                        photo::UmbraBoundary boundary = photo::UmbraBoundary::SpotHistogram);
  [[nodiscard]] const photo::SpotThresholds& thresholds() const { return m_thresholds; }

  // The answers.
  struct FrameOutcome {
    std::optional<photo::ImageFrame> frame;
    std::string refusal;
  };
  [[nodiscard]] FrameOutcome frame() const;
  [[nodiscard]] OverlayContent overlay() const;
  [[nodiscard]] PixelReadout pointer(const std::optional<photo::PixelPoint>& pixel) const;
  // The printed page's heading: the instant, P, B0, L0 and the rotation.
  [[nodiscard]] std::string heading() const;
  [[nodiscard]] static std::vector<std::string> columns();
  [[nodiscard]] SpotCells row(const PhotoSpot& spot) const;
  [[nodiscard]] std::vector<SpotCells> rows() const;
  [[nodiscard]] const std::string& status() const { return m_status; }
  // "Bord trouvé : centre (100,00 ; 90,00), rayon 70,00 px."
  [[nodiscard]] std::string limbLine() const;
  // Where celestial north points and whether the image is mirrored (photo_caption.h).
  [[nodiscard]] std::string orientationLine() const;
  // The saved picture's caption: the file and the instant, then the orientation and the limb.
  [[nodiscard]] std::vector<std::string> caption() const;
  // The spots as CSV in the locale's dialect: on every row the image, the instant and
  // where it came from (heure_source, decalage_horloge_h), the limb, the orientation and
  // whether it was given (orientation_source), and the thresholds of its measure.
  [[nodiscard]] std::string csv() const;
  // Spots added or measured since the last save.
  [[nodiscard]] bool unsaved() const { return m_unsaved; }
  void markSaved() { m_unsaved = false; }

  // The window's questions (reduction.h), asked alike of the drawn disc: the disc's angles
  // are the header's observer's while observerDiscInUse(), else the precise ephemeris's at
  // the instant in force (the file's seconds kept); the read-out is pointer() at the pixel
  // under the pointer as last moved (none once the image is closed).
  void movePointer(std::optional<photo::PixelPoint> pixel) { m_pointer = pixel; }
  [[nodiscard]] InstantTexts aspect() const override;
  [[nodiscard]] PointerTexts pointerTexts() const override { return pointer(m_pointer); }
  [[nodiscard]] SpotTable spotTable() const override;
  [[nodiscard]] bool hasSpots() const override { return !m_spots.empty(); }

 private:
  Outcome switchReference(NorthReference reference);
  Outcome pickLimbPoint(photo::PixelPoint pixel);
  Outcome pickDriftPoint(photo::PixelPoint pixel);
  Outcome say(std::string text, bool done = true);
  Outcome refuseInStatus(std::string text);
  [[nodiscard]] std::string headerLimbLine() const;
  [[nodiscard]] std::string areaStatus(const PhotoSpot& spot) const;
  [[nodiscard]] std::optional<PhotoInstant> fileInstantInUt() const;
  [[nodiscard]] std::string instantSourceText() const;
  [[nodiscard]] std::string instantStatus() const;

  std::string m_separator;
  image::GreyImage m_image;
  std::string m_fileName;
  std::string m_fileLine;
  std::optional<PhotoLimb> m_limb;
  std::optional<photo::Circle> m_candidate;  // through three points, to confirm
  std::optional<PhotoOrientation> m_orientation = PhotoOrientation{};
  std::string m_orientationRefusal;
  std::optional<PhotoInstant> m_instant;
  std::optional<PhotoInstant> m_fileInstant;  // a camera's as its clock reads
  double m_clockOffsetHours = 0;
  bool m_carriedConfirmed = false;
  bool m_orientationGiven = false;
  std::optional<photo::HeaderGeometry> m_header;
  std::optional<DiscOrientation> m_observerDisc;  // the header's observer's, at the file's instant
  std::optional<PhotoLimb> m_foundLimb;            // on the image, kept to switch back to
  std::string m_headerNote;
  Picking m_picking = Picking::None;
  std::vector<photo::PixelPoint> m_picked;
  std::vector<PhotoSpot> m_spots;
  SpotUndo<PhotoSpot> m_undo;
  int m_nextNumber = 1;
  photo::SpotThresholds m_thresholds{};
  std::string m_status;
  bool m_unsaved = false;
  std::optional<photo::PixelPoint> m_pointer;
};

}  // namespace kavrel::disque
