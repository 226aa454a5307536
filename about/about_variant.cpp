// The About window's five variants and its table of controls (about_variant.h).
#include "about/about_variant.h"

#include "ui/maker.h"

namespace kavrel::about {

namespace {

constexpr int kClientHeight = 3024;
constexpr int kSeparatorTop = 2040;
constexpr int kSeparatorLeft = 120;

}  // namespace

const AboutVariant& dalvorenAbout() {
  static const AboutVariant about = [] {
    AboutVariant a;
    a.programName = "Dalvoren";
    a.caption = "A propos d'Aspect du Soleil";
    a.title = "Aspect du Soleil";
    a.description =
        "Application destinée à calculer les éléments caractéristiques à l'aspect du Soleil. "
        "Elle est un des éléments qui composent le logiciel Kavrel destiné à réduire les "
        "observations solaires.";
    a.helpButton = true;
    a.icon = ProgramIcon::Dalvoren;
    a.titleAt = {960, 120, 3888, 240};
    a.descriptionAt = {960, 600, 4332, 732};
    a.helpAt = {1200, 1560, 3852, 372};
    return a;
  }();
  return about;
}

const AboutVariant& kestrumAbout() {
  static const AboutVariant about = [] {
    AboutVariant a;
    a.programName = "Kestrum";
    a.caption = "A propos de Kestrum";
    a.title = "Temps sidéral de Greenwich à 0 h TU";
    a.description =
        "Application destinée à calculer le temps sidéral de Greenwich pour une date donnée "
        "à 0 h TU.";
    a.icon = ProgramIcon::Kestrum;
    return a;
  }();
  return about;
}

const AboutVariant& precessionAbout() {
  static const AboutVariant about = [] {
    AboutVariant a;
    a.programName = "precession";
    a.caption = "A propos de Précession Equinoxe";
    a.title = "Précession Equinoxe";
    a.description =
        "Application destinée à convertir l'ascension droite et la déclinaison d'un astre, "
        "données pour une époque et un équinoxe en des valeurs correspondants à une autre "
        "époque et équinoxe (position moyenne).";
    a.secondNote =
        "Les valeurs sont approchées et portent sur des époques peu éloignées l'une de "
        "l'autre. Cette application a été conçue pour ne calculer qu'entre les années 1700 "
        "et 2200.";
    a.icon = ProgramIcon::Precession;
    a.clientWidth = 6636;
    a.separatorRight = 6480;
    a.picIcon = {240, 120, 432, 432};
    a.titleAt = {960, 120, 3888, 240};
    a.descriptionAt = {960, 480, 5532, 612};
    a.secondNoteAt = {960, 1200, 5532, 612};
    a.disclaimerAt = {132, 2148, 3876, 348};
    a.noticeAt = {120, 2520, 1332, 372};
    a.contactAt = {2160, 2520, 2412, 345};
    a.okAt = {4920, 2520, 1260, 345};
    return a;
  }();
  return about;
}

const AboutVariant& disqueAbout() {
  static const AboutVariant about = [] {
    AboutVariant a;
    a.programName = "Disque";
    a.caption = "A propos de Disque solaire";
    a.title = "Disque solaire et coordonnées héliographiques";
    a.description =
        "Application destinée à dessiner le disque solaire d'un instant et à lire la latitude et la "
        "longitude héliographiques des taches relevées sur un dessin ou une photographie.";
    a.icon = ProgramIcon::Disque;
    a.titleAt = {960, 240, 4332, 240};
    a.descriptionAt = {960, 720, 4332, 972};
    return a;
  }();
  return about;
}

const AboutVariant& journalAbout() {
  static const AboutVariant about = [] {
    AboutVariant a;
    a.programName = "Journal";
    a.caption = "A propos du Journal d'observation";
    a.title = "Journal d'observation des taches solaires";
    a.description =
        "Application destinée à tenir le journal des comptages de taches solaires (groupes g, taches f, "
        "nombre relatif R, nord et sud), à en tirer les moyennes du mois et les rapports mensuels des réseaux "
        "d'observateurs.";
    a.icon = ProgramIcon::Journal;
    a.titleAt = {960, 240, 4332, 240};
    a.descriptionAt = {960, 720, 4332, 972};
    return a;
  }();
  return about;
}

const AboutVariant& reseauAbout() {
  static const AboutVariant about = [] {
    AboutVariant a;
    a.programName = "Réseau";
    a.caption = "A propos de Réseau";
    a.title = "Réseau d'observateurs des taches solaires";
    a.description =
        "Application destinée à rassembler les comptages quotidiens des observateurs d'un réseau, à suivre le "
        "coefficient k de chacun et à tirer le nombre du réseau, jour par jour et mois par mois.";
    a.icon = ProgramIcon::Reseau;
    a.titleAt = {960, 240, 4332, 240};
    a.descriptionAt = {960, 720, 4332, 972};
    return a;
  }();
  return about;
}

QString helpPage() { return QString::fromUtf8(kWebHost) + QString::fromUtf8(kHelpPath); }

QString contactTarget() { return QStringLiteral("mailto:") + QString::fromUtf8(kContactAddress); }

ui::FormTable aboutTable(const AboutVariant& about) {
  using ui::Kind;
  ui::FormTable form;
  form.name = "apropos";
  form.title = about.caption;
  form.clientWidth = about.clientWidth;
  form.clientHeight = kClientHeight;
  form.minimiseButton = false;
  form.dialogFrame = true;  // placed beside its main window by the launcher

  auto& c = form.controls;
  c.push_back({.name = "picIcon", .kind = Kind::PictureBox, .at = about.picIcon});
  c.push_back({.name = "A", .kind = Kind::Label, .caption = about.title, .at = about.titleAt});
  c.push_back({.name = "Label1", .kind = Kind::Label, .caption = about.description,
               .at = about.descriptionAt, .wrap = true});
  if (!about.secondNote.isEmpty())
    c.push_back({.name = "Label2", .kind = Kind::Label, .caption = about.secondNote,
                 .at = about.secondNoteAt, .wrap = true});
  // The etched separator: a white line two pixels wide under a grey one.
  const ui::Twips separator{kSeparatorLeft, kSeparatorTop, about.separatorRight - kSeparatorLeft, 0};
  c.push_back({.name = "Line1", .kind = Kind::Line, .at = separator, .index = 0,
               .colour = QColor(255, 255, 255), .lineWidth = 2});
  c.push_back({.name = "Line1", .kind = Kind::Line, .at = separator, .index = 1,
               .colour = QColor(128, 128, 128), .lineWidth = 1});
  c.push_back({.name = "lblDisclaimer", .kind = Kind::Label, .caption = kDisclaimer,
               .at = about.disclaimerAt});
  c.push_back({.name = "Label3", .kind = Kind::Label, .caption = ui::kMakerNotice,
               .at = about.noticeAt, .wrap = true});
  c.push_back({.name = "cmdSysInfo", .kind = Kind::CommandButton,
               .caption = QStringLiteral("&Contact : ") + QString::fromUtf8(kContactAddress),
               .at = about.contactAt});
  c.push_back({.name = "cmdOK", .kind = Kind::CommandButton, .caption = "OK", .at = about.okAt});
  if (about.helpButton)
    c.push_back({.name = "Command1", .kind = Kind::CommandButton, .caption = kHelpCaption,
                 .at = about.helpAt});

  form.tabOrder = {"cmdOK", "cmdSysInfo"};
  if (about.helpButton) form.tabOrder << "Command1";
  return form;
}

}  // namespace kavrel::about
