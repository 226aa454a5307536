// Reading the image of a FITS file (on disk or in memory) into a grey image, with CFITSIO.
//
// The image read is the first HDU, primary or extension, that holds one of at least two
// axes with NAXIS1 > 1 and NAXIS2 > 1; of a cube, its first plane. Tile-compressed
// images (.fits.fz) are read as the image they hold. Samples are the physical values
// (BZERO + BSCALE x stored) as float32: 8- and 16-bit integers exactly, 32- and 64-bit
// integers and 64-bit floats to float precision (24 bits); BLANK pixels and NaN become
// NaN. Rows are turned over so that row 0 is the FITS's last row: the image is displayed
// with its first row at the bottom, as astronomers display it.
//
// The declared size is checked before anything is allocated: above maxPixels the file is
// refused, and so is an uncompressed file shorter than its declared data.
// DATE-OBS and its variants (else T_OBS), and the keywords of the Sun's geometry
// (image/file_geometry.h), are looked up in the image's header, then in the primary one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "image/read_outcome.h"

namespace kavrel::image {

// The first bytes of every FITS file ("SIMPLE  =").
[[nodiscard]] bool looksLikeFits(const void* data, std::size_t size) noexcept;

[[nodiscard]] ImageReadOutcome readFitsFile(const std::string& path, std::string_view fileName,
                                            std::int64_t maxPixels = kMaxPixels);
[[nodiscard]] ImageReadOutcome readFitsBytes(const void* data, std::size_t size,
                                             std::string_view fileName,
                                             std::int64_t maxPixels = kMaxPixels);

}  // namespace kavrel::image
