// kavrel journal rotation --png|--svg|--pdf F and carte ROTATION: the differential
// rotation's picture and the map of one Carrington rotation (pictures/region_pictures.h),
// written whole as PNG, SVG or PDF. Runs in kavrel-dessin: Qt Gui (see cli/painting.h).
#include <QString>

#include <algorithm>
#include <cmath>
#include <utility>

#include "cli/journal_regions.h"
#include "cli/journal_runs.h"
#include "cli/qt_host.h"
#include "common/calendar_date.h"
#include "pictures/region_pictures.h"
#include "sun/carrington_rotation.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kNoPictureFile = "kavrel : choisissez le fichier de l'image, --png F, --svg F ou --pdf F";
constexpr std::string_view kTwoPictureFiles = "kavrel : un seul fichier par image, --png, --svg ou --pdf";
constexpr std::string_view kImportedSourceMessage = "Source des régions importées : greenwich ou srs.";
// Rotation 1 began in November 1853; 5000 begins in the 23rd century, as far as the
// ephemeris is meaningful.
constexpr int kLastRotation = 5000;
constexpr std::string_view kRotationMessage =
    "Rotation : un numéro de rotation de Carrington de 1 à 5000, 2150 par exemple (la rotation 1 a commencé le 9 "
    "novembre 1853).";
// A map's regions are read from a week before the rotation to a week after it: the days
// its regions were on the disc.
constexpr double kMarginDays = 8;

using PictureFile = std::pair<std::string_view, journal::ChartFormat>;

// The file asked for; none when none or two are given (said).
std::optional<PictureFile> pictureFile(const Request& s) {
  static constexpr PictureFile kFormats[] = {
      {"--png", journal::ChartFormat::Png}, {"--svg", journal::ChartFormat::Svg}, {"--pdf", journal::ChartFormat::Pdf}};
  std::optional<PictureFile> chosen;
  for (const auto& candidate : kFormats) {
    if (!s.has(candidate.first)) continue;
    if (chosen) {
      s.refuse(kTwoPictureFiles);
      return std::nullopt;
    }
    chosen = candidate;
  }
  if (!chosen) s.refuse(kNoPictureFile);
  return chosen;
}

Status writePicture(const journal::Painting& paint, const PictureFile& file, const QString& title,
                    std::string_view saidAs, Request& s) {
  const std::string& path = *s.value(file.first);
  QString error;
  if (!journal::writePainting(QString::fromStdString(path), file.second, paint, title, &error)) {
    s.err << error.toStdString() << '\n';
    return Status::Failed;
  }
  s.out << saidAs << " : " << path << '\n';
  return Status::Done;
}

Day dayAt(double julianDayUtc) {
  const CalendarDate date = calendarDate(julianDayUtc);
  return {static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)};
}

// The imported source of the map: --source, else the summaries SRS when the journal has
// some for those days, else Greenwich's. Their regions keep the records' own numbers.
std::optional<Followed> importedRegions(const journal::Session& session, RegionQuery query, const Request& s,
                                        Status& status, journal::RegionSource& source) {
  if (const std::string* named = s.value("--source")) {
    const auto chosen = journal::regionSourceNamed(*named);
    if (!chosen || *chosen == journal::RegionSource::Observer) {
      status = s.refuse(kImportedSourceMessage);
      return std::nullopt;
    }
    query.source = source = *chosen;
    return followedRegions(session, query, s, status);
  }
  query.source = source = journal::RegionSource::Srs;
  auto followed = followedRegions(session, query, s, status);
  if (!followed || !followed->sightings.empty()) return followed;
  query.source = source = journal::RegionSource::Greenwich;
  return followedRegions(session, query, s, status);
}

journal::RegionSet setOf(Followed&& followed) { return {std::move(followed.regions), std::move(followed.sightings)}; }

}  // namespace

Status drawRotation(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  const auto file = pictureFile(s);
  if (!file) return Status::Refused;
  Status status = Status::Done;
  journal::RotationPicture picture;
  picture.decimalSeparator = std::string(s.decimalSeparator);
  auto law = printedRotation(s, status, picture.subtitle);
  if (!law) return status;
  picture.law = std::move(*law);
  const QtHost qt;
  return writePicture([&](QPainter& p, const QRectF& a) { journal::paintRotationPicture(p, a, picture); }, *file,
                      QStringLiteral("Rotation différentielle du Soleil"), "Image enregistrée", s);
}

Status drawRotationMap(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  const auto rotation = wholeNumber(f[0]);
  if (!rotation || *rotation < 1 || *rotation > kLastRotation) return s.refuse(kRotationMessage);
  const auto start = carringtonRotationStart(*rotation), end = carringtonRotationStart(*rotation + 1);
  if (!start || !end) return s.refuse(kRotationMessage);
  const auto file = pictureFile(s);
  if (!file) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  const RegionQuery query{dayAt(*start - kMarginDays), dayAt(*end + kMarginDays), journal::RegionSource::Observer};
  Status status = Status::Done;
  auto observer = followedRegions(*session, query, s, status);
  if (!observer) return status;
  if (!numberFromImported(*session, query, *observer, s)) return Status::Failed;
  journal::RegionSource importedSource = journal::RegionSource::Srs;
  auto imported = importedRegions(*session, query, s, status, importedSource);
  if (!imported) return status;
  const auto map = journal::rotationMap(*rotation, setOf(std::move(*observer)), setOf(std::move(*imported)),
                                        importedSource == journal::RegionSource::Srs ? "SRS" : "Greenwich");
  if (!map) return s.refuse(kRotationMessage);
  const auto count = [&](bool isImported) {
    return std::count_if(map->marks.begin(), map->marks.end(),
                         [&](const journal::MapMark& m) { return m.imported == isImported; });
  };
  const QtHost qt;
  const Status written =
      writePicture([&](QPainter& p, const QRectF& a) { journal::paintRotationMap(p, a, *map); }, *file,
                   QString("Carte de la rotation de Carrington %1").arg(*rotation), "Carte enregistrée", s);
  if (written == Status::Done)
    s.out << "Régions : " << count(false) << " de l'observateur, " << count(true) << " "
          << (importedSource == journal::RegionSource::Srs ? "des résumés SRS" : "de Greenwich") << '\n';
  return written;
}

}  // namespace kavrel::cli::logbook
