// The disc window (form Disque).
#include "programs/disque/disque_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableWidget>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "about/about_variant.h"
#include "common/display_mask.h"
#include "calculators/aspect_texts.h"
#include "programs/disque/disc_view.h"
#include "image/image_reader.h"
#include "photo/limb.h"
#include "disque/photo_caption.h"
#include "programs/disque/photo_display.h"
#include "programs/disque/photo_page.h"
#include "programs/disque/photo_view.h"
#include "programs/disque/synoptic_window.h"
#include "ui/file_dialog.h"
#include "ui/print_dialog.h"
#include "ui/question.h"
#include "ui/whole_file.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {

using ui::Align;
using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kLeft = 120;
constexpr int kColumnWidth = 4920;
constexpr int kResultLeft = 2400;
constexpr int kResultWidth = 1980;
constexpr int kUnitLeft = 4440;
constexpr int kLabelHeight = 252;
constexpr int kFieldHeight = 285;
constexpr int kButtonHeight = 375;
const ui::Twips kDiscAt{5280, 120, 7200, 7200};
// The photograph's column, right of the disc.
constexpr int kPhotoLeft = 12720;
constexpr int kPhotoWidth = 5040;
// The photograph's status and the help under it share one stretch of the column: the
// status takes the lines its text needs, the help what is left (fitPhotoTexts).
constexpr ui::Twips kPhotoStatusAt{kPhotoLeft, 6000, kPhotoWidth, 510};
constexpr ui::Twips kPhotoHelpAt{kPhotoLeft, 6585, kPhotoWidth, 2985};
// Under the help, level with the page's commands: the synoptic map of a series of
// photographs.
constexpr ui::Twips kSynopticAt{kPhotoLeft, 9600, 2880, kButtonHeight};
constexpr int kHelpLinesKept = 3;

// The engines' UTF-8 texts as Qt shows them.
QStringList qtTexts(const std::vector<std::string>& texts) {
  QStringList shown;
  for (const std::string& text : texts) shown << toQString(text);
  return shown;
}

// The table is made as wide as the drawn disc's six columns; a photograph's further ones
// and the number take what their headings need.
const QStringList kSpotColumns = qtTexts(DiscReduction::columns());

const QString kPointerNames[] = {"lblPtAngle", "lblPtDistance", "lblPtB", "lblPtL", "lblPtDMC"};

// The photograph's texts.
constexpr char kNoImageOpen[] = "Aucune image : le disque est dessiné pour l'instant choisi.";
constexpr char kPhotoHelp[] =
    "Photographie : x depuis le bord gauche, y depuis le bord haut de l'image affichée, en pixels, (0, 0) au "
    "centre du pixel en haut à gauche ; une image FITS est affichée sa première ligne en bas. Orientation : le "
    "nord céleste en degrés depuis le haut de l'image, vers la gauche (0 : nord en haut, 90 : nord à gauche) ; "
    "l'est à 90° de plus, ou de moins si l'est est à droite. Ou l'angle du pôle nord du Soleil (images "
    "d'observatoires spatiaux), ou la dérive : deux clics sur un même détail, moteur arrêté (la dérive va vers "
    "l'ouest). Un clic ajoute une tache ; aires en millionièmes de l'hémisphère (MSH). Zoom : molette, ou touches + "
    "et - le pointeur sur l'image ; 0 : image entière ; glisser pour la déplacer.";
constexpr char kOpenTitle[] = "Ouvrir une image du Soleil";
constexpr char kImageFilters[] =
    "Images du Soleil (*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG *.tif *.TIF *.tiff *.TIFF *.fits *.FITS *.fit *.FIT "
    "*.fts *.FTS *.fits.fz *.FITS.FZ);;PNG (*.png *.PNG);;JPEG (*.jpg *.jpeg *.JPG *.JPEG);;TIFF (*.tif *.tiff *.TIF "
    "*.TIFF);;FITS (*.fits *.fit *.fts *.fits.fz *.FITS *.FIT *.FTS *.FITS.FZ);;Tous les fichiers (*)";
constexpr char kPhotoSaveTitle[] = "Enregistrer la photographie";
constexpr char kPictureTitle[] = "Photographie du Soleil";
constexpr char kPictureSaved[] = "Fichier « %1 » enregistré, ses taches dans « %2 ».";
constexpr char kPageSaved[] = "Fichier « %1 » enregistré.";
constexpr char kUnsavedSpots[] = "Les taches placées sur la photographie n'ont pas été enregistrées. Les enregistrer ?";
constexpr char kKeepLimb[] = "Garder ce bord ?";
constexpr char kCarriedQuestion[] =
    "Cette image ne donne pas sa date : les champs gardent celle de l'image précédente, le %1 à %2 TU.\n"
    "Mesurer les taches à cette date ?";
const QStringList kCarriedButtons = {"&Mesurer à cette date", "Annuler"};
const QStringList kUnsavedButtons = {"&Enregistrer…", "&Ne pas enregistrer", "Annuler"};
const QStringList kLimbButtons = {"&Garder ce bord", "&Choisir d'autres points", "Annuler"};

// The controls that act on an image, idle without one.
const QString kPictureControls[] = {"cmdFermer", "fraOrientation", "cmdBord",    "fraMesure",
                                    "txtSeconde", "lblDecalage",    "txtDecalage"};
constexpr char kHeaderCheck[] = "chkEnTete";
// What types a spot in, beside the spots' table: it moves right as the table widens.
const QString kSpotEntry[] = {"lblAngle", "txtAngle", "lblDistance", "txtDistance", "chkDepuisAxe", "cmdAjouter",
                              "lblX",     "txtX",     "lblY",        "txtY",        "cmdAjouterXY"};
// The drawing's own entry, meaningless on a photograph.
const QString kDrawingOnly[] = {"lblX", "txtX", "lblY", "txtY", "cmdAjouterXY"};

QString defaultImageDialog(const QString& folder) {
  return ui::askOpenPath(QString::fromUtf8(kOpenTitle), folder, QString::fromUtf8(kImageFilters));
}

QString defaultPictureSaveDialog(const QString& suggested) {
  ui::FileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kPhotoSaveTitle), suggested,
                        QStringLiteral("PNG (*.png)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

Disque::UnsavedAnswer defaultUnsavedQuestion(const QString& text) {
  constexpr Disque::UnsavedAnswer kAnswers[] = {Disque::UnsavedAnswer::Save, Disque::UnsavedAnswer::Discard,
                                                Disque::UnsavedAnswer::Cancel};
  return kAnswers[ui::askQuestion(text, kUnsavedButtons, 2)];
}

bool defaultCarriedQuestion(const QString& text) { return ui::askQuestion(text, kCarriedButtons, 1) == 0; }

Disque::LimbAnswer defaultLimbQuestion(const QString& text) {
  constexpr Disque::LimbAnswer kAnswers[] = {Disque::LimbAnswer::Keep, Disque::LimbAnswer::PickAgain,
                                             Disque::LimbAnswer::Cancel};
  return kAnswers[ui::askQuestion(text, kLimbButtons, 2)];
}

QString defaultSaveDialog(const QString& suggested, PageFormat& format) {
  const QString pdf = QStringLiteral("PDF (*.pdf)");
  const QString svg = QStringLiteral("SVG (*.svg)");
  ui::FileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kSaveTitle), suggested, pdf + ";;" + svg);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setWindowModality(Qt::ApplicationModal);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, svg](const QString& filter) {
    dialog.setDefaultSuffix(filter == svg ? QStringLiteral("svg") : QStringLiteral("pdf"));
  });
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().first();
  format = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? PageFormat::Svg : PageFormat::Pdf;
  return path;
}

