// Disque's synoptic map: the command and the map's window (synoptic_window.h).
#include "programs/disque/synoptic_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/display_mask.h"
#include "disque/synoptic_texts.h"
#include "host/qt_text.h"
#include "image/fits_writer.h"
#include "image/image_reader.h"
#include "image/png_writer.h"
#include "pictures/disc_page.h"
#include "ui/whole_file.h"

namespace kavrel::disque {

namespace {

constexpr char kImageFilters[] =
    "Images du Soleil (*.fits *.FITS *.fit *.FIT *.fts *.FTS *.fits.fz *.FITS.FZ *.png *.PNG *.jpg *.JPG *.jpeg "
    "*.JPEG *.tif *.TIF *.tiff *.TIFF);;Tous les fichiers (*)";
constexpr char kSaveFilters[] = "PNG (*.png);;FITS (*.fits *.fit *.fts)";
constexpr char kPictureName[] = "Carte synoptique de la rotation %1, longitude de 360 à gauche à 0 à droite";
constexpr char kSummaryName[] = "Photographies placées sur la carte";
constexpr char kStatusName[] = "État de la carte";
constexpr int kShownWidth = 960;  // pixels, the picture at first

QStringList defaultImagesDialog(const QString& folder) {
  ui::FileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kSynopticImagesTitle), folder,
                        QString::fromUtf8(kImageFilters));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QString defaultSaveDialog(const QString& suggested) {
  ui::FileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kSynopticSaveTitle), suggested,
                        QString::fromUtf8(kSaveFilters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.setWindowModality(Qt::ApplicationModal);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(filter.startsWith(QStringLiteral("FITS")) ? QStringLiteral("fits") : QStringLiteral("png"));
  });
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool isFitsName(const QString& path) {
  for (const char* suffix : {".fits", ".fit", ".fts"})
    if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) return true;
  return false;
}

QImage pictureOf(const SynopticMap& map) {
  const std::vector<std::uint32_t> rows = synopticGreyRows(map);
  return QImage(reinterpret_cast<const uchar*>(rows.data()), map.width, map.height,
                static_cast<qsizetype>(map.width) * 4, QImage::Format_RGB32)
      .copy();
}

// The photograph at `path` as the engine takes it, or why it could not be read.
SynopticPhoto synopticPhotoAt(const QString& path) {
  SynopticPhoto photo;
  photo.name = toUtf8(QFileInfo(path).fileName());
  image::ImageReadOutcome read = image::readImageFile(path);
  if (read.ok())
    photo.file = photoFileOf(std::move(read), photo.name);
  else
    photo.notRead = read.refusal;
  return photo;
}

}  // namespace

