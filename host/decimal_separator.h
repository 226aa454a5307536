// The decimal separator of the user's locale ("," in French, "." in English), for every
// number a window or the kavrel command shows, and for the years the precession reads
// strictly. Qt Core only.
#pragma once

#include <QLocale>
#include <string>

namespace kavrel {

[[nodiscard]] inline std::string localeDecimalSeparator() {
  return QLocale::system().decimalPoint().toStdString();
}

}  // namespace kavrel