void addOrientationFrame(std::vector<ControlRow>& c);
void addPointerPixel(std::vector<ControlRow>& c);
void addMeasureFrame(std::vector<ControlRow>& c);

// The photograph's commands and read-outs, in a column of their own: what opens and closes
// an image, its orientation, the limb by hand, the pointer's pixel and the spots' areas.
void addPhotographColumn(std::vector<ControlRow>& c) {
  c.push_back({.name = "cmdOuvrir", .kind = Kind::CommandButton, .caption = "&Ouvrir une image…",
               .at = {kPhotoLeft, 120, 2880, kButtonHeight}});
  c.push_back({.name = "cmdFermer", .kind = Kind::CommandButton, .caption = "&Fermer l'image",
               .at = {kPhotoLeft + 3000, 120, kPhotoWidth - 3000, kButtonHeight}});
  c.push_back({.name = "lblImage", .caption = kNoImageOpen, .at = {kPhotoLeft, 600, kPhotoWidth, 510}, .wrap = true,
               .accessibleName = "Image ouverte"});
  addOrientationFrame(c);
  c.push_back({.name = "cmdBord", .kind = Kind::CommandButton, .caption = "&Bord par trois points",
               .at = {kPhotoLeft, 3180, 2400, kButtonHeight}});
  c.push_back({.name = "chkEnTete", .kind = Kind::CheckBox, .caption = "En-tête FITS (&WCS)",
               .at = {kPhotoLeft + 2520, 3240, kPhotoWidth - 2520, 255},
               .accessibleName = "Bord et orientation lus dans l'en-tête du fichier, sinon bord trouvé sur l'image"});
  addPointerPixel(c);
  addMeasureFrame(c);
  c.push_back({.name = "lblPhotoEtat", .at = kPhotoStatusAt, .wrap = true,
               .accessibleName = "État de la photographie"});
  c.push_back({.name = "lblAidePhoto", .caption = kPhotoHelp, .at = kPhotoHelpAt, .wrap = true});
  c.push_back({.name = "cmdCarte", .kind = Kind::CommandButton, .caption = "Carte s&ynoptique…", .at = kSynopticAt});
}

// What the angle of the image's north is the angle of, and the drift that gives it.
void addOrientationFrame(std::vector<ControlRow>& c) {
  const int inner = kPhotoWidth - 240;
  c.push_back({.name = "fraOrientation", .kind = Kind::Frame, .caption = "Orientation de l'image",
               .at = {kPhotoLeft, 1200, kPhotoWidth, 1860}});
  c.push_back({.name = "lblOrientation", .caption = "Orientatio&n du nord (°)", .at = {120, 330, 2760, kLabelHeight},
               .frame = "fraOrientation"});
  c.push_back({.name = "txtOrientation", .kind = Kind::TextBox, .caption = "0", .at = {3000, 300, 900, kFieldHeight},
               .frame = "fraOrientation", .widest = "359,99", .namedBy = {"lblOrientation"},
               .accessibleName = "Orientation du nord sur l'image, degrés depuis le haut vers la gauche"});
  c.push_back({.name = "optNordCeleste", .kind = Kind::OptionButton, .caption = "Nord &céleste",
               .at = {120, 690, 2040, 255}, .frame = "fraOrientation", .checked = true,
               .accessibleName = "L'angle est celui du nord céleste"});
  c.push_back({.name = "optNordSolaire", .kind = Kind::OptionButton, .caption = "Pôle nord du So&leil",
               .at = {2280, 690, inner - 2160, 255}, .frame = "fraOrientation",
               .accessibleName = "L'angle est celui du pôle nord du Soleil"});
  c.push_back({.name = "chkEstDroite", .kind = Kind::CheckBox, .caption = "Est à d&roite (image retournée)",
               .at = {120, 1020, inner, 255}, .frame = "fraOrientation",
               .accessibleName = "Est à droite, image retournée"});
  c.push_back({.name = "cmdDerive", .kind = Kind::CommandButton, .caption = "Orienter par la déri&ve",
               .at = {120, 1350, inner, kButtonHeight}, .frame = "fraOrientation"});
}

// The pixel under the pointer.
void addPointerPixel(std::vector<ControlRow>& c) {
  const struct {
    const char* caption;
    const char* captionName;
    const char* name;
    const char* said;
  } pixel[] = {{"x (px)", "lblPxCaptionX", "lblPxX", "Position x du pointeur sur l'image, pixels depuis la gauche"},
               {"y (px)", "lblPxCaptionY", "lblPxY", "Position y du pointeur sur l'image, pixels depuis le haut"}};
  for (int i = 0; i < 2; ++i) {
    c.push_back({.name = pixel[i].captionName, .caption = pixel[i].caption,
                 .at = {kPhotoLeft + 1200 * i, 3660, 1080, kLabelHeight}, .align = Align::Centre});
    c.push_back({.name = pixel[i].name, .at = {kPhotoLeft + 1200 * i, 3930, 1080, kLabelHeight},
                 .align = Align::Centre, .background = Background::Window, .widest = "99999,9",
                 .accessibleName = pixel[i].said});
  }
  // A camera's clock ahead of UT by so many hours: its instant is moved back by them.
  c.push_back({.name = "lblDecalage", .caption = "Décalage de l'horloge (h)",
               .at = {kPhotoLeft + 2520, 3660, kPhotoWidth - 2520, kLabelHeight}});
  c.push_back({.name = "txtDecalage", .kind = Kind::TextBox, .caption = "0",
               .at = {kPhotoLeft + 2520, 3900, 900, kFieldHeight}, .widest = "-10,50", .namedBy = {"lblDecalage"},
               .accessibleName = "Décalage de l'horloge de l'appareil sur le temps universel, heures"});
}

// The thresholds of a spot's measure.
void addMeasureFrame(std::vector<ControlRow>& c) {
  const int inner = kPhotoWidth - 240;
  c.push_back({.name = "fraMesure", .kind = Kind::Frame, .caption = "Aire d'une tache",
               .at = {kPhotoLeft, 4320, kPhotoWidth, 1560}});
  c.push_back({.name = "lblSeuilTache", .caption = "Seuil de la tac&he", .at = {120, 330, 2760, kLabelHeight},
               .frame = "fraMesure"});
  c.push_back({.name = "txtSeuilTache", .kind = Kind::TextBox, .at = {3000, 300, 900, kFieldHeight},
               .frame = "fraMesure", .widest = "0,999", .namedBy = {"lblSeuilTache"},
               .accessibleName = "Seuil de la tache, part du Soleil calme"});
  c.push_back({.name = "lblSeuilOmbre", .caption = "Seuil de l'o&mbre", .at = {120, 690, 2760, kLabelHeight},
               .frame = "fraMesure"});
  c.push_back({.name = "txtSeuilOmbre", .kind = Kind::TextBox, .at = {3000, 660, 900, kFieldHeight},
               .frame = "fraMesure", .widest = "0,999", .namedBy = {"lblSeuilOmbre"},
               .accessibleName = "Seuil de l'ombre, part du Soleil calme"});
  c.push_back({.name = "chkSeuilFixe", .kind = Kind::CheckBox, .caption = "Ombre au seuil fixe (&2)",
               .at = {120, 1110, 2400, 255}, .frame = "fraMesure",
               .accessibleName = "Ombre au seuil fixe, sinon au creux de l'histogramme de la tache"});
  c.push_back({.name = "cmdMesurer", .kind = Kind::CommandButton, .caption = "Mes&urer l'aire",
               .at = {2640, 1050, inner - 2520, kButtonHeight}, .frame = "fraMesure"});
}

