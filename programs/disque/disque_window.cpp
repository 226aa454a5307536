// The disc window (form Disque).
#include "programs/disque/disque_window.h"

#include <QApplication>
#include <QBuffer>
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
#include <QTableWidget>
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "about/about_variant.h"
#include "common/display_mask.h"
#include "programs/dalvoren/aspect_texts.h"
#include "programs/disque/disc_view.h"
#include "image/image_reader.h"
#include "photo/limb.h"
#include "programs/disque/photo_caption.h"
#include "programs/disque/photo_display.h"
#include "programs/disque/photo_page.h"
#include "programs/disque/photo_view.h"
#include "ui/whole_file.h"
#include "programs/qt_text.h"
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

// The columns of the spots' table.
const QStringList kSpotColumns = {"N°", "θ (°)", "r", "B (°)", "L (°)", "DMC (°)"};

const QString kPointerNames[] = {"lblPtAngle", "lblPtDistance", "lblPtB", "lblPtL", "lblPtDMC"};

// The photograph's texts.
const QStringList kPictureSpotColumns = kSpotColumns + QStringList{"Aire (MSH)", "Ombre (MSH)"};
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
constexpr char kLimbFound[] = "Bord trouvé : centre (%1 ; %2), rayon %3 px.";
constexpr char kLimbGiven[] = "Bord donné par trois points : centre (%1 ; %2), rayon %3 px.";
constexpr char kLimbMissing[] = "Aucun bord trouvé : donnez-le par « Bord par trois points ».";
constexpr char kPickLimb[] = "Cliquez sur le bord du Soleil : point %1 sur 3.";
constexpr char kPickDriftFirst[] = "Dérive : cliquez sur un détail de l'image, à sa première position.";
constexpr char kPickDriftSecond[] = "Dérive : cliquez sur le même détail, à sa seconde position (moteur arrêté).";
constexpr char kDriftNorth[] = "Orientation par la dérive : nord céleste à %1° du haut de l'image.";
constexpr char kSpotMeasured[] = "Tache %1 : %2 MSH, ombre %3 MSH.";
constexpr char kNoSpotToMeasure[] = "Cliquez d'abord sur la tache à mesurer.";
constexpr char kPngNotMade[] = "l'image n'a pas pu être codée en PNG";
constexpr char kPhotoPointerHint[] = "Placez le pointeur sur l'image ; un clic ajoute une tache.";

// The controls that act on an image, idle without one.
const QString kPictureControls[] = {"cmdFermer", "fraOrientation", "cmdBord", "fraMesure"};
// The drawing's own entry, meaningless on a photograph.
const QString kDrawingOnly[] = {"lblX", "txtX", "lblY", "txtY", "cmdAjouterXY"};

QString defaultImageDialog() {
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromUtf8(kOpenTitle), QDir::homePath(),
                                      QString::fromUtf8(kImageFilters));
}

QString defaultPictureSaveDialog(const QString& suggested) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kPhotoSaveTitle), suggested,
                     QStringLiteral("PNG (*.png)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString defaultSaveDialog(const QString& suggested, PageFormat& format) {
  const QString pdf = QStringLiteral("PDF (*.pdf)");
  const QString svg = QStringLiteral("SVG (*.svg)");
  QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kSaveTitle), suggested, pdf + ";;" + svg);
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

