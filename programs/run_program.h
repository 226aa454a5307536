// The start of every program: one application, the desktop of the running session, the
// main window, and the event loop until the last window is closed.
#pragma once

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string>

#include "host/decimal_separator.h"
#include "ui/application_style.h"
#include "ui/qt_desktop.h"
#include "ui/result_label.h"

namespace kavrel {

template <typename MainWindow>
int runProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  ui::installApplicationStyle();
  ui::installResultAccessibility();
  // Qt's own dialogs (the file dialog of a PDF saved instead of printed, the buttons of
  // the message boxes) speak the user's language, French for our users.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale::system(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  ui::QtDesktop desktop;
  // The window deletes itself when it is unloaded.
  auto* window = new MainWindow(desktop.desktop(), localeDecimalSeparator());
  window->show();
  return application.exec();
}

}  // namespace kavrel
