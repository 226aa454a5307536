// The one Qt application of kavrel-dessin: the painting actions draw with Qt's fonts, which
// need a graphical application, and read images through Qt's plugins, found through the
// application object. Off screen, no display needed. Qt Gui.
#pragma once

#include <QtGlobal>

#include <memory>

class QGuiApplication;

namespace kavrel::cli {

// Lives while an action paints or reads; Qt's own notices (the platform, the runtime
// directory, a decoder's complaint) are not the command's output, its errors are.
class QtHost {
 public:
  QtHost();
  ~QtHost();
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

 private:
  int m_argc = 1;
  char m_name[7] = "kavrel";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QGuiApplication> m_application;
  QtMessageHandler m_previous = nullptr;
};

}  // namespace kavrel::cli