// The instant's fields and the disc's orientation at that instant.
void addInstantColumn(std::vector<ControlRow>& c) {
  c = {
      {.name = "Label1", .caption = "Jour", .at = {120, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {720, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1320, 120, 660, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Heure TU", .at = {2160, 120, 960, 252}},
      {.name = "Label5", .caption = "Min", .at = {3240, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label6", .caption = "Sec", .at = {3840, 120, 600, 252}, .align = Align::Centre},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {120, 360, 480, kFieldHeight}, .widest = "31",
       .namedBy = {"Label1"}, .accessibleName = "Jour"},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {720, 360, 480, kFieldHeight}, .widest = "12",
       .namedBy = {"Label2"}, .accessibleName = "Mois"},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1320, 360, 660, kFieldHeight}, .widest = "2026",
       .namedBy = {"Label3"}, .accessibleName = "Année"},
      {.name = "txtHeure", .kind = Kind::TextBox, .at = {2280, 360, 480, kFieldHeight}, .widest = "23",
       .namedBy = {"Label4"}, .accessibleName = "Heure TU"},
      {.name = "txtMinute", .kind = Kind::TextBox, .at = {3240, 360, 480, kFieldHeight}, .widest = "59",
       .namedBy = {"Label5"}, .accessibleName = "Minute"},
      // The photograph's instant to the second (to the tenth); the drawn disc's is to the minute.
      {.name = "txtSeconde", .kind = Kind::TextBox, .at = {3840, 360, 600, kFieldHeight}, .widest = "59",
       .namedBy = {"Label6"}, .accessibleName = "Seconde de la photographie"},
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {240, 780, 2400, 255},
       .accessibleName = "Ramener à 0 heure"},
      {.name = "lblEphemeride", .caption = kEphemerisText, .at = {2760, 660, 2280, 465}, .wrap = true,
       .widest = kHeaderObserverText, .accessibleName = "Source du demi-diamètre, de P, B0 et L0"},
  };
  const ui::ResultColumns columns{.captionLeft = kLeft,
                                   .captionWidth = 2280,
                                   .resultLeft = kResultLeft,
                                   .resultWidth = kResultWidth,
                                   .unitLeft = kUnitLeft,
                                   .unitWidth = 600,
                                   .height = kLabelHeight,
                                   .widest = toQString(kEmptyResult)};
  const ui::ResultRow results[] = {
      {.top = 1140, .captionName = "Label9", .caption = "Rotation synodique", .resultName = "lblRotSyn",
       .accessibleName = "Rotation synodique"},
      {.top = 1470, .captionName = "Label10", .caption = "Demi diamètre apparent", .resultName = "lblDemidiam",
       .unitName = "Label16", .unit = "'  \"", .accessibleName = "Demi diamètre apparent, minutes et secondes d'arc"},
      {.top = 1800, .captionName = "Label12", .caption = "Angle aux pôles", .resultName = "lblP",
       .unitName = "Label17", .unit = "°", .accessibleName = "Angle aux pôles P, degrés"},
      {.top = 2130, .captionName = "Label13", .caption = "Latitude du centre", .resultName = "lblBo",
       .unitName = "Label18", .unit = "°", .accessibleName = "Latitude du centre B0, degrés"},
      {.top = 2460, .captionName = "Label14", .caption = "Longitude du centre", .resultName = "lblLo",
       .unitName = "Label19", .unit = "°", .accessibleName = "Longitude du centre L0, degrés"},
  };
  for (const ui::ResultRow& row : results) ui::addResultRow(c, columns, row);
}

// How the disc is drawn.
void addDrawingOptions(std::vector<ControlRow>& c) {
  c.push_back({.name = "fraPas", .kind = Kind::Frame, .caption = "Pas de la grille", .at = {kLeft, 2820, kColumnWidth, 600}});
  const struct {
    int degrees;
    const char* caption;
  } steps[] = {{5, "&5°"}, {10, "1&0°"}, {15, "&15°"}};
  for (int i = 0; i < 3; ++i)
    c.push_back({.name = QStringLiteral("optPas%1").arg(steps[i].degrees),
                 .kind = Kind::OptionButton,
                 .caption = QString::fromUtf8(steps[i].caption),
                 .at = {240 + 1500 * i, 270, 1320, 255},
                 .frame = "fraPas",
                 .checked = steps[i].degrees == 10,
                 .accessibleName = QStringLiteral("Grille de %1 degrés").arg(steps[i].degrees)});
  c.push_back({.name = "fraSens", .kind = Kind::Frame, .caption = "Orientation du dessin",
               .at = {kLeft, 3480, kColumnWidth, 900}});
  c.push_back({.name = "optEstGauche", .kind = Kind::OptionButton,
               .caption = "Est à &gauche (vue directe, photographie)", .at = {240, 270, 4560, 255},
               .frame = "fraSens", .checked = true});
  c.push_back({.name = "optEstDroite", .kind = Kind::OptionButton, .caption = "Est à &droite (écran de projection)",
               .at = {240, 570, 4560, 255}, .frame = "fraSens"});
  c.push_back({.name = "lblDiametre", .caption = "Diamè&tre du dessin (mm)", .at = {kLeft, 4500, 2640, kLabelHeight}});
  c.push_back({.name = "txtDiametre", .kind = Kind::TextBox, .caption = "150", .at = {2880, 4470, 720, kFieldHeight},
               .widest = "250,5", .namedBy = {"lblDiametre"}, .accessibleName = "Diamètre du dessin en millimètres"});

}

// The pointer's read-out: five captions over five results, and a line of explanation.
void addPointerReadout(std::vector<ControlRow>& c) {
  const QString captions[] = {"θ (°)", "r", "B (°)", "L (°)", "DMC (°)"};
  const QString pointerSaid[] = {"Angle de position du pointeur, degrés", "Distance du pointeur au centre, en rayons",
                                 "Latitude héliographique du pointeur, degrés",
                                 "Longitude de Carrington du pointeur, degrés",
                                 "Distance au méridien central du pointeur, degrés"};
  for (int i = 0; i < 5; ++i) {
    c.push_back({.name = QStringLiteral("lblPtCaption%1").arg(i), .caption = captions[i],
                 .at = {kLeft + 984 * i, 4860, 936, kLabelHeight}, .align = Align::Centre});
    c.push_back({.name = kPointerNames[i], .at = {kLeft + 984 * i, 5130, 936, kLabelHeight}, .align = Align::Centre,
                 .background = Background::Window, .widest = "-179,99", .accessibleName = pointerSaid[i]});
  }
  c.push_back({.name = "lblPtEtat", .caption = kPointerHint, .at = {kLeft, 5430, kColumnWidth, 510}, .wrap = true,
               .accessibleName = "État du pointeur"});
  c.push_back({.name = "lblAide",
               .caption = "θ : angle de position compté depuis le nord céleste, vers l'est (0° nord, 90° est, "
                          "180° sud, 270° ouest). r : distance au centre, en rayons du disque (0 à 1). "
                          "B : latitude héliographique, positive au nord ; L : longitude de Carrington ; "
                          "DMC : distance au méridien central, négative à l'est, positive à l'ouest.",
               .at = {kLeft, 5940, kColumnWidth, 1440},
               .wrap = true});

}

