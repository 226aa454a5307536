// The Qt application of the painting actions (see qt_host.h).
#include "cli/qt_host.h"

#include <QGuiApplication>

#include <cstdio>

namespace kavrel::cli {
namespace {

void keepErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

QtHost::QtHost() : m_previous(qInstallMessageHandler(keepErrorsOnly)) {
  if (QCoreApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

QtHost::~QtHost() {
  m_application.reset();
  qInstallMessageHandler(m_previous);
}

}  // namespace kavrel::cli
