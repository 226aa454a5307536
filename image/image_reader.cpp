// Photographs read into a grey image (image_reader.h): FITS through fits_reader.h, PNG
// through libspng where it reads them, the rest through Qt's readers, colour as its
// luminance (Rec. 709 weights on the stored values).
#include "image/image_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <optional>

#include "image/exif_date.h"
#include "image/fits_reader.h"
#include "image/png_reader.h"

namespace kavrel::image {
namespace {

constexpr std::string_view kReasonNotImage =
    "ce n'est pas une image d'un format connu (PNG, JPEG, TIFF ou FITS)";

constexpr double kRed = 0.2126;
constexpr double kGreen = 0.7152;
constexpr double kBlue = 0.0722;

// The most bytes per pixel Qt decodes into (RGBA, 16 bits a sample), in MB for the
// largest image accepted, so that Qt's own limit never refuses what this one accepts.
constexpr int kQtAllocationLimitMb = static_cast<int>(kMaxPixels * 8 / (1024 * 1024) + 1);

float luminance(double red, double green, double blue) {
  return static_cast<float>(kRed * red + kGreen * green + kBlue * blue);
}

bool isSixteenBits(QImage::Format format) {
  return format == QImage::Format_RGBX64 || format == QImage::Format_RGBA64 ||
         format == QImage::Format_RGBA64_Premultiplied;
}

bool isFloat(QImage::Format format) {
  switch (format) {
    case QImage::Format_RGBX16FPx4:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
    case QImage::Format_RGBX32FPx4:
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied:
      return true;
    default:
      return false;
  }
}

// Each sample of a grey image (8 or 16 bits) copied as it is.
template <typename Sample>
void copyGrey(const QImage& decoded, GreyImage& image) {
  const int width = decoded.width();
  const int height = decoded.height();
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const Sample*>(decoded.constScanLine(y));
    std::copy(in, in + width, image.row(y));
  }
}

// The luminance of each pixel of an image in QImage::Format_RGBA64; true when a pixel is
// coloured.
bool greyOfRgba64(const QImage& decoded, GreyImage& image) {
  const int width = decoded.width();
  const int height = decoded.height();
  bool colour = false;
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const QRgba64*>(decoded.constScanLine(y));
    float* out = image.row(y);
    for (int x = 0; x < width; ++x) {
      const QRgba64 p = in[x];
      colour = colour || p.red() != p.green() || p.green() != p.blue();
      out[x] = luminance(p.red(), p.green(), p.blue());
    }
  }
  return colour;
}

// Alike, of an image in QImage::Format_RGBA32FPx4.
bool greyOfFloats(const QImage& decoded, GreyImage& image) {
  const int width = decoded.width();
  const int height = decoded.height();
  bool colour = false;
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const float*>(decoded.constScanLine(y));
    float* out = image.row(y);
    for (int x = 0; x < width; ++x) {
      const float* p = in + 4 * x;
      colour = colour || p[0] != p[1] || p[1] != p[2];
      out[x] = luminance(p[0], p[1], p[2]);
    }
  }
  return colour;
}

// Alike, of an image in QImage::Format_ARGB32.
bool greyOfArgb32(const QImage& decoded, GreyImage& image) {
  const int width = decoded.width();
  const int height = decoded.height();
  bool colour = false;
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
    float* out = image.row(y);
    for (int x = 0; x < width; ++x) {
      const QRgb p = in[x];
      colour = colour || qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
      out[x] = luminance(qRed(p), qGreen(p), qBlue(p));
    }
  }
  return colour;
}