// The spots: their table, and what types one in.
void addSpotEntry(std::vector<ControlRow>& c) {
  c.push_back({.name = "lblTaches", .caption = "Taches (un clic sur le disque en ajoute une)",
               .at = {kLeft, 7440, 8400, kLabelHeight}});
  c.push_back({.name = "grdTaches", .kind = Kind::Table, .at = {kLeft, 7740, 8400, 1740}, .columns = kSpotColumns,
               .accessibleName = "Taches"});
  c.push_back({.name = "lblAngle", .caption = "θ (°)", .at = {8640, 7770, 720, kLabelHeight}});
  c.push_back({.name = "txtAngle", .kind = Kind::TextBox, .at = {9360, 7740, 900, kFieldHeight}, .widest = "359,9",
               .namedBy = {"lblAngle"}, .accessibleName = "Angle de position de la tache, degrés"});
  c.push_back({.name = "lblDistance", .caption = "r", .at = {10500, 7770, 480, kLabelHeight}});
  c.push_back({.name = "txtDistance", .kind = Kind::TextBox, .at = {11100, 7740, 900, kFieldHeight},
               .widest = "0,999", .namedBy = {"lblDistance"},
               .accessibleName = "Distance de la tache au centre, en rayons"});
  c.push_back({.name = "chkDepuisAxe", .kind = Kind::CheckBox, .caption = "θ compté depuis le &pôle nord solaire",
               .at = {8640, 8100, 3840, 255}, .accessibleName = "Angle compté depuis le pôle nord du Soleil"});
  c.push_back({.name = "cmdAjouter", .kind = Kind::CommandButton, .caption = "A&jouter (θ, r)",
               .at = {8640, 8400, 3840, kButtonHeight}});
  c.push_back({.name = "lblX", .caption = "x (mm)", .at = {8640, 8910, 720, kLabelHeight}});
  c.push_back({.name = "txtX", .kind = Kind::TextBox, .at = {9360, 8880, 900, kFieldHeight}, .widest = "-124,5",
               .namedBy = {"lblX"}, .accessibleName = "Position x de la tache sur le dessin, millimètres"});
  c.push_back({.name = "lblY", .caption = "y (mm)", .at = {10380, 8910, 720, kLabelHeight}});
  c.push_back({.name = "txtY", .kind = Kind::TextBox, .at = {11100, 8880, 900, kFieldHeight}, .widest = "-124,5",
               .namedBy = {"lblY"}, .accessibleName = "Position y de la tache sur le dessin, millimètres"});
  c.push_back({.name = "cmdAjouterXY", .kind = Kind::CommandButton, .caption = "Ajouter (&x, y)",
               .at = {8640, 9240, 3840, kButtonHeight}});
}

void addCommands(std::vector<ControlRow>& c) {
  c.push_back({.name = "cmdSupprimer", .kind = Kind::CommandButton, .caption = "&Supprimer la tache",
               .at = {kLeft, 9600, 2400, kButtonHeight}});

  c.push_back({.name = "Command1", .kind = Kind::CommandButton, .caption = "&A propos", .at = {3360, 9600, 1212, kButtonHeight}});
  c.push_back({.name = "cmdImprimer", .kind = Kind::CommandButton, .caption = "&Imprimer",
               .at = {4800, 9600, 1212, kButtonHeight}});
  c.push_back({.name = "cmdEnregistrer", .kind = Kind::CommandButton, .caption = "&Enregistrer…",
               .at = {6240, 9600, 1452, kButtonHeight}});
  c.push_back({.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {11268, 9600, 1212, kButtonHeight}});

}

}  // namespace

ui::FormTable disqueForm() {
  ui::FormTable form;
  form.name = "Disque";
  form.title = QStringLiteral(" ") + QString::fromUtf8(kDocumentTitle);
  form.clientWidth = kPhotoLeft + kPhotoWidth + 120;
  form.clientHeight = 10080;
  std::vector<ControlRow>& c = form.controls;
  addInstantColumn(c);
  addDrawingOptions(c);
  addPointerReadout(c);
  addSpotEntry(c);
  addCommands(c);
  addPhotographColumn(c);

  form.tabOrder = {"txtJour",      "txtMois",    "txtAnnée",    "txtHeure",       "txtMinute",  "txtSeconde",  "chkZero",
                   "optPas5",      "optPas10",   "optPas15",    "optEstGauche",   "optEstDroite", "txtDiametre",
                   "grdTaches",    "txtAngle",   "txtDistance", "chkDepuisAxe",   "cmdAjouter",   "txtX",
                   "txtY",         "cmdAjouterXY", "cmdSupprimer", "Command1",     "cmdImprimer",  "cmdEnregistrer",
                   "cmdOuvrir",    "cmdFermer",  "txtOrientation", "optNordCeleste", "optNordSolaire", "chkEstDroite",
                   "cmdDerive",    "cmdBord",    "chkEnTete",  "txtDecalage", "txtSeuilTache", "txtSeuilOmbre",
                   "chkSeuilFixe", "cmdMesurer",   "cmdCarte",    "cmdMenu"};
  addPhotoDisplayControls(form);
  return form;
}

