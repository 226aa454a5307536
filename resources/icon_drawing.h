// The programs' icons as drawings: a sun disc bearing each program's symbol, painted on a
// 64-unit square, so that every size is the same picture in miniature. The windows paint
// them when they open (no image file to decode, no image plugin to load); the PNGs of the
// desktop's icon theme are these drawings saved once (icons/draw_icons.cpp).
#pragma once

#include <QImage>

#include "resources/program_icon.h"

namespace kavrel {

// The icon painted at `size` x `size` pixels on a transparent ground.
[[nodiscard]] QImage drawnIcon(ProgramIcon program, int size);

// The name of the program's icon files ("farrowel", "precession", ...).
[[nodiscard]] const char* iconName(ProgramIcon program);

}  // namespace kavrel
