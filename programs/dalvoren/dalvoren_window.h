// The solar-aspect window: a date and a time of Universal Time, and the aspect of the
// Sun at that instant (Julian day, right ascension, declination, rotation number,
// semi-diameter, P, B0, L0), rewritten after every change of a field; a one-page
// printed report and an About window.
#pragma once

#include <string>

#include "about/about_launcher.h"
#include "programs/date_fields.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::dalvoren {

[[nodiscard]] ui::FormTable dalvorenForm();

class Dalvoren : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  Dalvoren(ui::Desktop desktop, std::string decimalSeparator);

  [[nodiscard]] about::AboutLauncher& about() { return m_about; }

 private:
  void Form_Load();
  void Command1_Click();
  void cmdImprimer_Click();
  void cmdMenu_Click();
  void Calcul();

  ui::Desktop m_desktop;
  std::string m_decimalSeparator;
  DateFields m_fields;
  about::AboutLauncher m_about;
};

}  // namespace kavrel::dalvoren
