// The programs' icons from the compiled resources (program_icon.h).
#include "resources/program_icon.h"

#include <QString>

// A resource compiled into a static library registers itself only when something
// refers to it; this does, and must stand outside any namespace.
static void registerIcons() { Q_INIT_RESOURCE(icons); }

namespace kavrel {

namespace {

const char* fileName(ProgramIcon program) {
  switch (program) {
    case ProgramIcon::Farrowel: return "farrowel";
    case ProgramIcon::Gastrel: return "gastrel";
    case ProgramIcon::Kestrum: return "kestrum";
    case ProgramIcon::Precession: return "precession";
    case ProgramIcon::Dalvoren: return "dalvoren";
    case ProgramIcon::Brennic: return "brennic";
    case ProgramIcon::Disque: return "disque";
  }
  return "dalvoren";
}

}  // namespace

QIcon programIcon(ProgramIcon program) {
  static const bool registered = (registerIcons(), true);
  (void)registered;
  QIcon icon;
  for (int size : {16, 32, 64})
    icon.addFile(QStringLiteral(":/kavrel/icons/%1-%2.png").arg(QLatin1String(fileName(program))).arg(size),
                 QSize(size, size));
  return icon;
}

}  // namespace kavrel
