// The one piece of logic shared by every line printer (desktop.h).
#include "ui/desktop.h"

namespace kavrel::ui {

QString printedNumber(long long number) {
  const QString digits = QString::number(number);  // "-" already in place when negative
  return (number < 0 ? digits : QStringLiteral(" ") + digits) + QStringLiteral(" ");
}

}  // namespace kavrel::ui