// The photograph's commands and read-outs, in a column of their own: what opens and closes
// an image, its orientation, the limb by hand, the pointer's pixel and the spots' areas.
void addPhotographColumn(std::vector<ControlRow>& c) {
  const int inner = kPhotoWidth - 240;
  c.push_back({.name = "cmdOuvrir", .kind = Kind::CommandButton, .caption = "&Ouvrir une image…",
               .at = {kPhotoLeft, 120, 2880, kButtonHeight}});
  c.push_back({.name = "cmdFermer", .kind = Kind::CommandButton, .caption = "&Fermer l'image",
               .at = {kPhotoLeft + 3000, 120, kPhotoWidth - 3000, kButtonHeight}});
  c.push_back({.name = "lblImage", .caption = kNoImageOpen, .at = {kPhotoLeft, 600, kPhotoWidth, 510}, .wrap = true,
               .accessibleName = "Image ouverte"});
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
  c.push_back({.name = "cmdBord", .kind = Kind::CommandButton, .caption = "&Bord par trois points",
               .at = {kPhotoLeft, 3180, kPhotoWidth, kButtonHeight}});

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
  c.push_back({.name = "cmdMesurer", .kind = Kind::CommandButton, .caption = "Mes&urer l'aire",
               .at = {120, 1050, inner, kButtonHeight}, .frame = "fraMesure"});

  c.push_back({.name = "lblPhotoEtat", .at = {kPhotoLeft, 6000, kPhotoWidth, 765}, .wrap = true,
               .accessibleName = "État de la photographie"});
  c.push_back({.name = "lblAidePhoto", .caption = kPhotoHelp, .at = {kPhotoLeft, 6840, kPhotoWidth, 3120},
               .wrap = true});
}

}  // namespace

