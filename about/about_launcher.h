// How a main window owns its About window.
//
// The About window exists only while it is open: "&A propos" creates it on first use
// and shows it beside the main window without blocking it (pressing again brings the
// same window forward); "OK" or its close button delete it, and the next "&A propos"
// creates it afresh. "&Quitter" calls unload() before closing the main window: it
// deletes the About window if there is one and never creates or shows it.
//
//   AboutLauncher m_about{kavrel::about::kestrumAbout(), desktop, this};
//   onClick("Command1", [this] { m_about.show(); });
//   onClick("cmdMenu", [this] { m_about.unload(); unload(); });
#pragma once

#include <QObject>
#include <QPointer>

#include "about/about_window.h"

namespace kavrel::about {

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
  const AboutVariant& m_about;
  ui::Desktop m_desktop;
  QPointer<QWidget> m_owner;
  QPointer<AboutWindow> m_window;
};

}  // namespace kavrel::about
