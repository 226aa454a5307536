// The desktop of a running program, on Qt (qt_desktop.h).
//
// Message box styles combine an icon (16 stop, 32 question, 48 exclamation,
// 64 information) with a set of buttons (0: OK alone). The windows only use OK alone;
// other button sets also show OK alone.
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <vector>

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
  const QUrl url(target, QUrl::TolerantMode);
  if (target.isEmpty() || !url.isValid()) return false;
  const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (xdgOpen.isEmpty()) return false;

  // Not owned by the application: one still running when the program ends is left alone.
  auto* process = new QProcess;
  process->setProgram(xdgOpen);
  process->setArguments({QString::fromLatin1(url.toEncoded())});
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process->start();
  if (!process->waitForStarted()) {
    delete process;
    return false;
  }

  // Repaints go on while waiting; clicks and keys wait for the answer, so that a
  // message about this link comes before anything a further click brings.
  QEventLoop waiting;
  QObject::connect(process, &QProcess::finished, &waiting, &QEventLoop::quit);
  QTimer::singleShot(m_wait, &waiting, &QEventLoop::quit);
  waiting.exec(QEventLoop::ExcludeUserInputEvents);

  if (process->state() != QProcess::NotRunning) {
    // Kept in a list that is never destroyed: deleting a running QProcess would kill it,
    // and what it opened with it.
    static auto* const stillOpening = new std::vector<QProcess*>;
    stillOpening->push_back(process);
    QObject::connect(process, &QProcess::finished, process, [process] {
      std::erase(*stillOpening, process);
      process->deleteLater();
    });
    return true;
  }
  const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
  delete process;
  return opened;
}

}  // namespace kavrel::ui
