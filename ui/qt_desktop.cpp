// The desktop of a running program, on Qt (qt_desktop.h).
//
// Message box styles combine an icon (16 stop, 32 question, 48 exclamation,
// 64 information) with a set of buttons (0: OK alone). The windows only use OK alone;
// other button sets also show OK alone.
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace kavrel::ui {

namespace {

QMessageBox::Icon iconOf(int style) {
  switch (style & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

void QtMessageBox::show(const QString& text, int style, const QString& title) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QMessageBox box(iconOf(style),
                  title.isEmpty() ? QGuiApplication::applicationDisplayName() : title, lines,
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

LocalTime SystemClock::now() const {
  const QDateTime now = QDateTime::currentDateTime();
  return {now.date().day(), now.date().month(), now.date().year(), now.time().hour(),
          now.time().minute()};
}

bool QtLinkOpener::open(const QString& target) {
  return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

}  // namespace kavrel::ui
