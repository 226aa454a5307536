// The sidereal-time window: a date, its Julian day at 0 h UT and Greenwich mean sidereal
// time at 0 h UT, rewritten after every change of a field; with an About window.
#pragma once

#include <string>

#include "about/about_launcher.h"
#include "programs/date_fields.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::kestrum {

[[nodiscard]] ui::FormTable kestrumForm();

class Kestrum : public ui::Form {
  Q_OBJECT

 public:
  Kestrum(ui::Desktop desktop, std::string decimalSeparator);

  [[nodiscard]] about::AboutLauncher& about() { return m_about; }

 private:
  void Form_Load();
  void Command1_Click();
  void cmdMenu_Click();
  void Calcul();

  ui::Desktop m_desktop;
  std::string m_decimalSeparator;
  DateFields m_fields;
  about::AboutLauncher m_about;
};

}  // namespace kavrel::kestrum
