// The rows of kavrel's actions on the disc and on photographs: disque (the printed page),
// limbe, tache-image, aire and carte-synoptique. Their help is here, as data; what runs them needs Qt Gui
// and is linked apart (cli/painting.h). Qt-free.
#include "cli/disc_actions.h"

#include "cli/painting.h"

namespace kavrel::cli {

using enum DateField;

namespace {

const std::vector<Action> kActions{
    {"disque", {"JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE"},
     {"la page imprimée du disque solaire à une date et une heure TU, sans taches\n"
      "(Disque), en PDF ou en SVG : diamètre du disque en mm (50 à 250, 150 par\n"
      "défaut), est à droite comme sur un écran de projection, pas de la grille\n"
      "en degrés (5, 10 ou 15, 10 par défaut)",
      "the printed page of the Sun's disc at a date and a time of UT, without spots\n"
      "(Disque), as PDF or SVG: diameter of the disc in mm (50 to 250, 150 by\n"
      "default), east on the right as on a projection screen, grid step in degrees\n"
      "(5, 10 or 15, 10 by default)"},
     {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, false, writeDiscPageFile,
     {{"--pdf", 1}, {"--svg", 1}, {"--diametre", 1}, {"--est-a-droite", 0}, {"--pas", 1}},
     "--pdf FICHIER | --svg FICHIER [--diametre MM] [--est-a-droite] [--pas DEG]"},
    {"limbe", {"IMAGE"},
     {"le bord du Soleil sur une photographie (PNG, JPEG, TIFF, FITS) : centre et\n"
      "rayon en pixels, trouvés automatiquement avec leur écart quadratique et le\n"
      "nombre de points du bord, lus dans l'en-tête FITS (WCS) quand le bord trouvé\n"
      "s'accorde avec lui, ou passant par trois points du bord (--bord) ; une\n"
      "dernière ligne dit d'où il vient : « Source : image », « Source : en-tête »\n"
      "ou « Source : trois points »",
      "the Sun's limb on a photograph (PNG, JPEG, TIFF, FITS): centre and radius in\n"
      "pixels, found automatically with their rms residual and the number of limb\n"
      "points, read from the FITS header (WCS) when the limb found agrees with it,\n"
      "or through three points of the limb (--bord); a last line says where it came\n"
      "from: \"Source : image\", \"Source : en-tête\" or \"Source : trois points\""},
     {}, CheckForm::ExactText, false, printLimb, {{"--bord", 6}}, "[--bord X1 Y1 X2 Y2 X3 Y3]"},
    {"tache-image", {"IMAGE", "JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE", "X", "Y"},
     {"l'angle de position, la distance au centre et B, L, DMC du pixel X Y d'une\n"
      "photographie prise à une date et une heure TU ; le nord céleste à ANGLE degrés\n"
      "du haut de l'image vers la gauche (0 par défaut ; celui du pôle nord du Soleil\n"
      "avec --depuis-axe), ou donné par la dérive d'un détail, télescope arrêté ;\n"
      "--est-a-droite pour une image retournée ; --limbe donne le bord sans le chercher.\n"
      "Sans la date et l'heure, celles de l'en-tête FITS (DATE-OBS, à la seconde),\n"
      "avec B0 et L0 de son observateur s'il le donne ; une date et une heure données\n"
      "dans la minute de l'en-tête gardent ses secondes et son observateur, une autre\n"
      "prend l'éphéméride précise. Le bord de l'en-tête (WCS) est pris sauf --limbe,\n"
      "son orientation sauf --nord, --derive, --depuis-axe ou --est-a-droite ;\n"
      "--decalage-horloge H : l'horloge de l'appareil (EXIF) avance de H heures sur le TU",
      "the position angle, the distance from the centre and B, L, DMC of the pixel X Y\n"
      "of a photograph taken at a date and a time of UT; celestial north at ANGLE\n"
      "degrees from the top of the image toward the left (0 by default; that of the\n"
      "Sun's north pole with --depuis-axe), or given by the drift of a feature with the\n"
      "drive stopped; --est-a-droite for a mirrored image; --limbe gives the limb\n"
      "instead of finding it. Without the date and time, those of the FITS header\n"
      "(DATE-OBS, to the second), with B0 and L0 of its observer where it gives one;\n"
      "a date and time given within the header's minute keep its seconds and its\n"
      "observer, another takes the precise ephemeris. The header's limb (WCS) is\n"
      "taken unless --limbe is given, its orientation unless --nord, --derive,\n"
      "--depuis-axe or --est-a-droite is; --decalage-horloge H: the camera's clock\n"
      "(EXIF) is H hours ahead of UT"},
     {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, false, printPixelSpot,
     {{"--nord", 1}, {"--derive", 4}, {"--depuis-axe", 0}, {"--est-a-droite", 0}, {"--limbe", 3},
      {"--decalage-horloge", 1}},
     "[--nord ANGLE | --derive X1 Y1 X2 Y2] [--depuis-axe] [--est-a-droite] [--limbe CX CY R] "
     "[--decalage-horloge H]",
     1, 5},
    {"aire", {"IMAGE", "X", "Y"},
     {"l'aire de la tache sous le pixel X Y d'une photographie et celle de son ombre,\n"
      "en millionièmes de l'hémisphère (MSH, corrigée de la perspective) et du disque :\n"
      "la région plus sombre que TACHE (0,90) fois le Soleil calme autour d'elle,\n"
      "l'assombrissement du bord retiré ; l'ombre s'arrête au creux de l'histogramme\n"
      "de la tache entre ombre et pénombre (à OMBRE, 0,60, sans creux), ou à OMBRE\n"
      "avec --ombre-fixe",
      "the area of the spot under the pixel X Y of a photograph and that of its umbra,\n"
      "in millionths of the hemisphere (MSH, corrected for foreshortening) and of the\n"
      "disc: the region darker than TACHE (0.90) times the quiet Sun around it, limb\n"
      "darkening removed; the umbra ends at the dip of the spot's histogram between\n"
      "umbra and penumbra (at OMBRE, 0.60, where there is none), or at OMBRE with\n"
      "--ombre-fixe"},
     {}, CheckForm::ExactText, false, printSpotArea, {{"--seuils", 2}, {"--ombre-fixe", 0}, {"--limbe", 3}},
     "[--seuils TACHE OMBRE] [--ombre-fixe] [--limbe CX CY R]"},
    {"carte-synoptique", {"ROTATION", "IMAGE..."},
     {"la carte synoptique d'une rotation de Carrington faite de photographies\n"
      "(PNG, JPEG, TIFF, FITS) : longitude de 360 à gauche à 0, latitude de -90 à\n"
      "90, DEG degrés par pixel (0,1 par défaut) ; chaque longitude prise de la\n"
      "photographie la plus proche de son passage au méridien central, la lumière\n"
      "rapportée à celle du disque au même rayon (assombrissement du bord retiré),\n"
      "vide où aucune photographie ne la voit. --fits : réels de 32 bits, NaN où\n"
      "vide, coordonnées de Carrington (CRLN-CAR, CRLT-CAR, CAR_ROT, DATE-OBS) ;\n"
      "--png : gris de 8 bits, noir où vide. Bord, orientation et instant de\n"
      "chaque fichier (en-tête FITS, bord trouvé, EXIF) sauf --limbe, --nord,\n"
      "--depuis-axe, --est-a-droite, donnés alors pour toutes les photographies ;\n"
      "une photographie sans bord, sans instant ou prise hors de la rotation (à\n"
      "7 jours près) est écartée, dite avec sa raison",
      "the synoptic map of a Carrington rotation made of photographs (PNG, JPEG,\n"
      "TIFF, FITS): longitude from 360 on the left to 0, latitude from -90 to 90,\n"
      "DEG degrees a pixel (0.1 by default); each longitude taken from the\n"
      "photograph nearest its central-meridian passage, the light over the disc's\n"
      "own at the same radius (limb darkening removed), blank where no photograph\n"
      "sees it. --fits: 32-bit reals, NaN where blank, Carrington coordinates\n"
      "(CRLN-CAR, CRLT-CAR, CAR_ROT, DATE-OBS); --png: 8-bit grey, black where\n"
      "blank. Each file's limb, orientation and instant (FITS header, limb found,\n"
      "EXIF) unless --limbe, --nord, --depuis-axe, --est-a-droite, then given for\n"
      "every photograph; a photograph without a limb, without an instant or taken\n"
      "outside the rotation (by more than 7 days) is set aside, said with its reason"},
     {}, CheckForm::ExactText, false, writeSynopticMap,
     {{"--png", 1}, {"--fits", 1}, {"--pas", 1}, {"--nord", 1}, {"--depuis-axe", 0}, {"--est-a-droite", 0},
      {"--limbe", 3}, {"--decalage-horloge", 1}},
     "--png FICHIER | --fits FICHIER [--pas DEG] [--nord ANGLE] [--depuis-axe] [--est-a-droite] "
     "[--limbe CX CY R] [--decalage-horloge H]",
     0, 0, nullptr, true},
};

}  // namespace

const std::vector<Action>& discActions() { return kActions; }

}  // namespace kavrel::cli