Disque::Disque(ui::Desktop desktop, std::string decimalSeparator)
    : Form(disqueForm()),
      m_desktop(desktop),
      m_separator(std::move(decimalSeparator)),
      m_fields(*this, desktop, CheckForm::ExactText, [this] { Calcul(); }),
      m_about(about::disqueAbout(), desktop, this),
      m_printer(std::make_unique<QtPagePrinter>(desktop.messages, printerHooks())),
      m_saveDialog(&defaultSaveDialog),
      m_drawn(m_separator),
      m_imageDialog(&defaultImageDialog),
      m_pictureSaveDialog(&defaultPictureSaveDialog),
      m_unsavedQuestion(&defaultUnsavedQuestion),
      m_limbQuestion(&defaultLimbQuestion),
      m_carriedQuestion(&defaultCarriedQuestion),
      m_printDialog(&ui::askPrintDestination),
      m_documents(desktop.messages, printerHooks()),
      m_engine(m_separator),
      m_synoptic(std::make_unique<SynopticCommand>(*this, desktop.messages, m_folder, m_separator)) {
  setWindowIcon(programIcon(ProgramIcon::Disque));
  m_view = new DiscView(this);
  m_view->setObjectName("picDisque");
  m_view->setGeometry(toPixels(kDiscAt));
  m_view->setDecimalSeparator(m_separator);
  m_photo = new PhotoView(this);
  m_photo->setObjectName("picPhoto");
  m_photo->setGeometry(toPixels(kDiscAt));
  m_photo->hide();
  m_photoDisplay = std::make_unique<PhotoDisplayControls>(*this, *m_photo, *m_view, m_separator);
  setAcceptDrops(true);
  setText("txtSeuilTache", toQString(thresholdText(m_engine.thresholds().spot, m_separator)));
  setText("txtSeuilOmbre", toQString(thresholdText(m_engine.thresholds().umbra, m_separator)));
  nameForAccessibility();
  m_table = table("grdTaches");
  m_table->installEventFilter(this);
  // "Supprimer la tache" acts on the rows chosen: idle while none is.
  connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { showRemovable(); });
  showRemovable();

  onLoad([this] { Form_Load(); });
  for (const char* step : {"optPas5", "optPas10", "optPas15"}) onClick(step, [this] { optPas_Click(); });
  onClick("optEstGauche", [this] { optEst_Click(); });
  onClick("optEstDroite", [this] { optEst_Click(); });
  m_view->onPointer([this](std::optional<DiscPoint> point) { picDisque_MouseMove(point); });
  m_view->onPress([this](DiscPoint point) { picDisque_MouseDown(point); });
  onClick("cmdAjouter", [this] { cmdAjouter_Click(); });
  onClick("cmdAjouterXY", [this] { cmdAjouterXY_Click(); });
  onClick("cmdSupprimer", [this] { cmdSupprimer_Click(); });
  onClick("cmdImprimer", [this] { cmdImprimer_Click(); });
  onClick("cmdEnregistrer", [this] { cmdEnregistrer_Click(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
  connectPhotograph();
  showDrawnDisc();
  showPictureControls();
}

Disque::~Disque() = default;

void Disque::connectPhotograph() {
  onClick("cmdOuvrir", [this] { cmdOuvrir_Click(); });
  onClick("cmdFermer", [this] { cmdFermer_Click(); });
  onChange("txtOrientation", [this] { txtOrientation_Change(); });
  onClick("optNordCeleste", [this] { optNord_Click(); });
  onClick("optNordSolaire", [this] { optNord_Click(); });
  onClick("chkEstDroite", [this] { txtOrientation_Change(); });
  onChange("txtSeuilTache", [this] { txtSeuil_Change(); });
  onChange("txtSeuilOmbre", [this] { txtSeuil_Change(); });
  onClick("chkSeuilFixe", [this] { txtSeuil_Change(); });
  onChange("txtSeconde", [this] { Calcul(); });
  onChange("txtDecalage", [this] { txtDecalage_Change(); });
  // Esc gives up the points being picked, wherever the focus is.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] { picPhoto_Escape(); });
  // Ctrl+Z takes back a spot added or removed; a field being typed in keeps its own undo.
  auto* undo = new QShortcut(QKeySequence::Undo, this);
  connect(undo, &QShortcut::activated, this, [this] { picPhoto_Undo(); });
  onClick("cmdDerive", [this] { cmdDerive_Click(); });
  onClick("cmdBord", [this] { cmdBord_Click(); });
  onClick(kHeaderCheck, [this] { chkEnTete_Click(); });
  onClick("cmdMesurer", [this] { cmdMesurer_Click(); });
  onClick("cmdCarte", [this] { m_synoptic->run(); });
  m_photo->onPointer([this](std::optional<photo::PixelPoint> pixel) { picPhoto_MouseMove(pixel); });
  m_photo->onClick([this](photo::PixelPoint pixel) { picPhoto_Click(pixel); });
}

// The disc is the one control the window adds to its table; the table names the others.
void Disque::nameForAccessibility() {
  m_view->setAccessibleName(QString::fromUtf8(kDocumentTitle));
  m_view->setAccessibleDescription(QStringLiteral("Le pointeur lit θ, r, B, L et DMC ; un clic ajoute une tache."));
  m_photo->setAccessibleName(PhotoView::kAccessibleName);
  m_photo->setAccessibleDescription(PhotoView::kAccessibleDescription);
}

bool Disque::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_table && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
      m_shown.reduction->hasSpots()) {
    cmdSupprimer_Click();
    return true;
  }
  return Form::eventFilter(watched, event);
}

void Disque::Form_Load() {
  const ui::LocalTime now = m_desktop.clock.now();
  m_fields.fillDate(now);
  m_fields.fillTime(now);
  Calcul();
}

void Disque::optPas_Click() {
  m_view->setGridStep(gridStep());
  showSpots();
}

void Disque::optEst_Click() { m_view->setOrientation(orientation()); }

void Disque::picDisque_MouseMove(std::optional<DiscPoint> point) {
  m_drawn.movePointer(point);
  showPointer();
}

void Disque::picDisque_MouseDown(DiscPoint point) {
  if (!m_drawn.click(point).done) return;
  showSpots();
  m_table->scrollToBottom();
}

void Disque::cmdAjouter_Click() {
  const auto add = [this] {
    return m_shown.reduction->addSpotTyped(toUtf8(text("txtAngle")), toUtf8(text("txtDistance")),
                                           value("chkDepuisAxe") != 0);
  };
  Outcome added = add();
  if (confirmCarriedDate(added)) added = add();
  say(added);
  if (added.done) m_table->scrollToBottom();
}

void Disque::cmdAjouterXY_Click() {
  const Outcome added = m_drawn.addSpotOnDrawing(toUtf8(text("txtX")), toUtf8(text("txtY")), drawingFields());
  say(added);
  if (added.done) m_table->scrollToBottom();
}

void Disque::cmdSupprimer_Click() {
  std::vector<int> rows;
  for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows.push_back(index.row());
  if (!m_shown.reduction->removeSpots(std::move(rows))) return refuse(kNothingToRemove);
  showSpots();
}

void Disque::showRemovable() {
  control("cmdSupprimer")->setEnabled(m_table->selectionModel()->hasSelection());
}

void Disque::cmdImprimer_Click() { (this->*m_shown.print)(); }

void Disque::cmdEnregistrer_Click() { (this->*m_shown.save)(); }

void Disque::printDrawing() {
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  sayPrinted(m_printer->print(pageName(), *content, *options));
}

// Built while the window is: the dialog is looked up when a page is printed, so that one
// set later (setPrintDialog) is the one asked.
ui::DocumentPrinter::Hooks Disque::printerHooks() {
  ui::DocumentPrinter::Hooks hooks{.folder = &m_folder};
  hooks.askDestination = [this](const QStringList& printers, const QString& preferred) {
    return m_printDialog(printers, preferred);
  };
  return hooks;
}

// Above the photograph's own status while one is shown, as a saved file is.
void Disque::sayPrinted(const std::optional<ui::DocumentPrinter::Sent>& sent) {
  if (!sent) return;
  QString shown = QString::fromUtf8(ui::DocumentPrinter::kSentText).arg(QString::number(sent->job), sent->printer);
  const QString status = m_shown.reduction == &m_engine ? pictureStatus() : QString();
  if (!status.isEmpty()) shown += u'\n' + status;
  setText("lblPhotoEtat", shown);
  fitPhotoTexts();
}

bool Disque::saveDrawing() {
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) {
    refuse(error);
    return false;
  }
  PageFormat format = PageFormat::Pdf;
  const QString path = m_saveDialog(m_folder.file(pageName() + QStringLiteral(".pdf")), format);
  if (path.isEmpty()) return false;
  m_folder.took(path);
  // A page not written is said, naming the file and why; the window stays as it was, its
  // spots kept, for another "Enregistrer…" elsewhere. A file it would replace is intact.
  if (!writeDiscPage(path, format, *content, *options, &error)) {
    refuse(error);
    return false;
  }
  setText("lblPhotoEtat", QString::fromUtf8(kPageSaved).arg(QDir::toNativeSeparators(path)));
  fitPhotoTexts();
  return true;
}

