// A modal question with buttons of its own captions (with their access keys), as a window
// asks it before an action that would lose work: "save, discard, cancel". The first button
// is the default (Enter); Esc and the title bar's close give `escape`.
#pragma once

#include <QString>
#include <QStringList>

namespace kavrel::ui {

// The index of the button chosen among `buttons`.
[[nodiscard]] int askQuestion(const QString& text, const QStringList& buttons, int escape);

}  // namespace kavrel::ui
