// A float32 image written as a FITS file (fits_writer.h).
#include "image/fits_writer.h"

#include <fitsio.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

#include "common/file_bytes.h"

namespace kavrel::image {
namespace {

// CFITSIO's words for the last failure, its message stack cleared.
std::string cfitsioReason(int status) {
  std::array<char, FLEN_STATUS> text{};
  fits_get_errstatus(status, text.data());
  fits_clear_errmsg();
  return text.data();
}

int writeKeyword(fitsfile* file, const FitsKeyword& keyword, int& status) {
  const char* comment = keyword.comment.empty() ? nullptr : keyword.comment.c_str();
  if (const auto* text = std::get_if<std::string>(&keyword.value)) {
    std::string value = *text;
    return fits_write_key(file, TSTRING, keyword.name.c_str(), value.data(), comment, &status);
  }
  if (const auto* real = std::get_if<double>(&keyword.value)) {
    double value = *real;
    return fits_write_key(file, TDOUBLE, keyword.name.c_str(), &value, comment, &status);
  }
  long value = std::get<long>(keyword.value);
  return fits_write_key(file, TLONG, keyword.name.c_str(), &value, comment, &status);
}

// The image's HDU into `file`; CFITSIO's status.
int writeImage(fitsfile* file, int width, int height, const std::vector<float>& samples,
               const std::vector<FitsKeyword>& keywords) {
  int status = 0;
  std::array<long, 2> axes{width, height};
  if (fits_create_img(file, FLOAT_IMG, 2, axes.data(), &status) != 0) return status;
  for (const FitsKeyword& keyword : keywords)
    if (writeKeyword(file, keyword, status) != 0) return status;
  // FITS row 1 is the bottom row of the image as displayed.
  std::vector<float> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    const auto from = samples.begin() + static_cast<std::ptrdiff_t>(height - 1 - y) * width;
    std::copy(from, from + width, row.begin());
    const LONGLONG first = static_cast<LONGLONG>(y) * width + 1;
    if (fits_write_img(file, TFLOAT, first, width, row.data(), &status) != 0) return status;
  }
  return status;
}

}  // namespace

std::string writeFitsImage(const std::string& path, int width, int height, const std::vector<float>& samples,
                           const std::vector<FitsKeyword>& keywords) {
  const std::string name = std::filesystem::path(path).filename().string();
  const std::string notWritten = "Le fichier « " + name + " » n'a pas pu être écrit : ";
  if (width <= 0 || height <= 0 || samples.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return notWritten + "l'image est vide.";
  void* buffer = nullptr;
  std::size_t size = 0;
  fitsfile* file = nullptr;
  int status = 0;
  if (fits_create_memfile(&file, &buffer, &size, 0, std::realloc, &status) != 0) {
    std::free(buffer);
    return notWritten + cfitsioReason(status);
  }
  int written = writeImage(file, width, height, samples, keywords);
  // The file's length: its last data block's end (the buffer may run past it).
  LONGLONG headStart = 0, dataStart = 0, dataEnd = 0;
  if (written == 0) fits_get_hduaddrll(file, &headStart, &dataStart, &dataEnd, &written);
  int closed = 0;
  fits_close_file(file, &closed);
  const std::unique_ptr<void, decltype(&std::free)> owned(buffer, &std::free);
  if (written == 0) written = closed;
  if (written != 0) return notWritten + cfitsioReason(written);
  constexpr LONGLONG kBlock = 2880;
  const auto length = static_cast<std::size_t>((dataEnd + kBlock - 1) / kBlock * kBlock);
  if (length > size) return notWritten + "le fichier construit est incomplet.";
  const std::string why = writeFileWhole(path, std::string_view(static_cast<const char*>(buffer), length));
  return why.empty() ? std::string() : notWritten + why;
}

}  // namespace kavrel::image