void Disque::Command1_Click() { m_about.show(); }

void Disque::cmdMenu_Click() {
  if (!mayDropPictureSpots()) return;
  m_about.unload();
  unload();
}

void Disque::Calcul() {
  const FieldTexts fields(*this);
  m_drawn.typeInstant(fields.view());
  // A photograph takes the same instant with its own seconds; the drawn disc is placed to
  // the minute.
  m_engine.takeTypedInstant(m_drawn.instant(), m_engine.image() ? toUtf8(text("txtSeconde")) : std::string());
  showInstant();
  m_view->setDisc(m_drawn.disc());
  showSpots();
}

void Disque::showDrawnDisc() { m_shown = {&m_drawn, &Disque::printDrawing, &Disque::saveDrawing}; }

void Disque::showPhotograph() { m_shown = {&m_engine, &Disque::printPicture, &Disque::savePicture}; }

// On a photograph whose header places its observer, the disc is that observer's.
void Disque::showInstant() {
  setText("lblRotSyn", toQString(m_drawn.rotationText()));
  const InstantTexts texts = m_shown.reduction->aspect();
  setText("lblEphemeride", toQString(texts.source));
  setText("lblDemidiam", toQString(texts.aspect.semiDiameter));
  setText("lblP", toQString(texts.aspect.p));
  setText("lblBo", toQString(texts.aspect.b0));
  setText("lblLo", toQString(texts.aspect.l0));
}

// The table and the drawings follow the spots; B, L and DMC follow the instant.
void Disque::showSpots() {
  showTable();
  m_view->setSpots(m_drawn.spots());
  showPicture();
  showPointer();
}

void Disque::showTable() {
  const SpotTable spots = m_shown.reduction->spotTable();
  if (m_table->columnCount() != static_cast<int>(spots.columns.size())) {
    m_table->setColumnCount(static_cast<int>(spots.columns.size()));
    m_table->setHorizontalHeaderLabels(qtTexts(spots.columns));
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // A photograph's nine columns in the width of six: the number, the areas and the
    // thresholds take what their headings need.
    if (m_table->columnCount() > kSpotColumns.size())
      for (int column = 0; column < m_table->columnCount(); ++column)
        if (column == 0 || column >= kSpotColumns.size())
          m_table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  m_table->setRowCount(static_cast<int>(spots.rows.size()));
  for (int row = 0; row < static_cast<int>(spots.rows.size()); ++row) {
    const std::vector<std::string>& cells = spots.rows[static_cast<std::size_t>(row)];
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(toQString(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(row, column, item);
    }
  }
  showRemovable();
}

void Disque::showPointer() {
  const PointerTexts readout = m_shown.reduction->pointerTexts();
  setText("lblPxX", toQString(readout.x));
  setText("lblPxY", toQString(readout.y));
  for (std::size_t i = 0; i < readout.cells.size(); ++i) setText(kPointerNames[i], toQString(readout.cells[i]));
  setText("lblPtEtat", toQString(readout.state));
}

void Disque::refuse(const QString& text) { m_desktop.messages.show(text, ui::kStyleExclamation, QString()); }

GridStep Disque::gridStep() const {
  for (const int degrees : GridStep::kAllowed)
    if (value(QStringLiteral("optPas%1").arg(degrees))) return GridStep{degrees};
  return GridStep{};
}

DrawingOrientation Disque::orientation() const {
  return value("optEstDroite") ? DrawingOrientation::EastRight : DrawingOrientation::EastLeft;
}

DrawingFields Disque::drawingFields() const { return {toUtf8(text("txtDiametre")), orientation(), gridStep()}; }

QString Disque::pageName() const { return documentName(QString::fromUtf8(kDocumentTitle), *this); }

std::optional<PageContent> Disque::pageContent(QString* error) const {
  Checked<PageContent> page = m_drawn.page();
  if (!page.value && error) *error = toQString(page.refusal);
  return std::move(page.value);
}

std::optional<PageOptions> Disque::pageOptions(QString* error) const {
  const Checked<PageOptions> options = m_drawn.options(drawingFields());
  if (!options.value && error) *error = toQString(options.refusal);
  return options.value;
}

// --- The photograph -------------------------------------------------------------------

void Disque::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.first().isLocalFile()) event->acceptProposedAction();
}

void Disque::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  openImage(urls.first().toLocalFile());
}

void Disque::closeEvent(QCloseEvent* event) {
  if (!mayDropPictureSpots()) return event->ignore();
  Form::closeEvent(event);
}

bool Disque::mayDropPictureSpots() {
  if (!m_engine.unsaved()) return true;
  switch (m_unsavedQuestion(QString::fromUtf8(kUnsavedSpots))) {
    case UnsavedAnswer::Save:
      return savePicture();
    case UnsavedAnswer::Discard:
      m_engine.markSaved();
      return true;
    case UnsavedAnswer::Cancel:
      return false;
  }
  return false;
}

void Disque::cmdOuvrir_Click() {
  const QString path = m_imageDialog(m_folder.path());
  m_folder.took(path);
  if (!path.isEmpty()) openImage(path);
}

void Disque::openImage(const QString& path) {
  image::ImageReadOutcome read = image::readImageFile(path);
  // A file refused loses nothing: the question comes once the new image is in hand.
  if (!read.ok()) return refuse(toQString(read.refusal));
  if (!mayDropPictureSpots()) return;
  const bool dated = read.observed && read.observed->hasTime;
  // The view lets go of the old samples before they are freed.
  m_photo->setImage(nullptr);
  const OpenOutcome opened = m_engine.open(photoFileOf(std::move(read), toUtf8(QFileInfo(path).fileName())));
  // A camera's clock is moved by the offset in its field, kept from the previous image.
  m_engine.setClockOffset(toUtf8(text("txtDecalage")));
  // The date fields take the file's instant in UT as if typed, so that their checks and
  // the results follow; the user may still change them. Without it the fields' instant
  // stays, carried over: the engine asks for it to be confirmed before measuring.
  if (dated) fillObservedDate(*m_engine.instantDate());
  m_photo->setImage(m_engine.image());
  showPhotograph();
  setText("lblImage", toQString(m_engine.fileLine()));
  m_view->hide();
  m_photo->show();
  showPictureControls();
  showOrientation();
  Calcul();
  // The keys go to the image it opens: a "+" or a "0" zooms it rather than landing in a
  // date field that had the focus before.
  m_photo->setFocus(Qt::OtherFocusReason);
  if (!opened.limbMissing.empty()) refuse(toQString(opened.limbMissing));
}

void Disque::fillObservedDate(const image::ObservationDate& observed) {
  setText("txtJour", QString::number(observed.day));
  setText("txtMois", QString::number(observed.month));
  setText("txtAnnée", QString::number(observed.year));
  if (!observed.hasTime) return;
  if (value("chkZero")) setValue("chkZero", 0);
  setText("txtSeconde", toQString(formatMask(observed.second, "0.0", m_separator)));
  setText("txtMinute", QString::number(observed.minute));
  setText("txtHeure", QString::number(observed.hour));
}