ui::FormTable disqueForm() {
  ui::FormTable form;
  form.name = "Disque";
  form.title = QStringLiteral(" ") + QString::fromUtf8(kDocumentTitle);
  form.clientWidth = kPhotoLeft + kPhotoWidth + 120;
  form.clientHeight = 10080;
  std::vector<ControlRow>& c = form.controls;
  c = {
      {.name = "Label1", .caption = "Jour", .at = {120, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {720, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1320, 120, 660, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Heure TU", .at = {2160, 120, 960, 252}},
      {.name = "Label5", .caption = "Min", .at = {3240, 120, 480, 252}, .align = Align::Centre},
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
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {240, 780, 2400, 255},
       .accessibleName = "Ramener à 0 heure"},
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

  // The pointer's read-out: five captions over five results, and a line of explanation.
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

  // The spots: their table, and what types one in.
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
  c.push_back({.name = "cmdSupprimer", .kind = Kind::CommandButton, .caption = "&Supprimer la tache",
               .at = {kLeft, 9600, 2400, kButtonHeight}});

  c.push_back({.name = "Command1", .kind = Kind::CommandButton, .caption = "&A propos", .at = {3360, 9600, 1212, kButtonHeight}});
  c.push_back({.name = "cmdImprimer", .kind = Kind::CommandButton, .caption = "&Imprimer",
               .at = {4800, 9600, 1212, kButtonHeight}});
  c.push_back({.name = "cmdEnregistrer", .kind = Kind::CommandButton, .caption = "&Enregistrer…",
               .at = {6240, 9600, 1452, kButtonHeight}});
  c.push_back({.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {11268, 9600, 1212, kButtonHeight}});

  addPhotographColumn(c);

  form.tabOrder = {"txtJour",      "txtMois",    "txtAnnée",    "txtHeure",       "txtMinute",    "chkZero",
                   "optPas5",      "optPas10",   "optPas15",    "optEstGauche",   "optEstDroite", "txtDiametre",
                   "grdTaches",    "txtAngle",   "txtDistance", "chkDepuisAxe",   "cmdAjouter",   "txtX",
                   "txtY",         "cmdAjouterXY", "cmdSupprimer", "Command1",     "cmdImprimer",  "cmdEnregistrer",
                   "cmdOuvrir",    "cmdFermer",  "txtOrientation", "optNordCeleste", "optNordSolaire", "chkEstDroite",
                   "cmdDerive",    "cmdBord",    "txtSeuilTache", "txtSeuilOmbre", "cmdMesurer",   "cmdMenu"};
  addPhotoDisplayControls(form);
  return form;
}

Disque::Disque(ui::Desktop desktop, std::string decimalSeparator)
    : Form(disqueForm()),
      m_desktop(desktop),
      m_separator(std::move(decimalSeparator)),
      m_fields(*this, desktop, CheckForm::ExactText, [this] { Calcul(); }),
      m_about(about::disqueAbout(), desktop, this),
      m_printer(std::make_unique<QtPagePrinter>(desktop.messages)),
      m_saveDialog(&defaultSaveDialog),
      m_imageDialog(&defaultImageDialog),
      m_pictureSaveDialog(&defaultPictureSaveDialog),
      m_documents(desktop.messages) {
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
  setText("txtSeuilTache", toQString(thresholdText(photo::SpotThresholds{}.spot, m_separator)));
  setText("txtSeuilOmbre", toQString(thresholdText(photo::SpotThresholds{}.umbra, m_separator)));
  nameForAccessibility();
  m_table = table("grdTaches");
  m_table->installEventFilter(this);

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
  onClick("cmdOuvrir", [this] { cmdOuvrir_Click(); });
  onClick("cmdFermer", [this] { cmdFermer_Click(); });
  onChange("txtOrientation", [this] { showPicture(); });
  onClick("optNordCeleste", [this] { showPicture(); });
  onClick("optNordSolaire", [this] { showPicture(); });
  onClick("chkEstDroite", [this] { showPicture(); });
  onClick("cmdDerive", [this] { cmdDerive_Click(); });
  onClick("cmdBord", [this] { cmdBord_Click(); });
  onClick("cmdMesurer", [this] { cmdMesurer_Click(); });
  m_photo->onPointer([this](std::optional<photo::PixelPoint> pixel) { picPhoto_MouseMove(pixel); });
  m_photo->onClick([this](photo::PixelPoint pixel) { picPhoto_Click(pixel); });
  showPictureControls();
}

Disque::~Disque() = default;

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
      !(m_image ? m_pictureSpots.empty() : m_spots.spots().empty())) {
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
  showPicture();
}

void Disque::optEst_Click() { m_view->setOrientation(orientation()); }

void Disque::picDisque_MouseMove(std::optional<DiscPoint> point) {
  m_pointer = point;
  showPointer();
}

void Disque::picDisque_MouseDown(DiscPoint point) {
  if (const std::optional<DiscPoint> spot = spotOfClick(disc(), point)) addSpot(*spot);
}

void Disque::cmdAjouter_Click() {
  const SpotEntry entry =
      spotOfAngle(toUtf8(text("txtAngle")), toUtf8(text("txtDistance")), value("chkDepuisAxe"), disc(), m_separator);
  if (!entry.point) return refuse(toQString(entry.refusal));
  if (m_image) {
    const FrameOutcome placed = frame();
    if (!placed.frame) return refuse(toQString(placed.refusal));
    return addPictureSpot(photo::pixelOfDiscPoint(*placed.frame, *entry.point));
  }
  addSpot(*entry.point);
}

void Disque::cmdAjouterXY_Click() {
  const SpotEntry entry = spotOfDrawing(toUtf8(text("txtX")), toUtf8(text("txtY")), drawingOptions(), m_separator);
  if (!entry.point) return refuse(toQString(entry.refusal));
  addSpot(*entry.point);
}

void Disque::cmdSupprimer_Click() {
  std::vector<int> rows;
  for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows.push_back(index.row());
  if (m_image) {
    if (!removeRows(m_pictureSpots, std::move(rows))) return refuse(kNothingToRemove);
    return showPicture();
  }
  if (!m_spots.remove(std::move(rows))) return refuse(kNothingToRemove);
  showSpots();
}

void Disque::cmdImprimer_Click() {
  if (m_image) return printPicture();
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  m_printer->print(pageName(), *content, *options);
}

void Disque::cmdEnregistrer_Click() {
  if (m_image) return savePicture();
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  PageFormat format = PageFormat::Pdf;
  const QString path = m_saveDialog(QDir::home().filePath(pageName() + QStringLiteral(".pdf")), format);
  if (path.isEmpty()) return;
  // A page not written is said, naming the file and why; the window stays as it was, its
  // spots kept, for another "Enregistrer…" elsewhere. A file it would replace is intact.
  if (!writeDiscPage(path, format, *content, *options, &error)) refuse(error);
}

void Disque::Command1_Click() { m_about.show(); }

void Disque::cmdMenu_Click() {
  m_about.unload();
  unload();
}

void Disque::Calcul() {
  const FieldTexts fields(*this);
  const dalvoren::AspectTexts texts = dalvoren::aspectTexts(fields.view(), m_separator);
  setText("lblRotSyn", toQString(texts.rotation));
  setText("lblDemidiam", toQString(texts.semiDiameter));
  setText("lblP", toQString(texts.p));
  setText("lblBo", toQString(texts.b0));
  setText("lblLo", toQString(texts.l0));

  m_instant = preciseDiscInstant(fields.view());
  m_view->setDisc(disc());
  showSpots();
  showPointer();
}

void Disque::addSpot(DiscPoint point) {
  m_spots.add(point);
  showSpots();
  m_table->scrollToBottom();
}

// The table and the drawing follow the spots; B, L and DMC follow the instant.
void Disque::showSpots() {
  if (m_image) return showPicture();
  const std::vector<Spot>& spots = m_spots.spots();
  const std::optional<DiscOrientation> orientation = disc();
  m_table->setRowCount(static_cast<int>(spots.size()));
  for (int row = 0; row < static_cast<int>(spots.size()); ++row) {
    const std::array<std::string, 6> cells = spotRow(orientation, spots[static_cast<std::size_t>(row)], m_separator).cells();
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(toQString(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(row, column, item);
    }
  }
  m_view->setSpots(spots);
}

void Disque::showPointer() {
  if (m_image) return showPicturePointer();
  const PointerReadout readout = pointerReadout(disc(), m_pointer, m_separator);
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

PageOptions Disque::drawingOptions() const {
  return pageOptionsOf(toUtf8(text("txtDiametre")), orientation(), gridStep(), m_separator);
}

QString Disque::pageName() const { return documentName(QString::fromUtf8(kDocumentTitle), *this); }

std::optional<DiscOrientation> Disque::disc() const {
  return m_instant ? std::optional(m_instant->disc) : std::nullopt;
}

std::optional<PageContent> Disque::pageContent(QString* error) const {
  if (!m_instant) {
    if (error) *error = QString::fromUtf8(kIncompleteDate);
    return std::nullopt;
  }
  return PageContent{m_instant->julianDay, m_separator, m_spots.spots()};
}

std::optional<PageOptions> Disque::pageOptions(QString* error) const {
  const PageOptions options = drawingOptions();
  if (const std::string refusal = refusalOf(options); !refusal.empty()) {
    if (error) *error = toQString(refusal);
    return std::nullopt;
  }
  return options;
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

void Disque::cmdOuvrir_Click() {
  const QString path = m_imageDialog();
  if (!path.isEmpty()) openImage(path);
}

void Disque::openImage(const QString& path) {
  image::ImageReadOutcome read = image::readImageFile(path);
  if (!read.ok()) return refuse(toQString(read.refusal));
  auto samples = std::make_unique<image::GreyImage>(std::move(read.image));
  // The view lets go of the old samples before they are freed.
  m_photo->setImage(samples.get());
  m_image = std::move(samples);
  // Spots and picked points belong to the image they were read on.
  m_pictureSpots.clear();
  m_nextPictureSpot = 1;
  m_picking = Picking::None;
  m_picked.clear();
  m_pixel.reset();
  m_limb.reset();
  setText("lblImage", QStringLiteral("%1 (%2, %3 × %4 px)")
                          .arg(QFileInfo(path).fileName(), toQString(read.description()))
                          .arg(m_image->width())
                          .arg(m_image->height()));
  m_view->hide();
  m_photo->show();
  showPictureControls();

  const photo::LimbOutcome found = photo::findLimb(m_image->view());
  if (found.limb) {
    m_limb = found.limb->circle;
    m_limbFound = true;
    setText("lblPhotoEtat", limbText(kLimbFound));
  } else {
    setText("lblPhotoEtat", QString::fromUtf8(kLimbMissing));
  }
  // The date fields take the observation's as if typed, so that their checks and the
  // results follow; the user may still change them.
  if (read.observed) fillObservedDate(*read.observed);
  showPicture();
  showPointer();
  if (!found.limb) refuse(toQString(found.reason));
}

void Disque::fillObservedDate(const image::ObservationDate& observed) {
  setText("txtJour", QString::number(observed.day));
  setText("txtMois", QString::number(observed.month));
  setText("txtAnnée", QString::number(observed.year));
  if (!observed.hasTime) return;
  if (value("chkZero")) setValue("chkZero", 0);
  // The minute begun: the fields hold whole minutes.
  setText("txtMinute", QString::number(observed.minute));
  setText("txtHeure", QString::number(observed.hour));
}

// "%1 %2 %3": the limb's centre and radius in pixels.
QString Disque::limbText(const char* pattern) const {
  const auto shown = [this](double pixels) { return toQString(pixelText(pixels, m_separator)); };
  return QString::fromUtf8(pattern).arg(shown(m_limb->centre.x), shown(m_limb->centre.y), shown(m_limb->radius));
}

void Disque::cmdFermer_Click() {
  m_photo->setImage(nullptr);
  m_image.reset();
  // A photograph's spots are pixels of that image: they mean nothing on the drawn disc
  // nor on the next image, and go with it. The drawn disc's own spots are kept.
  m_pictureSpots.clear();
  m_picking = Picking::None;
  m_picked.clear();
  m_pixel.reset();
  m_limb.reset();
  m_photo->setOverlay({});
  m_photo->hide();
  m_view->show();
  setText("lblImage", QString::fromUtf8(kNoImageOpen));
  setText("lblPhotoEtat", QString());
  m_table->setColumnCount(static_cast<int>(kSpotColumns.size()));
  m_table->setHorizontalHeaderLabels(kSpotColumns);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  showPictureControls();
  showSpots();
  showPointer();
}

void Disque::showPictureControls() {
  const bool open = m_image != nullptr;
  for (const QString& name : kPictureControls) control(name)->setEnabled(open);
  for (const QString& name : kDrawingOnly) control(name)->setEnabled(!open);
  for (const char* name : {"lblPxX", "lblPxY"}) setText(name, QString());
}

void Disque::cmdDerive_Click() {
  pick(Picking::Drift);
  setText("lblPhotoEtat", QString::fromUtf8(kPickDriftFirst));
}

void Disque::cmdBord_Click() {
  pick(Picking::Limb);
  setText("lblPhotoEtat", QString::fromUtf8(kPickLimb).arg(1));
}

void Disque::pick(Picking what) {
  m_picking = what;
  m_picked.clear();
  showPicture();
}

void Disque::picPhoto_MouseMove(std::optional<photo::PixelPoint> pixel) {
  m_pixel = pixel;
  showPicturePointer();
}

void Disque::picPhoto_Click(photo::PixelPoint pixel) {
  switch (m_picking) {
    case Picking::Limb:
      return pickLimb(pixel);
    case Picking::Drift:
      return pickDrift(pixel);
    case Picking::None:
      return addPictureSpot(pixel);
  }
}

void Disque::pickLimb(photo::PixelPoint pixel) {
  m_picked.push_back(pixel);
  if (m_picked.size() < 3) {
    setText("lblPhotoEtat", QString::fromUtf8(kPickLimb).arg(m_picked.size() + 1));
    return showPicture();
  }
  const photo::CircleOutcome circle = photo::circleThroughPoints(m_picked[0], m_picked[1], m_picked[2]);
  pick(Picking::None);
  if (!circle.circle) {
    setText("lblPhotoEtat", QString());
    return refuse(toQString(circle.reason));
  }
  m_limb = circle.circle;
  m_limbFound = false;
  setText("lblPhotoEtat", limbText(kLimbGiven));
  showPicture();
  showPicturePointer();
}

// The drift gives celestial north, written into the angle as if typed: the user sees it
// and may correct it.
void Disque::pickDrift(photo::PixelPoint pixel) {
  m_picked.push_back(pixel);
  if (m_picked.size() < 2) {
    setText("lblPhotoEtat", QString::fromUtf8(kPickDriftSecond));
    return showPicture();
  }
  photo::ImageOrientation drift = imageOrientation();
  drift.given = photo::NorthGiven::Drift;
  drift.driftFrom = m_picked[0];
  drift.driftTo = m_picked[1];
  const photo::NorthOutcome north = photo::celestialNorth(drift, disc().value_or(DiscOrientation{}));
  pick(Picking::None);
  if (!north.angle) {
    setText("lblPhotoEtat", QString());
    return refuse(toQString(north.reason));
  }
  const QString angle = toQString(angleText(*north.angle, m_separator));
  static_cast<QAbstractButton*>(control("optNordCeleste"))->setChecked(true);
  setText("txtOrientation", angle);
  setText("lblPhotoEtat", QString::fromUtf8(kDriftNorth).arg(angle));
  showPicture();
}

void Disque::addPictureSpot(photo::PixelPoint pixel) {
  const FrameOutcome placed = frame();
  // Off the disc, as on the drawn disc, a click adds nothing.
  if (placed.frame && pointRefusal(photo::discPointOfPixel(*placed.frame, pixel)) != DiscRefusal::None) return;
  m_pictureSpots.push_back({m_nextPictureSpot++, pixel, std::nullopt});
  showPicture();
  // The spot just clicked is the one "Mesurer l'aire" measures, not one chosen before.
  m_table->clearSelection();
  m_table->scrollToBottom();
}

void Disque::cmdMesurer_Click() {
  if (!m_image) return;
  if (!m_limb) return refuse(QString::fromUtf8(kNoLimbYet));
  const ThresholdsEntry entry = thresholdsOf(toUtf8(text("txtSeuilTache")), toUtf8(text("txtSeuilOmbre")), m_separator);
  if (!entry.thresholds) return refuse(toQString(entry.refusal));
  if (m_pictureSpots.empty()) return refuse(QString::fromUtf8(kNoSpotToMeasure));
  // The spot chosen in the table, else the last one clicked.
  std::size_t chosen = m_pictureSpots.size() - 1;
  const QModelIndexList rows = m_table->selectionModel()->selectedRows();
  if (!rows.isEmpty() && static_cast<std::size_t>(rows.first().row()) < m_pictureSpots.size())
    chosen = static_cast<std::size_t>(rows.first().row());
  PictureSpot& spot = m_pictureSpots[chosen];
  const photo::SpotOutcome measured = photo::measureSpot(m_image->view(), *m_limb, spot.at, *entry.thresholds);
  if (!measured.spot) return refuse(toQString(measured.reason));
  spot.measured = measured.spot;
  setText("lblPhotoEtat", QString::fromUtf8(kSpotMeasured)
                              .arg(spot.number)
                              .arg(toQString(areaText(measured.spot->whole.hemisphere, m_separator)),
                                   toQString(areaText(measured.spot->umbra.hemisphere, m_separator))));
  showPicture();
  m_table->selectRow(static_cast<int>(chosen));
}

photo::ImageOrientation Disque::imageOrientation() const {
  photo::ImageOrientation orientation;
  orientation.given = value("optNordSolaire") ? photo::NorthGiven::Solar : photo::NorthGiven::Celestial;
  orientation.angle = orientationAngle(toUtf8(text("txtOrientation")), m_separator);
  orientation.mirrored = value("chkEstDroite") != 0;
  return orientation;
}

FrameOutcome Disque::frame() const { return imageFrame(m_limb, imageOrientation(), disc()); }

void Disque::showPicture() {
  if (!m_image) return;
  const std::optional<photo::ImageFrame> placed = frame().frame;
  const std::optional<DiscOrientation> orientation = disc();
  if (m_table->columnCount() != kPictureSpotColumns.size()) {
    m_table->setColumnCount(static_cast<int>(kPictureSpotColumns.size()));
    m_table->setHorizontalHeaderLabels(kPictureSpotColumns);
    // Eight columns in the width of six: the number and the areas take what their headings need.
    for (const int column : {0, 6, 7}) m_table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  m_table->setRowCount(static_cast<int>(m_pictureSpots.size()));
  PhotoOverlay overlay;
  overlay.frame = placed;
  overlay.disc = orientation;
  overlay.gridStep = gridStep();
  for (int row = 0; row < static_cast<int>(m_pictureSpots.size()); ++row) {
    const PictureSpot& spot = m_pictureSpots[static_cast<std::size_t>(row)];
    const std::array<std::string, 8> cells = pictureSpotCells(placed, orientation, spot, m_separator);
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(toQString(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(row, column, item);
    }
    overlay.spots.push_back({spot.number, spot.at});
    if (spot.measured) overlay.outlines.push_back(spot.measured->mask);
  }
  if (m_picking == Picking::Limb) overlay.limbPoints = m_picked;
  if (m_picking == Picking::Drift) overlay.driftPoints = m_picked;
  m_photo->setOverlay(std::move(overlay));
  showPicturePointer();
}

void Disque::showPicturePointer() {
  if (!m_image) return;
  setText("lblPxX", m_pixel ? toQString(pixelText(m_pixel->x, m_separator)) : QString());
  setText("lblPxY", m_pixel ? toQString(pixelText(m_pixel->y, m_separator)) : QString());
  PointerReadout readout;
  const FrameOutcome placed = frame();
  if (!m_pixel)
    readout.state = kPhotoPointerHint;
  else if (!placed.frame)
    readout.state = placed.refusal;
  else
    readout = pointerReadout(disc(), photo::discPointOfPixel(*placed.frame, *m_pixel), m_separator);
  for (std::size_t i = 0; i < readout.cells.size(); ++i) setText(kPointerNames[i], toQString(readout.cells[i]));
  setText("lblPtEtat", toQString(readout.state));
}

QString Disque::pictureName() const {
  return documentName(QStringLiteral("Photographie du Soleil"), *this);
}

void Disque::savePicture() {
  const QString path = m_pictureSaveDialog(QDir::home().filePath(pictureName() + QStringLiteral(".png")));
  if (path.isEmpty()) return;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!captionedPicture(m_photo->photoWithOverlay(), pictureCaptionLines()).save(&buffer, "PNG"))
    return refuse(QString::fromUtf8(kPageNotWritten).arg(path, QString::fromUtf8(kPngNotMade)));
  if (const QString reason = ui::writeWholeFile(path, png); !reason.isEmpty())
    return refuse(QString::fromUtf8(kPageNotWritten).arg(path, reason));
  const QFileInfo written(path);
  const QString csvPath = written.dir().filePath(written.completeBaseName() + QStringLiteral(".csv"));
  const std::string csv = pictureSpotsCsv(m_pictureSpots, frame().frame, disc(), m_separator);
  if (const QString reason = ui::writeWholeFile(csvPath, QByteArray::fromStdString(csv)); !reason.isEmpty())
    refuse(QString::fromUtf8(kPageNotWritten).arg(csvPath, reason));
}

QStringList Disque::pictureCaptionLines() const {
  const std::string instant =
      m_instant ? headingLine(m_instant->julianDay, m_separator) : std::string(kIncompleteDate);
  QStringList lines;
  for (const std::string& line : pictureCaption(text("lblImage").toStdString(), instant,
                                                orientationLine(frame(), m_separator),
                                                limbLine(m_limb, m_limbFound, m_separator)))
    lines << toQString(line);
  return lines;
}

void Disque::printPicture() {
  PhotoPage page;
  page.heading = m_instant ? toQString(headingLine(m_instant->julianDay, m_separator)) : QString::fromUtf8(kIncompleteDate);
  page.fileLine = text("lblImage");
  page.frameLines = {toQString(orientationLine(frame(), m_separator)),
                     toQString(limbLine(m_limb, m_limbFound, m_separator))};
  page.picture = m_photo->display();
  page.overlay = m_photo->overlay();
  page.columns = kPictureSpotColumns;
  const std::optional<photo::ImageFrame> placed = frame().frame;
  for (const PictureSpot& spot : m_pictureSpots) {
    const std::array<std::string, 8> cells = pictureSpotCells(placed, disc(), spot, m_separator);
    page.rows.emplace_back(cells.begin(), cells.end());
  }
  m_documents.print(pictureName(), m_documents.pageLayout(), [&page](QPainter& painter, QPagedPaintDevice& device) {
    return paintPhotoPage(painter, device, page);
  });
}

}  // namespace kavrel::disque