// Fills outcome.image from a decoded image, 16 bits kept as 16 bits.
void toGrey(QImage& decoded, ImageReadOutcome& outcome) {
  outcome.image = GreyImage::uninitialised(decoded.width(), decoded.height());
  const QImage::Format format = decoded.format();
  bool colour = false;
  if (format == QImage::Format_Grayscale16) {
    outcome.bitsPerSample = 16;
    copyGrey<quint16>(decoded, outcome.image);
  } else if (isSixteenBits(format)) {
    outcome.bitsPerSample = 16;
    decoded.convertTo(QImage::Format_RGBA64);
    colour = greyOfRgba64(decoded, outcome.image);
  } else if (isFloat(format)) {
    const bool half = format == QImage::Format_RGBX16FPx4 || format == QImage::Format_RGBA16FPx4 ||
                      format == QImage::Format_RGBA16FPx4_Premultiplied;
    outcome.bitsPerSample = half ? 16 : 32;
    outcome.floatSamples = true;
    decoded.convertTo(QImage::Format_RGBA32FPx4);
    colour = greyOfFloats(decoded, outcome.image);
  } else {
    outcome.bitsPerSample = 8;
    if (format != QImage::Format_Grayscale8 && decoded.isGrayscale()) decoded.convertTo(QImage::Format_Grayscale8);
    if (decoded.format() == QImage::Format_Grayscale8) {
      copyGrey<uchar>(decoded, outcome.image);
    } else {
      decoded.convertTo(QImage::Format_ARGB32);
      colour = greyOfArgb32(decoded, outcome.image);
    }
  }
  outcome.colour = colour;
}

}  // namespace

ImageReadOutcome readImageFile(const QString& path) {
  const std::string name = path.toStdString();
  const QFileInfo info(path);
  if (!info.exists()) return refused(name, info.isSymLink() ? kReasonUnreadable : kReasonMissing);
  if (info.isDir()) return refused(name, kReasonFolder);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return refused(name, kReasonUnreadable);
  if (file.size() == 0) return refused(name, kReasonEmpty);

  const QByteArray head = file.peek(16);
  if (looksLikeFits(head.constData(), static_cast<std::size_t>(head.size()))) {
    file.close();
    return readFitsFile(QFile::encodeName(path).toStdString(), name);
  }

  if (looksLikePng(head.constData(), static_cast<std::size_t>(head.size()))) {
    // Mapped rather than copied: a large PNG's bytes are read once, by the decoder.
    std::optional<ImageReadOutcome> read;
    if (const uchar* mapped = file.map(0, file.size())) {
      read = readPngBytes(mapped, static_cast<std::size_t>(file.size()), name);
      file.unmap(const_cast<uchar*>(mapped));
    } else {
      const QByteArray bytes = file.readAll();
      read = readPngBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()), name);
    }
    if (read) return std::move(*read);
    file.seek(0);
  }

  QImageReader reader(&file);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  if (!reader.canRead()) return refused(name, kReasonNotImage);
  const QSize size = reader.size();
  if (!size.isValid()) return refused(name, kReasonTruncatedOrCorrupt);
  if (static_cast<std::int64_t>(size.width()) * size.height() > kMaxPixels)
    return refused(name, tooLargeReason(size.width(), size.height()));
  reader.setAllocationLimit(kQtAllocationLimitMb);
  const std::string format = reader.format().toUpper().toStdString();

  QImage decoded;
  if (!reader.read(&decoded) || decoded.isNull()) {
    switch (reader.error()) {
      case QImageReader::DeviceError:
        return refused(name, kReasonUnreadable);
      case QImageReader::UnsupportedFormatError:
        return refused(name, kReasonNotImage);
      default:
        return refused(name, kReasonTruncatedOrCorrupt);
    }
  }
  ImageReadOutcome outcome;
  outcome.format = format;
  toGrey(decoded, outcome);
  if (format == "JPEG" || format == "TIFF") {
    // The camera's date; the file is mapped, not read again.
    if (uchar* bytes = file.map(0, file.size())) {
      outcome.observed = exifDateTaken(bytes, static_cast<std::size_t>(file.size()));
      file.unmap(bytes);
    }
  }
  return outcome;
}

}  // namespace kavrel::image