photo::UmbraBoundary Disque::umbraBoundary() const {
  return value("chkSeuilFixe") ? photo::UmbraBoundary::FixedShare : photo::UmbraBoundary::SpotHistogram;
}

// A camera's instant moved by the offset: the fields show it in UT.
void Disque::txtDecalage_Change() {
  if (!m_engine.image()) return;
  const Outcome offset = m_engine.setClockOffset(toUtf8(text("txtDecalage")));
  if (offset.done && m_engine.instant() && m_engine.instant()->source == InstantSource::Camera)
    fillObservedDate(*m_engine.instantDate());
  showSpots();
}

// Spots at a date carried over from the previous image are asked about once: confirmed,
// the action is done again.
bool Disque::confirmCarriedDate(const Outcome& refused) {
  if (refused.done || refused.text != kCarriedDate) return false;
  const QString date = text("txtJour") + u'/' + text("txtMois") + u'/' + text("txtAnnée");
  const QString time = text("txtHeure") + u':' + text("txtMinute");
  if (!m_carriedQuestion(QString::fromUtf8(kCarriedQuestion).arg(date, time))) return false;
  m_engine.confirmCarriedInstant();
  return true;
}

void Disque::showOrientation() {
  const std::optional<PhotoOrientation>& orientation = m_engine.orientation();
  if (!orientation) return;
  const bool solar = orientation->reference == NorthReference::SolarAxis;
  // The fields follow the engine; they do not give it back as typed meanwhile.
  const QScopedValueRollback<bool> showing(m_showingOrientation, true);
  static_cast<QAbstractButton*>(control(solar ? "optNordSolaire" : "optNordCeleste"))->setChecked(true);
  setValue("chkEstDroite", orientation->mirrored ? 1 : 0);
  setText("txtOrientation", toQString(m_engine.orientationFieldText()));
}

void Disque::cmdFermer_Click() {
  if (!mayDropPictureSpots()) return;
  m_photo->setImage(nullptr);
  // A photograph's spots are pixels of that image: they mean nothing on the drawn disc
  // nor on the next image, and go with it. The drawn disc's own spots are kept.
  m_engine.close();
  showDrawnDisc();
  m_photo->setOverlay({});
  m_photo->hide();
  m_view->show();
  setText("lblImage", QString::fromUtf8(kNoImageOpen));
  setText("lblPhotoEtat", QString());
  fitPhotoTexts();
  showPictureControls();
  Calcul();
}

void Disque::showPictureControls() {
  const bool open = m_engine.image() != nullptr;
  for (const QString& name : kPictureControls) control(name)->setEnabled(open);
  for (const QString& name : kDrawingOnly) control(name)->setEnabled(!open);
  control(kHeaderCheck)->setEnabled(open && m_engine.headerGivesLimb());
  if (!open) setValue(kHeaderCheck, 0);
  for (const char* name : {"lblPxX", "lblPxY"}) setText(name, QString());
}

void Disque::say(const Outcome& outcome) {
  if (!outcome.done && !outcome.text.empty()) refuse(toQString(outcome.text));
  showSpots();
}

void Disque::txtOrientation_Change() {
  if (!m_engine.image() || m_showingOrientation) return;
  const NorthReference reference = value("optNordSolaire") ? NorthReference::SolarAxis : NorthReference::Celestial;
  m_engine.orient(toUtf8(text("txtOrientation")), reference, value("chkEstDroite") != 0);
  showSpots();
}

// The same north read from the other reference: the field shows its angle there.
void Disque::optNord_Click() {
  txtOrientation_Change();
  if (m_engine.image()) showOrientation();
}

void Disque::txtSeuil_Change() {
  if (!m_engine.image()) return;
  m_engine.setThresholds(toUtf8(text("txtSeuilTache")), toUtf8(text("txtSeuilOmbre")), umbraBoundary());
  showSpots();
}

void Disque::cmdDerive_Click() {
  m_engine.startPicking(Picking::Drift);
  showSpots();
}

void Disque::chkEnTete_Click() {
  const bool use = value(kHeaderCheck) != 0;
  if (!m_engine.image() || use == (m_engine.limb() && m_engine.limb()->source == LimbSource::Header)) return;
  say(m_engine.useHeaderLimb(use));
}

void Disque::cmdBord_Click() {
  m_engine.startPicking(Picking::Limb);
  showSpots();
}

void Disque::picPhoto_Escape() {
  if (m_engine.picking() == Picking::None) return;
  m_engine.cancelPicking();
  showSpots();
}

void Disque::picPhoto_Undo() {
  if (!m_engine.image() || !m_engine.undoSpots().done) return;
  m_table->clearSelection();
  showSpots();
}

void Disque::picPhoto_MouseMove(std::optional<photo::PixelPoint> pixel) {
  m_engine.movePointer(pixel);
  showPointer();
}

void Disque::picPhoto_Click(photo::PixelPoint pixel) {
  const Picking before = m_engine.picking();
  Outcome clicked = m_engine.click(pixel);
  if (confirmCarriedDate(clicked)) clicked = m_engine.click(pixel);
  // Off the disc, as on the drawn disc, a click adds no spot and says nothing.
  if (before == Picking::None && !clicked.done) return;
  if (before == Picking::Drift && clicked.done && m_engine.picking() == Picking::None) showOrientation();
  say(clicked);
  if (m_engine.picking() == Picking::ConfirmLimb) return askLimb();
  if (before == Picking::None) {
    // The spot just clicked is the one "Mesurer l'aire" measures, not one chosen before.
    m_table->clearSelection();
    m_table->scrollToBottom();
  }
}

// The circle is drawn over the image while the question is asked.
void Disque::askLimb() {
  switch (m_limbQuestion(toQString(m_engine.status()) + u'\n' + QString::fromUtf8(kKeepLimb))) {
    case LimbAnswer::Keep:
      say(m_engine.confirmLimb());
      return;
    case LimbAnswer::PickAgain:
      say(m_engine.pickLimbAgain());
      return;
    case LimbAnswer::Cancel:
      say(m_engine.cancelPicking());
      return;
  }
}

void Disque::cmdMesurer_Click() {
  if (!m_engine.image()) return;
  const Outcome thresholds =
      m_engine.setThresholds(toUtf8(text("txtSeuilTache")), toUtf8(text("txtSeuilOmbre")), umbraBoundary());
  if (!thresholds.done) return say(thresholds);
  // The spot chosen in the table, else the last one clicked.
  std::optional<int> chosen;
  if (const QModelIndexList rows = m_table->selectionModel()->selectedRows(); !rows.isEmpty())
    chosen = rows.first().row();
  Outcome measured = m_engine.measure(chosen);
  if (confirmCarriedDate(measured)) measured = m_engine.measure(chosen);
  if (measured.done) {
    say(measured);
    m_table->selectRow(chosen.value_or(static_cast<int>(m_engine.spots().size()) - 1));
  } else {
    say(measured);
  }
}

