// The About window (about_window.h).
#include "about/about_window.h"

namespace kavrel::about {

AboutWindow::AboutWindow(const AboutVariant& about, ui::Desktop desktop, QWidget* owner)
    : Form(aboutTable(about), owner),
      m_programName(about.programName),
      m_messages(desktop.messages),
      m_links(desktop.links) {
  const QIcon icon = programIcon(about.icon);
  setWindowIcon(icon);
  setPicture("picIcon", icon);

  onClick("cmdOK", [this] { cmdOK_Click(); });
  onClick("cmdSysInfo", [this] { cmdSysInfo_Click(); });
  if (about.helpButton) onClick("Command1", [this] { Command1_Click(); });
}

void AboutWindow::cmdOK_Click() { unload(); }

void AboutWindow::cmdSysInfo_Click() { openLink(contactTarget()); }

void AboutWindow::Command1_Click() { openLink(helpPage()); }

void AboutWindow::openLink(const QString& target) {
  if (!m_links.open(target)) m_messages.show(kLinkFailed, ui::kStyleOkOnly, m_programName);
}

}  // namespace kavrel::about
