// How a main window owns its About window (about_launcher.h).
#include "about/about_launcher.h"

namespace kavrel::about {

AboutLauncher::AboutLauncher(const AboutVariant& about, ui::Desktop desktop, QWidget* owner)
    : m_about(about), m_desktop(desktop), m_owner(owner) {}

void AboutLauncher::show() {
  if (!m_window) {
    m_window = new AboutWindow(m_about, m_desktop, m_owner);
    // A closed window is deleted only once the event loop runs again; from its closing
    // on, it is gone for us.
    connect(m_window, &ui::Form::unloaded, this, [this] { m_window = nullptr; });
  }
  m_window->show();
  m_window->raise();
  m_window->activateWindow();
}

void AboutLauncher::unload() {
  if (m_window) m_window->unload();
}

}  // namespace kavrel::about
