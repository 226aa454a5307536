// The precession window: a star's right ascension and declination for a reference year,
// a target year, and on "&Calcul" the position carried to the target year; with an
// About window.
#pragma once

#include <string>

#include "about/about_launcher.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::precession {

[[nodiscard]] ui::FormTable precessionForm();

class Precession : public ui::Form {
  Q_OBJECT

 public:
  Precession(ui::Desktop desktop, std::string decimalSeparator);

  [[nodiscard]] about::AboutLauncher& about() { return m_about; }

 private:
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Text1_Change();
  void Text2_Change();
  void Text3_Change();
  void Text4_Change();
  void err_donnees();
  void err_annee();
  // Empties Text5 then Text6: results never stand beside other inputs than theirs.
  void emptyResults();

  ui::Desktop m_desktop;
  std::string m_decimalSeparator;
  about::AboutLauncher m_about;
};

}  // namespace kavrel::precession
