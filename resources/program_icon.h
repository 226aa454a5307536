// The programs' icons, painted in code (icon_drawing.h) rather than decoded from image
// files, so that a window opens without loading Qt's image plugins. Each is a sun disc
// bearing the program's symbol; the main window shows it in its title bar and the About
// window in its picture box.
#pragma once

#include <QIcon>

namespace kavrel {

enum class ProgramIcon { Farrowel, Gastrel, Kestrum, Precession, Dalvoren, Brennic, Disque, Journal, Reseau };

// The icon at 16, 32 and 64 pixels.
[[nodiscard]] QIcon programIcon(ProgramIcon program);

}  // namespace kavrel
