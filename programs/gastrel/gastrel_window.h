// The window of the date of a Julian day: a Julian day typed, its calendar date shown
// in French after every change.
#pragma once

#include <string>

#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::gastrel {

[[nodiscard]] ui::FormTable gastrelForm();

class Gastrel : public ui::Form {
  Q_OBJECT

 public:
  Gastrel(ui::Desktop desktop, std::string decimalSeparator);

 private:
  void txtJourJulien_Change();
  void errJourJulien();
  void errNombre();
  void cmdMenu_Click();
  // Shows a refusal, then empties the field and blanks the date.
  void refuse(const QString& message);

  ui::Desktop m_desktop;
  std::string m_decimalSeparator;
};

}  // namespace kavrel::gastrel