SynopticView::SynopticView(QWidget* owner, SynopticMap map, const QString& summary, ui::MessageBox& messages,
                           ui::SessionFolder& folder, SaveDialog saveDialog)
    : QWidget(owner, Qt::Window),
      m_map(std::move(map)),
      m_picture(pictureOf(m_map)),
      m_messages(messages),
      m_folder(folder),
      m_saveDialog(std::move(saveDialog)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(toQString(synopticFileName(m_map)));
  auto* layout = new QVBoxLayout(this);
  m_shown = new QLabel(this);
  m_shown->setAccessibleName(QString::fromUtf8(kPictureName).arg(m_map.rotation));
  m_shown->setMinimumSize(240, 120);
  m_shown->setAlignment(Qt::AlignCenter);
  m_summary = new QLabel(summary, this);
  m_summary->setWordWrap(true);
  m_summary->setAccessibleName(QString::fromUtf8(kSummaryName));
  m_status = new QLabel(this);
  m_status->setAccessibleName(QString::fromUtf8(kStatusName));
  layout->addWidget(m_shown, 1);
  layout->addWidget(m_summary);
  layout->addWidget(m_status);
  auto* buttons = new QHBoxLayout;
  m_saveButton = new QPushButton(QStringLiteral("&Enregistrer…"), this);
  auto* close = new QPushButton(QStringLiteral("&Fermer"), this);
  buttons->addStretch(1);
  buttons->addWidget(m_saveButton);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(m_saveButton, &QPushButton::clicked, this, [this] { save(); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  resize(kShownWidth, kShownWidth / 2 + 120);
}

QString SynopticView::status() const { return m_status->text(); }

QString SynopticView::summary() const { return m_summary->text(); }

void SynopticView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  showPicture();
}

// The whole map scaled into the room the window gives it, its proportions kept.
void SynopticView::showPicture() {
  m_shown->setPixmap(
      QPixmap::fromImage(m_picture.scaled(m_shown->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool SynopticView::save() {
  const QString path = m_saveDialog(m_folder.file(toQString(synopticFileName(m_map)) + QStringLiteral(".png")));
  if (path.isEmpty()) return false;
  m_folder.took(path);
  const QString reason = isFitsName(path) ? writeFits(path) : writePng(path);
  if (!reason.isEmpty()) {
    m_status->clear();
    m_messages.show(reason, ui::kStyleExclamation, QString());
    return false;
  }
  m_status->setText(QString::fromUtf8(kSynopticSaved).arg(QDir::toNativeSeparators(path)));
  return true;
}

QString SynopticView::writePng(const QString& path) const {
  const std::vector<std::uint32_t> rows = synopticGreyRows(m_map);
  const image::PngOutcome png =
      image::pngOfRgb32(rows.data(), m_map.width, m_map.height, static_cast<std::size_t>(m_map.width) * 4);
  const QString notWritten = QString::fromUtf8(kPageNotWritten);
  if (png.bytes.empty()) return notWritten.arg(path, toQString(png.refusal));
  const QString reason = ui::writeWholeFile(
      path, QByteArray(reinterpret_cast<const char*>(png.bytes.data()), static_cast<qsizetype>(png.bytes.size())));
  return reason.isEmpty() ? QString() : notWritten.arg(path, reason);
}

QString SynopticView::writeFits(const QString& path) const {
  return toQString(
      image::writeFitsImage(toUtf8(path), m_map.width, m_map.height, m_map.values, synopticFitsKeywords(m_map)));
}

SynopticCommand::SynopticCommand(QWidget& window, ui::MessageBox& messages, ui::SessionFolder& folder,
                                 std::string decimalSeparator)
    : m_window(window),
      m_messages(messages),
      m_folder(folder),
      m_separator(std::move(decimalSeparator)),
      m_imagesDialog(&defaultImagesDialog),
      m_choiceDialog(&askSynopticChoice),
      m_saveDialog(&defaultSaveDialog) {}

SynopticCommand::~SynopticCommand() = default;

void SynopticCommand::run() {
  const QStringList paths = m_imagesDialog(m_folder.path());
  if (paths.isEmpty()) return;
  m_folder.took(paths.first());
  std::vector<std::string> names;
  for (const QString& path : paths) names.push_back(toUtf8(QFileInfo(path).fileName()));
  const std::optional<SynopticChoice> choice =
      m_choiceDialog(toQString(photographsChosenText(names)), proposed(paths));
  if (!choice) return;
  const RotationOutcome rotation = rotationOf(toUtf8(choice->rotation));
  if (!rotation.rotation) return refuse(toQString(rotation.refusal));
  const StepOutcome step = mapStepOf(toUtf8(choice->step), m_separator);
  if (!step.step) return refuse(toQString(step.refusal));
  const SynopticRequest request{*rotation.rotation, *step.step, static_cast<std::size_t>(paths.size())};
  std::optional<SynopticOutcome> made = make(request, paths);
  if (!made) return;
  if (!made->map) return refuse(toQString(made->refusal) + leftOut(*made));
  if (const QString left = leftOut(*made); !left.isEmpty()) refuse(QString::fromUtf8(kSynopticLeftOut) + left);
  if (m_view) m_view->close();
  const QString summary =
      toQString(synopticSummary(*made, m_separator) + "\n" + synopticGridText(*made->map, m_separator));
  m_view = new SynopticView(&m_window, std::move(*made->map), summary, m_messages, m_folder, m_saveDialog);
  m_view->show();
}

// The rotation under way at the first photograph, and the default step.
SynopticChoice SynopticCommand::proposed(const QStringList& paths) const {
  const SynopticPhoto first = synopticPhotoAt(paths.first());
  return {first.file ? toQString(rotationUnderWayText(*first.file)) : QString(),
          toQString(formatMask(kDefaultMapStep, "0.0", m_separator))};
}

std::optional<SynopticOutcome> SynopticCommand::make(const SynopticRequest& request, const QStringList& paths) {
  SynopticOutcome outcome;
  const SynopticSource source = [&paths](std::size_t index) {
    return synopticPhotoAt(paths[static_cast<qsizetype>(index)]);
  };
  const bool finished = ui::runWithProgress(
      QString::fromUtf8(kSynopticImagesTitle), QString::fromUtf8(kSynopticProgress).arg(request.rotation),
      static_cast<int>(request.count),
      [&](ui::TaskProgress& progress) {
        outcome = makeSynopticMap(request, source, [&progress](std::size_t index, std::size_t) {
          return progress.step(static_cast<int>(index));
        });
      },
      m_progressShown);
  if (!finished) return std::nullopt;
  return outcome;
}

QString SynopticCommand::leftOut(const SynopticOutcome& outcome) {
  QString lines;
  for (const std::string& line : synopticRefusals(outcome)) lines += u'\n' + toQString(line);
  return lines;
}

void SynopticCommand::refuse(const QString& text) { m_messages.show(text, ui::kStyleExclamation, QString()); }

}  // namespace kavrel::disque
