// Saves the programs' icons (resources/icon_drawing.h) as the PNG files of the desktop's
// icon theme: 16, 32, 48 (its baseline size), 64 and 128 pixels (software centres).
//
// The PNGs are committed beside this file; run it again only after changing the drawings:
//   cmake -DKAVREL_DRAW_ICONS=ON ... && ninja kavrel_draw_icons
//   ./resources/kavrel_draw_icons <source>/resources/icons
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "resources/icon_drawing.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  using kavrel::ProgramIcon;
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (ProgramIcon program : {ProgramIcon::Farrowel, ProgramIcon::Gastrel, ProgramIcon::Kestrum,
                              ProgramIcon::Precession, ProgramIcon::Dalvoren, ProgramIcon::Brennic,
                              ProgramIcon::Disque, ProgramIcon::Journal, ProgramIcon::Reseau}) {
    for (int size : {16, 32, 48, 64, 128}) {
      const QString file =
          out.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(kavrel::iconName(program))).arg(size));
      if (!kavrel::drawnIcon(program, size).save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
      }
    }
  }
  return 0;
}
