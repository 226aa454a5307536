// How the Disque window shows its photograph (photo_display.h).
#include "programs/disque/photo_display.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

#include "common/display_mask.h"
#include "common/strict_number.h"
#include "programs/disque/disc_view.h"
#include "programs/disque/photo_view.h"
#include "host/qt_text.h"

namespace kavrel::disque {

using ui::Align;
using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kRow = kPhotoViewAt.top + kPhotoViewAt.height + 60;  // the levels and the button
constexpr int kSecondRow = kRow + 450;                             // the grid and the zoom
constexpr int kLabelHeight = 252;
constexpr int kFieldHeight = 285;
constexpr int kButtonHeight = 375;
constexpr int kDecimalsAtMost = 12;

const QString kStripControls[] = {"lblNoir", "txtNoir", "lblBlanc", "txtBlanc", "cmdContraste",
                                  "chkGrille", "lblZoomCaption", "lblZoom"};

}  // namespace

void addPhotoDisplayControls(ui::FormTable& form) {
  const int left = kPhotoViewAt.left;
  const int field = kRow + (kButtonHeight - kFieldHeight) / 2;
  const int label = kRow + (kButtonHeight - kLabelHeight) / 2;
  std::vector<ControlRow>& c = form.controls;
  c.push_back({.name = "lblNoir", .caption = "Noir", .at = {left, label, 540, kLabelHeight}});
  c.push_back({.name = "txtNoir", .kind = Kind::TextBox, .at = {left + 540, field, 1200, kFieldHeight},
               .widest = "-99999,999", .namedBy = {"lblNoir"},
               .accessibleName = "Valeur des pixels affichés en noir"});
  c.push_back({.name = "lblBlanc", .caption = "Blanc", .at = {left + 1860, label, 600, kLabelHeight}});
  c.push_back({.name = "txtBlanc", .kind = Kind::TextBox, .at = {left + 2460, field, 1200, kFieldHeight},
               .widest = "-99999,999", .namedBy = {"lblBlanc"},
               .accessibleName = "Valeur des pixels affichés en blanc"});
  c.push_back({.name = "cmdContraste", .kind = Kind::CommandButton, .caption = "Contraste d'apr&ès l'image",
               .at = {left + 3780, kRow, kPhotoViewAt.width - 3780, kButtonHeight}});
  c.push_back({.name = "chkGrille", .kind = Kind::CheckBox, .caption = "Grille h&éliographique",
               .at = {left, kSecondRow, 3600, 255}, .accessibleName = "Grille héliographique sur la photographie"});
  c.push_back({.name = "lblZoomCaption", .caption = "Zoom", .at = {left + 3780, kSecondRow, 720, kLabelHeight}});
  c.push_back({.name = "lblZoom", .at = {left + 4560, kSecondRow, 1200, kLabelHeight}, .align = Align::Centre,
               .background = Background::Window, .widest = "1600 %",
               .accessibleName = "Zoom de la photographie, pour cent"});
  // After the page's commands, before the photograph's column.
  const qsizetype at = std::max<qsizetype>(0, form.tabOrder.indexOf("cmdOuvrir"));
  form.tabOrder.insert(at, "chkGrille");
  form.tabOrder.insert(at, "cmdContraste");
  form.tabOrder.insert(at, "txtBlanc");
  form.tabOrder.insert(at, "txtNoir");
  form.grows = kPhotoViewAt;
}

std::string levelText(double value, double span, std::string_view separator) {
  // Decimals for a hundredth of the span: none for 8 or 16 bits, some for a FITS file's
  // physical values between 0 and 1.
  const double wanted = std::ceil(std::log10(100 / std::abs(span)));
  const int decimals = std::isfinite(wanted) ? std::clamp(static_cast<int>(wanted), 0, kDecimalsAtMost) : 0;
  return formatMask(value, decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0'),
                    separator);
}

std::optional<DisplayStretch> stretchOf(std::string_view black, std::string_view white, std::string_view separator) {
  const std::optional<double> shownBlack = parseStrictNumber(black, separator);
  const std::optional<double> shownWhite = parseStrictNumber(white, separator);
  if (!shownBlack || !shownWhite || *shownBlack == *shownWhite || !std::isfinite(*shownWhite - *shownBlack))
    return std::nullopt;
  return DisplayStretch{*shownBlack, *shownWhite};
}

std::string zoomText(double scale, std::string_view separator) {
  const double percent = scale * 100;
  return formatMask(percent, percent < 10 ? "0.0" : "0", separator) + " %";
}

PhotoDisplayControls::PhotoDisplayControls(ui::Form& form, PhotoView& photo, DiscView& disc,
                                           std::string decimalSeparator)
    : m_form(form), m_photo(photo), m_disc(disc), m_separator(std::move(decimalSeparator)),
      m_discAt(disc.geometry()) {
  m_form.setValue("chkGrille", photo.gridShown() ? 1 : 0);
  m_photo.onImage([this] { picPhoto_Image(); });
  m_photo.onZoom([this](double scale) { picPhoto_Zoom(scale); });
  m_form.onChange("txtNoir", [this] { txtNiveau_Change(); });
  m_form.onChange("txtBlanc", [this] { txtNiveau_Change(); });
  m_form.onClick("cmdContraste", [this] { cmdContraste_Click(); });
  m_form.onClick("chkGrille", [this] { chkGrille_Click(); });
  m_form.onResize([this] { Form_Resize(); });
  Form_Resize();
  picPhoto_Image();
}

// The controls under the photograph lie under the drawn disc while there is none.
void PhotoDisplayControls::picPhoto_Image() {
  const bool open = m_photo.image() != nullptr;
  for (const QString& name : kStripControls) m_form.control(name)->setVisible(open);
  if (!open) return;
  showStretch(m_photo.stretch());
  picPhoto_Zoom(m_photo.zoom());
}

void PhotoDisplayControls::picPhoto_Zoom(double scale) { m_form.setText("lblZoom", toQString(zoomText(scale, m_separator))); }

// A level being typed ("-", "12,") leaves the display as it was until both are numbers.
void PhotoDisplayControls::txtNiveau_Change() {
  if (m_writing) return;
  const std::optional<DisplayStretch> typed =
      stretchOf(toUtf8(m_form.text("txtNoir")), toUtf8(m_form.text("txtBlanc")), m_separator);
  if (typed) m_photo.setStretch(*typed);
}

void PhotoDisplayControls::cmdContraste_Click() {
  m_photo.setStretch(m_photo.automaticStretch());
  showStretch(m_photo.stretch());
}

void PhotoDisplayControls::chkGrille_Click() { m_photo.setGridShown(m_form.value("chkGrille") != 0); }

void PhotoDisplayControls::Form_Resize() {
  const QSize growth = m_form.growth();
  m_disc.setGeometry(m_discAt.adjusted(0, 0, growth.width(), growth.height()));
  m_photo.setGeometry(m_form.toPixels(kPhotoViewAt).adjusted(0, 0, growth.width(), growth.height()));
}

void PhotoDisplayControls::showStretch(DisplayStretch stretch) {
  const double span = stretch.white - stretch.black;
  m_writing = true;
  m_form.setText("txtNoir", toQString(levelText(stretch.black, span, m_separator)));
  m_form.setText("txtBlanc", toQString(levelText(stretch.white, span, m_separator)));
  m_writing = false;
}

}  // namespace kavrel::disque
