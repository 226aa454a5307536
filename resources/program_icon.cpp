// The programs' icons, painted when asked (program_icon.h).
#include "resources/program_icon.h"

#include <QPixmap>

#include "resources/icon_drawing.h"

namespace kavrel {

QIcon programIcon(ProgramIcon program) {
  QIcon icon;
  for (int size : {16, 32, 64}) icon.addPixmap(QPixmap::fromImage(drawnIcon(program, size)));
  return icon;
}

}  // namespace kavrel
