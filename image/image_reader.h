// Reading a photograph of the Sun from a file into a grey image.
//
// FITS files (recognised by their first bytes, whatever their name) go through CFITSIO
// (see fits_reader.h), PNG files through libspng where it reads them (png_reader.h). Every
// other file goes through Qt's image readers: PNG, JPEG and TIFF (the last through the Qt
// image formats plugins), 8 or 16 bits per sample, grey or colour; an orientation tag
// (EXIF) is applied, so that the image is as it is displayed.
// Samples keep the file's integer values (0..255 for 8 bits, 0..65535 for 16 bits;
// floating-point TIFF as stored). Colour becomes luminance with the Rec. 709 weights
// Y = 0.2126 R + 0.7152 G + 0.0722 B applied to the stored values (no gamma removed);
// alpha is ignored. A JPEG or TIFF gives the date its camera wrote (EXIF, exif_date.h).
//
// A file is refused, with its name and the reason in French, when it is missing, a
// folder, unreadable, empty, not an image, truncated or damaged, a FITS without a 2-D
// image, or larger than kMaxPixels (checked from the header, before the pixels are read).
#pragma once

#include <QString>

#include "image/read_outcome.h"

namespace kavrel::image {

[[nodiscard]] ImageReadOutcome readImageFile(const QString& path);

}  // namespace kavrel::image
