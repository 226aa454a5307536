// The Julian-day window: a date and a time of Universal Time, and their Julian day,
// rewritten after every change of a field.
#pragma once

#include <string>

#include "programs/date_fields.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::farrowel {

[[nodiscard]] ui::FormTable farrowelForm();

class Farrowel : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  Farrowel(ui::Desktop desktop, std::string decimalSeparator);

 private:
  void Form_Load();
  void cmdMenu_Click();
  void jourjulien();

  ui::Desktop m_desktop;
  std::string m_decimalSeparator;
  DateFields m_fields;
};

}  // namespace kavrel::farrowel