void Disque::showPicture() {
  if (!m_engine.image()) return;
  OverlayContent content = m_engine.overlay();
  PhotoOverlay overlay;
  overlay.frame = content.frame;
  overlay.disc = content.disc;
  overlay.gridStep = gridStep();
  for (const PhotoSpot& spot : content.spots) {
    overlay.spots.push_back({spot.number, spot.at});
    if (spot.measure) overlay.outlines.push_back(spot.measure->mask);
  }
  overlay.limbPoints = std::move(content.limbPoints);
  overlay.driftPoints = std::move(content.driftPoints);
  m_photo->setOverlay(std::move(overlay));
  setText("lblPhotoEtat", pictureStatus());
  fitPhotoTexts();
  setValue(kHeaderCheck, m_engine.limb() && m_engine.limb()->source == LimbSource::Header ? 1 : 0);
  showRemovable();
}

namespace {

// The first `lines` lines of `text` wrapped at `width`, the last ending in "…".
QString linesThatFit(const QString& text, const QFont& font, int width, int lines) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  QString shown;
  for (int i = 0; i < lines; ++i) {
    QTextLine wrapped = layout.createLine();
    if (!wrapped.isValid()) break;
    wrapped.setLineWidth(width);
    if (i + 1 < lines) {
      shown += text.mid(wrapped.textStart(), wrapped.textLength());
      continue;
    }
    shown += QFontMetrics(font).elidedText(text.mid(wrapped.textStart()).simplified(), Qt::ElideRight, width);
  }
  layout.endLayout();
  return shown;
}

}  // namespace

// The status's whole text shown, the help under it moved down and cut to whole lines
// (its whole text then in its tooltip), at least kHelpLinesKept of them; where even then
// the status does not fit, it too is cut to whole lines, its tooltip holding it all. A
// window made taller gives the help the height it gained.
void Disque::fitPhotoTexts() {
  auto* status = qobject_cast<QLabel*>(control("lblPhotoEtat"));
  auto* help = qobject_cast<QLabel*>(control("lblAidePhoto"));
  if (status == nullptr || help == nullptr) return;
  const QRect statusAt(status->x(), toPixels(kPhotoStatusAt).top(), status->width(), toPixels(kPhotoStatusAt).height());
  const QRect helpAt = toPixels(kPhotoHelpAt);
  const int gap = helpAt.top() - statusAt.bottom();
  const int bottom = helpAt.bottom() + growth().height();
  const int line = help->fontMetrics().lineSpacing();
  const auto wholeLines = [line](int height) { return std::max(line, height / line * line); };
  const int statusMost = bottom - statusAt.top() - gap - kHelpLinesKept * line;
  const int needed = status->heightForWidth(status->width());
  const int statusHeight = needed <= statusAt.height() ? statusAt.height()
                           : needed <= statusMost      ? needed
                                                       : wholeLines(statusMost);
  status->setGeometry(statusAt.x(), statusAt.top(), statusAt.width(), statusHeight);
  status->setToolTip(needed > statusHeight ? status->text() : QString());
  const int helpTop = statusAt.top() + statusHeight + gap;
  const int helpHeight = bottom - helpTop + 1;
  const QString wholeHelp = QString::fromUtf8(kPhotoHelp);
  help->setText(wholeHelp);
  const bool helpCut = help->heightForWidth(statusAt.width()) > helpHeight;
  help->setGeometry(statusAt.x(), helpTop, statusAt.width(), helpCut ? wholeLines(helpHeight) : helpHeight);
  if (helpCut) help->setText(linesThatFit(wholeHelp, help->font(), help->contentsRect().width(), helpHeight / line));
  help->setToolTip(helpCut ? wholeHelp : QString());
}

void Disque::resizeEvent(QResizeEvent* event) {
  ui::Form::resizeEvent(event);
  // The help under the photograph's status takes the height the window gains: the command
  // under it goes down as much.
  control("cmdCarte")->move(control("cmdCarte")->pos() + QPoint(0, growth().height()));
  fitPhotoTexts();
  fitSpotTable();
}

// The spots' table takes the width the window gains (its columns stretched over it), the
// entry beside it moving right; the window's table has put both back in place first.
void Disque::fitSpotTable() {
  const int wider = growth().width();
  if (m_table == nullptr || wider <= 0) return;
  m_table->resize(m_table->width() + wider, m_table->height());
  for (const QString& name : kSpotEntry) control(name)->move(control(name)->pos() + QPoint(wider, 0));
}

bool Disque::savePicture() {
  const QString name = documentName(QString::fromUtf8(kPictureTitle), *this);
  const QString path = m_pictureSaveDialog(m_folder.file(name + QStringLiteral(".png")));
  if (path.isEmpty()) return false;
  m_folder.took(path);
  QString notMade;
  const QByteArray png = captionedPng(m_photo->display(), m_photo->overlay(), pictureCaptionLines(), &notMade);
  if (png.isEmpty()) {
    refuse(QString::fromUtf8(kPageNotWritten).arg(path, notMade));
    return false;
  }
  if (const QString reason = ui::writeWholeFile(path, png); !reason.isEmpty()) {
    refuse(QString::fromUtf8(kPageNotWritten).arg(path, reason));
    return false;
  }
  const QFileInfo written(path);
  const QString csvPath = written.dir().filePath(written.completeBaseName() + QStringLiteral(".csv"));
  if (const QString reason = ui::writeWholeFile(csvPath, QByteArray::fromStdString(m_engine.csv()));
      !reason.isEmpty()) {
    refuse(QString::fromUtf8(kPageNotWritten).arg(csvPath, reason));
    return false;
  }
  m_engine.markSaved();
  m_saved = QString::fromUtf8(kPictureSaved).arg(QDir::toNativeSeparators(path), QFileInfo(csvPath).fileName());
  m_statusWhenSaved = m_engine.status();
  showPicture();
  return true;
}

// The engine's status, after the file just saved (until a spot changes or the engine says
// something else),
// and followed by the limb's source and circle where it no longer names them.
QString Disque::pictureStatus() const {
  const std::string& status = m_engine.status();
  QString shown = toQString(status);
  if (const std::string limb = m_engine.limbLine();
      status.find(limb) == std::string::npos && status.rfind(kHeaderGeometryTaken, 0) != 0)
    shown += (shown.isEmpty() ? QString() : QStringLiteral("\n")) + toQString(limb);
  if (!m_saved.isEmpty() && !m_engine.unsaved() && status == m_statusWhenSaved) shown = m_saved + u'\n' + shown;
  return shown;
}

QStringList Disque::pictureCaptionLines() const {
  QStringList lines;
  for (const std::string& line : m_engine.caption()) lines << toQString(line);
  return lines;
}

QStringList Disque::frameLines() const {
  return {toQString(m_engine.orientationLine()), toQString(m_engine.limbLine())};
}

void Disque::printPicture() {
  PhotoPage page;
  page.heading = toQString(m_engine.heading());
  page.fileLine = toQString(m_engine.fileLine());
  page.frameLines = frameLines();
  page.picture = m_photo->display();
  page.overlay = m_photo->overlay();
  for (const std::string& column : PhotoReduction::columns()) page.columns << toQString(column);
  for (const SpotCells& cells : m_engine.rows()) page.rows.emplace_back(cells.begin(), cells.end());
  sayPrinted(m_documents.print(documentName(QString::fromUtf8(kPictureTitle), *this), m_documents.pageLayout(),
                               [&page](QPainter& painter, QPagedPaintDevice& device) {
                                 return paintPhotoPage(painter, device, page);
                               }));
}

}  // namespace kavrel::disque
