// The About window of Dalvoren, Kestrum, precession, Disque, Journal and Réseau, as data.
//
// The six programs show the same window: the program's icon, title and description,
// a disclaimer, the maker's notice, a contact button and OK, and in Dalvoren a help
// button. What differs between them (texts, a few positions, the help button, the
// width) is one AboutVariant each; aboutTable() turns one into the window's table of
// controls.
#pragma once

#include <QString>

#include "resources/program_icon.h"
#include "ui/form_table.h"

namespace kavrel::about {

// The maker's addresses, opened by the contact and help buttons.
inline constexpr char kContactAddress[] = "kavrel@example.org";
inline constexpr char kWebHost[] = "https://www.example.org";
inline constexpr char kHelpPath[] = "/logiciels/data/Kavrel/aide";

// Shown when the desktop could open neither the mail nor the web page.
inline constexpr char kLinkFailed[] = "Une erreur s'est produite";

inline constexpr char kDisclaimer[] = "Logiciel interdit à la vente.";
inline constexpr char kHelpCaption[] = "Pour en savoir plus sur le logiciel Kavrel";

struct AboutVariant {
  QString programName;   // titles the failure message: "Dalvoren", "Kestrum", "precession", "Disque", "Journal", "Réseau"
  QString caption;       // the window's title
  QString title;         // label A
  QString description;   // Label1
  QString secondNote;    // Label2; empty where the program has none
  bool helpButton = false;  // Command1, opening the help page
  ProgramIcon icon = ProgramIcon::Dalvoren;
  int clientWidth = 5676;  // twips; the height is the same for all
  int separatorRight = 5520;
  ui::Twips picIcon{240, 360, 432, 432};
  ui::Twips titleAt{960, 240, 3888, 240};
  ui::Twips descriptionAt{960, 840, 4332, 612};
  ui::Twips secondNoteAt{};
  ui::Twips disclaimerAt{132, 2148, 2880, 312};
  ui::Twips noticeAt{4200, 2160, 1332, 372};
  ui::Twips contactAt{1200, 2520, 2412, 345};
  ui::Twips okAt{3840, 2520, 1212, 345};
  ui::Twips helpAt{};
};

[[nodiscard]] const AboutVariant& dalvorenAbout();
[[nodiscard]] const AboutVariant& kestrumAbout();
[[nodiscard]] const AboutVariant& precessionAbout();
[[nodiscard]] const AboutVariant& disqueAbout();
[[nodiscard]] const AboutVariant& journalAbout();
[[nodiscard]] const AboutVariant& reseauAbout();

// The help page: the web host and the help path.
[[nodiscard]] QString helpPage();
// The contact button's target.
[[nodiscard]] QString contactTarget();

// The window's table of controls.
[[nodiscard]] ui::FormTable aboutTable(const AboutVariant& about);

}  // namespace kavrel::about
