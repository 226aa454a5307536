// How a main window owns its About window (about_launcher.h).
#include "about/about_launcher.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace kavrel::about {

namespace {

// Between the main window's frame and the About window's.
constexpr int kGap = 8;

// `start` moved back so that [start, start + length) lies in [low, high), where it can.
int within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace

QPoint besideOwner(const QRect& owner, const QSize& about, const QRect& screen) {
  const int screenRight = screen.x() + screen.width();
  const int screenBottom = screen.y() + screen.height();
  const int right = owner.x() + owner.width() + kGap;
  if (right + about.width() <= screenRight && about.height() <= screen.height())
    return {right, within(owner.y(), about.height(), screen.y(), screenBottom)};
  const int below = owner.y() + owner.height() + kGap;
  if (below + about.height() <= screenBottom && about.width() <= screen.width())
    return {within(owner.x(), about.width(), screen.x(), screenRight), below};
  return {screen.x() + (screen.width() - about.width()) / 2, screen.y() + (screen.height() - about.height()) / 2};
}

AboutLauncher::AboutLauncher(const AboutVariant& about, ui::Desktop desktop, QWidget* owner)
    : m_about(about), m_desktop(desktop), m_owner(owner) {}

void AboutLauncher::show() {
  if (!m_window) {
    m_window = new AboutWindow(m_about, m_desktop, m_owner);
    // A closed window is deleted only once the event loop runs again; from its closing
    // on, it is gone for us.
    connect(m_window, &ui::Form::unloaded, this, [this] { m_window = nullptr; });
    place();
  }
  m_window->show();
  m_window->raise();
  m_window->activateWindow();
}

// Only when it is created: once open, it stays where the user has put it.
void AboutLauncher::place() {
  QScreen* screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  if (!m_owner) {
    m_window->move(besideOwner(free, m_window->size(), free));  // no room beside: centred
    return;
  }
  // Its frame will be as thick as the main window's, which the window manager has drawn.
  const QRect owner = m_owner->frameGeometry();
  m_window->move(besideOwner(owner, m_window->size() + (owner.size() - m_owner->geometry().size()), free));
}

void AboutLauncher::unload() {
  if (m_window) m_window->unload();
}

}  // namespace kavrel::about
