// How the Disque window shows its photograph: the sample values shown black and white
// (typed, or taken from the image by "Contraste d'après l'image"), the heliographic grid
// shown or not, the zoom read out; and the window that grows, the photograph and the
// drawn disc taking the room it gains while the other controls keep their places.
//
// Levels are sample values as the image holds them (0 to 65535 for 16 bits, a FITS file's
// physical values), shown to a hundredth of the span between black and white or finer.
// The zoom is screen pixels per image pixel, in per cent (100 %: one pixel for one).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QRect>

#include "programs/disque/photo_overlay.h"
#include "ui/form.h"

namespace kavrel::disque {

class DiscView;
class PhotoView;

// The photograph's place in the window (twips): the drawn disc's square less the rows
// of these controls under it.
inline constexpr ui::Twips kPhotoViewAt{5280, 120, 7200, 6390};

// Adds the controls under the photograph to the window's table and its tab order, and
// has the window grow about the photograph. Called once the table has its tab order.
void addPhotoDisplayControls(ui::FormTable& form);

// A level as the fields show it, `span` the distance between black and white.
[[nodiscard]] std::string levelText(double value, double span, std::string_view decimalSeparator);
// Black and white as typed; nothing while either is not a number or both are equal.
[[nodiscard]] std::optional<DisplayStretch> stretchOf(std::string_view black, std::string_view white,
                                                      std::string_view decimalSeparator);
// "150 %", "2,9 %".
[[nodiscard]] std::string zoomText(double scale, std::string_view decimalSeparator);

// The handlers of those controls, for the window that holds them and the two views.
class PhotoDisplayControls {
 public:
  PhotoDisplayControls(ui::Form& form, PhotoView& photo, DiscView& disc, std::string decimalSeparator);

 private:
  void picPhoto_Image();
  void picPhoto_Zoom(double scale);
  void txtNiveau_Change();
  void cmdContraste_Click();
  void chkGrille_Click();
  void Form_Resize();
  void showStretch(DisplayStretch stretch);

  ui::Form& m_form;
  PhotoView& m_photo;
  DiscView& m_disc;
  std::string m_separator;
  QRect m_discAt;          // the drawn disc's place at the table's size, pixels
  bool m_writing = false;  // the fields written from a stretch, not typed
};

}  // namespace kavrel::disque
