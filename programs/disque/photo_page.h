// The printed page of a photograph: the heading of the instant, the file's line, the image
// with its overlay as large as the page's width and two thirds of its height allow, and the
// spots' table under it, continued on further pages when it is long.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace kavrel::disque {

struct PhotoPage {
  QString heading;   // the instant, as the drawn disc's page gives it
  QString fileLine;  // the image's file, format and size
  QImage picture;    // with its overlay
  QStringList columns;
  std::vector<std::vector<std::string>> rows;  // a cell a column
};

// Paints on an active painter over `device`, origin at the printable area's top-left.
// False when there is no picture or a new page cannot be begun.
bool paintPhotoPage(QPainter& painter, QPagedPaintDevice& device, const PhotoPage& page);

}  // namespace kavrel::disque
