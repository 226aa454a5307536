// The two-date window: for each of two dates at 0 h UT its Julian day, rotation number
// and L0, rewritten after every change of a field; "&Calcul" lists the rotation starts
// between the two dates and "&Imprimer" prints that list.
#pragma once

#include <array>
#include <string>

#include "programs/date_fields.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::brennic {

[[nodiscard]] ui::FormTable brennicForm();

class Brennic : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  Brennic(ui::Desktop desktop, std::string decimalSeparator);

  // The lines of the last calculation that got past the date checks, and the index of
  // its last line. Emptying the list leaves them as they are: they are what
  // "&Imprimer" walks through.
  [[nodiscard]] const std::array<QString, 101>& lignes() const { return m_lignes; }
  [[nodiscard]] int dernLigne() const { return m_dernLigne; }

 private:
  void Form_Load();
  void txtJour_Change();
  void txtMois_Change();
  void txtAnnée_Change();
  void txtJourF_Change();
  void txtMoisF_Change();
  void txtAnnéeF_Change();
  void txtJour_Click();
  void txtMois_Click();
  void txtAnnée_Click();
  void txtJourF_Click();
  void txtMoisF_Click();
  void txtAnnéeF_Click();
  void cmdCalcul_Click();
  void cmdNettoyer_Click();
  void cmdImprimer_Click();
  void cmdMenu_Click();
  void Calcul1();
  void Calcul2();
  // Both dates back to today, then both recomputed.
  void aujourdhui();
  void errDate();
  void msgLimite();
  void viderListe();
  // One date's row: its three fields read, its three result labels written (the second
  // date's names end in `suffix` "F").
  void calcul(const QString& suffix);

  ui::Desktop m_desktop;
  std::string m_decimalSeparator;
  DateFields m_fields;
  std::array<QString, 101> m_lignes{};
  int m_dernLigne = 0;
};

}  // namespace kavrel::brennic
