// bare_window: an empty Qt window, the yardstick of measure-startup. What a program adds
// to its start-up is its time and memory beyond this one's.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare_window"));
  window.resize(400, 300);
  window.show();
  return application.exec();
}
