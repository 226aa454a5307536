// The core speaks UTF-8 std::string; the windows speak QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kavrel {

[[nodiscard]] inline QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] inline std::string toUtf8(const QString& text) { return text.toStdString(); }

}  // namespace kavrel
