// Writing a float32 image as a FITS file, without Qt: one primary image, its header's
// keywords as given, NaN kept as NaN (the IEEE blank of a floating-point FITS image).
//
// Rows come top first, as image/grey_image.h keeps them; a FITS image's first row is
// displayed at the bottom, so they are written bottom first: the file read back through
// image/fits_reader.h gives the same rows. The file is built in memory by CFITSIO (opened
// on demand, programs/cfitsio_on_demand.h) and written whole or not at all
// (common/file_bytes.h).
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace kavrel::image {

struct FitsKeyword {
  std::string name;                              // "CTYPE1"
  std::variant<std::string, double, long> value;  // a text, a real or an integer
  std::string comment;                           // ASCII
};

// Empty when written, else why not in French ("Le fichier « carte.fits » n'a pas pu être
// écrit : …"). `samples` holds width × height values, row after row from the top.
[[nodiscard]] std::string writeFitsImage(const std::string& path, int width, int height,
                                         const std::vector<float>& samples, const std::vector<FitsKeyword>& keywords);

}  // namespace kavrel::image
