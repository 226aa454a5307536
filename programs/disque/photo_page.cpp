// The printed page of a photograph (photo_page.h).
#include "programs/disque/photo_page.h"

#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace kavrel::disque {

bool paintPhotoPage(QPainter& painter, QPagedPaintDevice& device, const PhotoPage& page) {
  if (page.picture.isNull()) return false;
  const QSizeF sheet(device.width(), device.height());
  QFont font = painter.font();
  font.setPointSizeF(10);
  painter.setFont(font);
  const double line = painter.fontMetrics().height() * 1.3;
  const auto write = [&](double left, double top, double width, Qt::Alignment align, const QString& text) {
    painter.drawText(QRectF(left, top, width, line), align | Qt::AlignVCenter, text);
  };

  double y = 0;
  write(0, y, sheet.width(), Qt::AlignLeft, page.heading);
  y += line;
  write(0, y, sheet.width(), Qt::AlignLeft, page.fileLine);
  y += line * 1.5;
  const QSizeF size = QSizeF(page.picture.size()).scaled(QSizeF(sheet.width(), sheet.height() * 2 / 3), Qt::KeepAspectRatio);
  const QRectF target((sheet.width() - size.width()) / 2, y, size.width(), size.height());
  painter.drawImage(target, page.picture);

  y = target.bottom() + line;
  const double column = page.columns.isEmpty() ? sheet.width() : sheet.width() / page.columns.size();
  for (int i = 0; i < page.columns.size(); ++i) write(i * column, y, column, Qt::AlignRight, page.columns[i]);
  for (const std::vector<std::string>& cells : page.rows) {
    y += line;
    if (y + line > sheet.height()) {
      if (!device.newPage()) return false;
      y = 0;
    }
    for (std::size_t i = 0; i < cells.size(); ++i)
      write(static_cast<double>(i) * column, y, column, Qt::AlignRight, QString::fromStdString(cells[i]));
  }
  return true;
}

}  // namespace kavrel::disque
