// Writing a file whole or not at all.
//
// The bytes go into a temporary file beside the target, which is synced and then renamed
// over it: a reader sees either the old file, intact, or the new one complete, never a
// part. Qt's PDF and SVG writers do not report the failures of their device, so every
// document is rendered into memory first and written here, where each step is checked.
// The reason given on failure is the system's, in French, for a message that names the
// file ("plus de place sur le disque").
#pragma once

#include <QByteArray>
#include <QString>

namespace kavrel::ui {

// Empty when `bytes` were written whole to `path`, else why not.
[[nodiscard]] QString writeWholeFile(const QString& path, const QByteArray& bytes);

// The French reason for an errno value, a general one for those not listed.
[[nodiscard]] QString fileErrorReason(int error);

}  // namespace kavrel::ui
