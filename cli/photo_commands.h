// The subcommands of kavrel that measure a photograph of the Sun: its limb, the
// heliographic coordinates of a pixel, the area of a spot. Each reads the image file,
// finds the limb (or takes the one given), calls the measuring core and prints its lines.
//
// Exit statuses as everywhere in kavrel: 1 when the file cannot be read, 2 for what the
// user gave (a field, an option, a point off the disc, an image without a limb).
#pragma once

#include "cli/command_context.h"

namespace kavrel::cli {

// IMAGE [--bord X1 Y1 X2 Y2 X3 Y3]: the limb's centre and radius in pixels, for the
// automatic fit its rms residual and number of points, and where it came from.
int printLimb(const Fields& fields, const Context& context);

// IMAGE [J M A H MIN] X Y [--nord ANGLE | --derive X1 Y1 X2 Y2] [--depuis-axe]
// [--est-a-droite] [--limbe CX CY R]: theta and r of the pixel, then B, L and DMC; without
// the instant, the file's, refused when it has none.
int printPixelSpot(const Fields& fields, const Context& context);

// IMAGE X Y [--seuils TACHE OMBRE] [--limbe CX CY R]: the areas of the spot under the
// pixel and of its umbra.
int printSpotArea(const Fields& fields, const Context& context);

}  // namespace kavrel::cli
