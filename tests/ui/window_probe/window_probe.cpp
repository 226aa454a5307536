// A plugin any of the programs loads when started with QT_QPA_GENERIC_PLUGINS=kavrelwindowprobe
// and the plugins/ folder it is built into on QT_PLUGIN_PATH: once the program's event loop runs and its
// window is on screen, it prints what the window shows, one "name=text" a line for every
// named label and text box, and closes the window. The program itself is run unchanged.
#include <QApplication>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

namespace {

void printWindows() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    std::printf("window=%s\n", qPrintable(window->objectName()));
    for (QWidget* control : window->findChildren<QWidget*>()) {
      QString text;
      if (auto* label = qobject_cast<QLabel*>(control))
        text = label->text();
      else if (auto* field = qobject_cast<QLineEdit*>(control))
        text = field->text();
      else
        continue;
      if (control->objectName().isEmpty()) continue;
      std::printf("%s=%s\n", qPrintable(control->objectName()), qPrintable(text.replace(u'\n', u' ')));
    }
  }
  std::fflush(stdout);
}

bool anyWindowShown() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) return true;
  return false;
}

}  // namespace

class WindowProbe : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "window_probe.json")

 public:
  QObject* create(const QString&, const QString&) override {
    // Loaded while the application starts, before the program makes its window: look
    // from the event loop on, until the window is there.
    auto* probe = new QObject;
    QMetaObject::invokeMethod(
        probe,
        [probe] {
          auto* poll = new QTimer(probe);
          QObject::connect(poll, &QTimer::timeout, probe, [] {
            if (!anyWindowShown()) return;
            printWindows();
            // Closed as by the user; the program ends on its own when its last window goes.
            QApplication::closeAllWindows();
          });
          poll->start(20);
        },
        Qt::QueuedConnection);
    return probe;
  }
};

#include "window_probe.moc"
