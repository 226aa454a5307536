// The actions of kavrel that need Qt Gui: the printed page of the disc, painted with Qt's
// fonts, and the photographs, read with Qt's image plugins (JPEG, TIFF). Their rows are in
// the tables (cli/disc_actions.h, the journal's "graphique"); what runs them is linked in
// one of two ways:
//   - the program kavrel-dessin links the actions themselves (disc_page_command.cpp,
//     photo_commands.cpp, journal_chart.cpp), and Qt Gui with them;
//   - the command kavrel links painting_handover.cpp, which hands the whole command line
//     over to kavrel-dessin, so that the calculations never load Qt Gui.
#pragma once

#include "cli/command_context.h"

namespace kavrel::cli {

// JOUR MOIS ANNEE HEURE MINUTE --pdf F | --svg F [--diametre MM] [--est-a-droite]
// [--pas DEG]: the printed page of the disc, without spots.
[[nodiscard]] Status writeDiscPageFile(const Fields& fields, const Context& context);

// IMAGE [--bord X1 Y1 X2 Y2 X3 Y3]: the limb's centre and radius in pixels, for the
// automatic fit its rms residual and number of points, and where it came from.
[[nodiscard]] Status printLimb(const Fields& fields, const Context& context);

// IMAGE [J M A H MIN] X Y [--nord ANGLE | --derive X1 Y1 X2 Y2] [--depuis-axe]
// [--est-a-droite] [--limbe CX CY R]: theta and r of the pixel, then B, L and DMC; without
// the instant, the file's, refused when it has none.
[[nodiscard]] Status printPixelSpot(const Fields& fields, const Context& context);

// IMAGE X Y [--seuils TACHE OMBRE] [--limbe CX CY R]: the areas of the spot under the
// pixel and of its umbra.
[[nodiscard]] Status printSpotArea(const Fields& fields, const Context& context);

// ROTATION IMAGE... --png F | --fits F [--pas DEG] [--nord ANGLE] [--depuis-axe]
// [--est-a-droite] [--limbe CX CY R] [--decalage-horloge H]: the rotation's synoptic map
// from the photographs, each photograph's use or refusal said.
[[nodiscard]] Status writeSynopticMap(const Fields& fields, const Context& context);

// The whole command line handed over to kavrel-dessin, which runs it and exits with its
// status; failed, said, when it cannot be started.
[[nodiscard]] Status handOverToPainter(std::span<const std::string> commandLine, std::ostream& out,
                                       std::ostream& err);

}  // namespace kavrel::cli
