// The About window shared by Dalvoren, Kestrum and precession (see about_variant.h for
// what it shows).
//
// "OK" and the title bar's close unload it. The contact button asks the desktop to
// write a mail to the maker and, in Dalvoren, the help button to open the maker's help
// page; when the desktop cannot, a message says so, titled with the program's name,
// and the window stays open. It never touches the main window.
#pragma once

#include "about/about_variant.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel::about {

class AboutWindow : public ui::Form {
  Q_OBJECT

 public:
  AboutWindow(const AboutVariant& about, ui::Desktop desktop, QWidget* owner = nullptr);

 private:
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Command1_Click();
  void openLink(const QString& target);

  QString m_programName;
  ui::MessageBox& m_messages;
  ui::LinkOpener& m_links;
};

}  // namespace kavrel::about
