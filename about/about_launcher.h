// How a main window owns its About window.
//
// The About window exists only while it is open: "&A propos" creates it on first use
// and shows it beside the main window, where it hides none of it (besideOwner()), without
// blocking it (pressing again brings the same window forward); "OK" or its close button
// delete it, and the next "&A propos" creates it afresh. "&Quitter" calls unload() before closing the main window: it
// deletes the About window if there is one and never creates or shows it.
//
//   AboutLauncher m_about{kavrel::about::kestrumAbout(), desktop, this};
//   onClick("Command1", [this] { m_about.show(); });
//   onClick("cmdMenu", [this] { m_about.unload(); unload(); });
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include "about/about_window.h"

namespace kavrel::about {

// Where an About window of frame size `about` opens so as to leave its main window
// (`owner`, frame included) in view on a screen whose free area is `screen`: the top-left
// corner of its frame to the right of the main window, else below it, else (the screen
// holds neither) centred on the screen. Beside the main window it starts level with it,
// moved back onto the screen where it would stick out.
[[nodiscard]] QPoint besideOwner(const QRect& owner, const QSize& about, const QRect& screen);

class AboutLauncher : public QObject {
  Q_OBJECT

 public:
  // `owner` is the main window: the About window stays above it, out of the taskbar,
  // and goes with it.
  AboutLauncher(const AboutVariant& about, ui::Desktop desktop, QWidget* owner);

  void show();
  void unload();

  // The About window while it is loaded, otherwise null.
  [[nodiscard]] AboutWindow* window() const { return m_window; }

 private:
  void place();

  const AboutVariant& m_about;
  ui::Desktop m_desktop;
  QPointer<QWidget> m_owner;
  QPointer<AboutWindow> m_window;
};

}  // namespace kavrel::about
