// The programs' icons, drawn by the project (icons/draw_icons.cpp) and compiled into
// the library as Qt resources. Each is a sun disc bearing the program's symbol; the
// main window shows it in its title bar and the About window in its picture box.
#pragma once

#include <QIcon>

namespace kavrel {

enum class ProgramIcon { Farrowel, Gastrel, Kestrum, Precession, Dalvoren, Brennic, Disque };

// The icon at every size drawn (16, 32 and 64 pixels).
[[nodiscard]] QIcon programIcon(ProgramIcon program);

}  // namespace kavrel
