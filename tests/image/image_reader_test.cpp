// Reading photographs of the Sun into grey images: every format and depth at known pixels
// and in its displayed orientation, the observation date carried from the header, and the
// files that must be refused with their name and reason.
#include "image/image_reader.h"

#include <fitsio.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "image/fits_reader.h"
#include "exif_bytes.h"

namespace kavrel::image {
namespace {

constexpr int kWidth = 24;
constexpr int kHeight = 16;

// A bright disc on a dark sky whose brightness grows to the right and downward, so that a
// pixel tells where it is: `scale` times 1.0 on the disc, 0.05 + 0.01 x + 0.02 y outside.
double scene(int x, int y, double scale) {
  const double dx = x - 15.0;
  const double dy = y - 9.0;
  return scale * (dx * dx + dy * dy <= 25.0 ? 1.0 : 0.05 + 0.01 * x + 0.02 * y);
}

QString writeQtImage(const QString& path, QImage::Format format, const char* kind,
                     const std::function<void(QImage&, int, int)>& paint) {
  QImage image(kWidth, kHeight, format);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) paint(image, x, y);
  EXPECT_TRUE(image.save(path, kind, 100)) << path.toStdString();
  return path;
}

// A FITS file written by CFITSIO, `value(x, y)` at the displayed pixel (x, y): the FITS's
// first row is the bottom one; a compressed one holds 16-bit integers.
struct FitsImage {
  int bitpix = FLOAT_IMG;
  int planes = 1;
  bool inExtension = false;
  bool compressed = false;
  std::function<void(fitsfile*, int&)> keywords;  // written in the image's header
  std::function<double(int, int)> value;
  std::function<void(fitsfile*, int&)> primaryKeywords{};  // in the primary header, inExtension only
};

QString writeFits(const QString& path, const FitsImage& wanted) {
  fitsfile* file = nullptr;
  int status = 0;
  // The disk driver takes the name as it is, brackets included.
  fits_create_diskfile(&file, QFile::encodeName(path).constData(), &status);
  if (wanted.inExtension) {
    fits_create_img(file, SHORT_IMG, 0, nullptr, &status);
    fits_write_key_str(file, "DATE-OBS", "2001-12-06", "", &status);
    fits_write_key_str(file, "TIME-OBS", "09:05:30.5", "", &status);
    if (wanted.primaryKeywords) wanted.primaryKeywords(file, status);
  }
  if (wanted.compressed) fits_set_compression_type(file, RICE_1, &status);
  long axes[3] = {kWidth, kHeight, wanted.planes};
  fits_create_img(file, wanted.bitpix, wanted.planes > 1 ? 3 : 2, axes, &status);
  if (wanted.keywords) wanted.keywords(file, status);
  std::vector<double> data(static_cast<std::size_t>(kWidth) * kHeight * wanted.planes, 999.0);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      data[static_cast<std::size_t>((kHeight - 1 - y) * kWidth + x)] = wanted.value(x, y);
  if (wanted.compressed) {
    // CFITSIO compresses only data of the image's own type.
    std::vector<short> shorts(data.begin(), data.end());
    fits_write_img(file, TSHORT, 1, static_cast<LONGLONG>(shorts.size()), shorts.data(), &status);
  } else {
    fits_write_img(file, TDOUBLE, 1, static_cast<LONGLONG>(data.size()), data.data(), &status);
  }
  fits_close_file(file, &status);
  EXPECT_EQ(status, 0) << path.toStdString();
  return path;
}

// A file's bytes with a camera's EXIF block put in after the JPEG's first marker.
QString withExif(const QString& path, const std::string& tiff) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray jpeg = file.readAll();
  file.close();
  const std::string bytes = test::exifJpeg(tiff, jpeg.toStdString());
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  return path;
}

TEST(ImageReader, ReadsEveryFormatAtKnownPixelsTheRightWayUp) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto at = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };

  struct Row {
    const char* what;
    QString path;
    std::function<double(int, int)> expected;
    double tolerance;
    const char* description;
    const char* observed;  // "" for none
  };
  const auto grey8 = [](int x, int y) { return std::round(scene(x, y, 240)); };
  const auto grey16 = [](int x, int y) { return std::round(scene(x, y, 60000)); };
  // The colour files: red twice the green, blue half of it.
  const auto luminance = [](double g) { return 0.2126 * 2 * g + 0.7152 * g + 0.0722 * 0.5 * g; };
  const auto rgb8 = [](int x, int y) { return std::round(scene(x, y, 120)); };
  const auto rgb16 = [](int x, int y) { return std::round(scene(x, y, 30000)); };
  // Blank pixels at (2, 3) and (20, 14), the disc's centre 1.5, FITS values 1000 + 2 k.
  const auto withBlanks = [](int x, int y) {
    return (x == 2 && y == 3) || (x == 20 && y == 14) ? std::nan("") : scene(x, y, 1.5);
  };
  const auto scaled = [](int x, int y) { return 1000.0 + 2 * std::round(scene(x, y, 20000)); };

  const Row rows[] = {
      {"PNG, 8 bits, gris",
       writeQtImage(at("gris8.png"), QImage::Format_Grayscale8, "PNG",
                    [&](QImage& im, int x, int y) { im.scanLine(y)[x] = uchar(grey8(x, y)); }),
       grey8, 0, "PNG, 8 bits entiers", ""},
      {"PNG, 8 bits, couleur",
       writeQtImage(at("couleur8.png"), QImage::Format_RGB32, "PNG",
                    [&](QImage& im, int x, int y) {
                      const int g = int(rgb8(x, y));
                      im.setPixel(x, y, qRgb(2 * g, g, g / 2));
                    }),
       [&](int x, int y) {
         const double g = rgb8(x, y);
         return 0.2126 * 2 * g + 0.7152 * g + 0.0722 * std::floor(g / 2);
       },
       1e-3, "PNG, 8 bits entiers, couleur ramenée à la luminance", ""},
      {"PNG, 16 bits, gris",
       writeQtImage(at("gris16.png"), QImage::Format_Grayscale16, "PNG",
                    [&](QImage& im, int x, int y) {
                      reinterpret_cast<quint16*>(im.scanLine(y))[x] = quint16(grey16(x, y));
                    }),
       grey16, 0, "PNG, 16 bits entiers", ""},
      {"PNG, 16 bits, couleur",
       writeQtImage(at("couleur16.png"), QImage::Format_RGBA64, "PNG",
                    [&](QImage& im, int x, int y) {
                      const auto g = quint16(rgb16(x, y));
                      reinterpret_cast<QRgba64*>(im.scanLine(y))[x] =
                          QRgba64::fromRgba64(quint16(2 * g), g, quint16(g / 2), 65535);
                    }),
       [&](int x, int y) { return luminance(rgb16(x, y)); }, 0.02,
       "PNG, 16 bits entiers, couleur ramenée à la luminance", ""},
      {"TIFF, 16 bits, gris",
       writeQtImage(at("gris16.tif"), QImage::Format_Grayscale16, "TIFF",
                    [&](QImage& im, int x, int y) {
                      reinterpret_cast<quint16*>(im.scanLine(y))[x] = quint16(grey16(x, y));
                    }),
       grey16, 0, "TIFF, 16 bits entiers", ""},
      {"JPEG, 8 bits, gris (compression avec pertes)",
       writeQtImage(at("gris.jpg"), QImage::Format_Grayscale8, "JPEG",
                    [&](QImage& im, int x, int y) { im.scanLine(y)[x] = uchar(grey8(x, y)); }),
       grey8, 6, "JPEG, 8 bits entiers", ""},
      {"JPEG, date de l'appareil (EXIF)",
       withExif(writeQtImage(at("exif.jpg"), QImage::Format_Grayscale8, "JPEG",
                             [&](QImage& im, int x, int y) { im.scanLine(y)[x] = uchar(grey8(x, y)); }),
                test::exifTiff(false, {{0x9003, "2024:04:08 18:17:42"}})),
       grey8, 6, "JPEG, 8 bits entiers", "2024-04-08 18:17:42"},
      {"FITS, entiers de 16 bits, BZERO et BSCALE, nom à crochets",
       writeFits(at("soleil[1].fits"),
                 {SHORT_IMG, 1, false, false,
                  [](fitsfile* f, int& status) {
                    fits_write_key_dbl(f, "BZERO", 1000.0, -15, "", &status);
                    fits_write_key_dbl(f, "BSCALE", 2.0, -15, "", &status);
                    fits_write_key_str(f, "DATE-OBS", "2001-12-06T09:05:30.5", "", &status);
                    fits_set_bscale(f, 2.0, 1000.0, &status);
                  },
                  scaled}),
       scaled, 0, "FITS, 16 bits entiers", "2001-12-06 09:05:30.5"},
      {"FITS, 32 bits flottants en extension, NaN, date dans l'en-tête primaire",
       writeFits(at("flottant.fits"), {FLOAT_IMG, 1, true, false, {}, withBlanks}),
       withBlanks, 1e-6, "FITS, 32 bits en virgule flottante", "2001-12-06 09:05:30.5"},
      {"FITS, entiers de 16 bits, BLANK",
       writeFits(at("blank.fit"),
                 {SHORT_IMG, 1, false, false,
                  [](fitsfile* f, int& status) {
                    fits_write_key_lng(f, "BLANK", -32768, "", &status);
                    fits_write_key_str(f, "DATE_OBS", "06/12/01", "", &status);
                    fits_write_key_str(f, "UT", "09:05:30", "", &status);
                  },
                  [&](int x, int y) {
                    return std::isnan(withBlanks(x, y)) ? -32768.0 : grey8(x, y);
                  }}),
       [&](int x, int y) { return std::isnan(withBlanks(x, y)) ? std::nan("") : grey8(x, y); }, 0,
       "FITS, 16 bits entiers", "1901-12-06 09:05:30"},
      {"FITS compressé (.fits.fz)",
       writeFits(at("compresse.fits.fz"), {SHORT_IMG, 1, false, true, {}, grey8}), grey8, 0,
       "FITS, 16 bits entiers", ""},
      {"FITS, T_OBS en TAI sans DATE-OBS",
       writeFits(at("t_obs.fits"), {FLOAT_IMG, 1, false, false,
                                    [](fitsfile* f, int& status) {
                                      fits_write_key_str(f, "T_OBS", "2010.10.15_23:01:00.000_TAI", "", &status);
                                    },
                                    grey8}),
       grey8, 0, "FITS, 32 bits en virgule flottante", "2010-10-15 23:00:26"},
      {"FITS, cube de trois plans : le premier",
       writeFits(at("cube.fits"), {LONG_IMG, 3, false, false, {}, grey16}), grey16, 0,
       "FITS, 32 bits entiers", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const ImageReadOutcome outcome = readImageFile(row.path);
    ASSERT_TRUE(outcome.ok()) << outcome.refusal;
    EXPECT_EQ(outcome.description(), row.description);
    const GreyView view = outcome.image.view();
    ASSERT_EQ(view.width, kWidth);
    ASSERT_EQ(view.height, kHeight);
    // The first pixel that differs, to keep a wrong orientation to one line.
    for (int mismatches = 0, y = 0; y < kHeight && mismatches == 0; ++y)
      for (int x = 0; x < kWidth && mismatches == 0; ++x) {
        const double expected = row.expected(x, y);
        const float got = view.at(x, y);
        const bool same = std::isnan(expected) ? std::isnan(got)
                                               : std::abs(got - expected) <= row.tolerance;
        if (!same) {
          ++mismatches;
          ADD_FAILURE() << "(" << x << ", " << y << ") vaut " << got << " au lieu de " << expected;
        }
      }
    std::string observed;
    if (const auto& d = outcome.observed) {
      char text[64];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", d->year, d->month, d->day);
      observed = text;
      if (d->hasTime) {
        std::snprintf(text, sizeof text, " %02d:%02d:%g", d->hour, d->minute, d->second);
        observed += text;
      }
    }
    EXPECT_EQ(observed, row.observed);
  }
}

// A FITS file written by hand, header cards then `dataBytes` bytes of zeros.
QString writeRawFits(const QString& path, const std::vector<std::string>& cards, int dataBytes) {
  std::string bytes;
  for (const std::string& card : cards) bytes += card + std::string(80 - card.size(), ' ');
  bytes += "END" + std::string(77, ' ');
  bytes.resize((bytes.size() + 2879) / 2880 * 2880, ' ');
  bytes.append(static_cast<std::size_t>(dataBytes), '\0');
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  return path;
}

QString cutFile(const QString& from, const QString& to, double keep) {
  QFile in(from);
  EXPECT_TRUE(in.open(QIODevice::ReadOnly));
  const QByteArray all = in.readAll();
  QFile out(to);
  EXPECT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(all.left(static_cast<qsizetype>(all.size() * keep)));
  return to;
}

QString writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

// An observatory's compressed image: its WCS in the image's header, some of the observer's
// keywords only in the primary one, a keyword in both taken from the image's.
TEST(ImageReader, ReadsTheSunsGeometryFromBothHeaders) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto grey = [](int x, int y) { return std::round(scene(x, y, 240)); };
  const QString path = writeFits(
      dir.filePath("observatoire.fits.fz"),
      {SHORT_IMG, 1, true, true,
       [](fitsfile* f, int& status) {
         fits_write_key_str(f, "CTYPE1", "HPLN-TAN", "", &status);
         fits_write_key_dbl(f, "CRPIX1", 512.6, -15, "", &status);
         fits_write_key_dbl(f, "CDELT1", 1.98, -15, "", &status);
         fits_write_key_dbl(f, "PC1_1", 1, -15, "", &status);
         fits_write_key_dbl(f, "PC1_2", 0, -15, "", &status);
         fits_write_key_dbl(f, "PC2_1", 0, -15, "", &status);  // PC2_2 missing: no matrix
         fits_write_key_dbl(f, "RSUN_OBS", 970.7, -15, "", &status);
       },
       grey,
       [](fitsfile* f, int& status) {
         fits_write_key_dbl(f, "RSUN_OBS", 1.0, -15, "", &status);
         fits_write_key_dbl(f, "CRLT_OBS", 5.846, -15, "", &status);
         fits_write_key_str(f, "CRLN_OBS", "pas un nombre", "", &status);
       }});
  const ImageReadOutcome outcome = readImageFile(path);
  ASSERT_TRUE(outcome.ok()) << outcome.refusal;
  const FileGeometry& g = outcome.geometry;
  EXPECT_EQ(g.ctype1, "HPLN-TAN");
  EXPECT_EQ(g.crpix1, 512.6);
  EXPECT_EQ(g.cdelt1, 1.98);
  EXPECT_FALSE(g.crpix2.has_value());
  EXPECT_FALSE(g.pc.has_value());
  EXPECT_EQ(g.rsunObs, 970.7);
  EXPECT_EQ(g.crltObs, 5.846);
  EXPECT_FALSE(g.crlnObs.has_value());
}

TEST(ImageReader, RefusesWhatIsNotAPhotographNamingTheFileAndTheReason) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto at = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
  const auto grey = [](QImage& im, int x, int y) { im.scanLine(y)[x] = uchar(x + y); };
  const QString png = writeQtImage(at("bon.png"), QImage::Format_Grayscale8, "PNG", grey);
  const QString fits = writeFits(at("bon.fits"), {SHORT_IMG, 1, false, false, {},
                                                   [](int x, int y) { return x + y; }});
  // A compressed image whose Rice block size no compressor writes (its decoder then reads
  // outside its buffer).
  const QString rice = writeFits(at("bon.fits.fz"), {SHORT_IMG, 1, false, true, {},
                                                     [](int x, int y) { return x + y; }});
  const auto patched = [&](const QString& from, const char* name, const QByteArray& card, const QByteArray& to) {
    QFile in(from);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    EXPECT_TRUE(bytes.contains(card));
    return writeBytes(at(name), bytes.replace(card, to));
  };
  const auto damaged = [&](const QString& from, const char* name, qsizetype fromEnd) {
    QFile in(from);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    bytes[bytes.size() - fromEnd] = char(bytes[bytes.size() - fromEnd] ^ 0x55);
    return writeBytes(at(name), bytes);
  };
  const std::vector<std::string> hugeCards = {
      "SIMPLE  =                    T", "BITPIX  =                   16",
      "NAXIS   =                    2", "NAXIS1  =                20000",
      "NAXIS2  =                20000"};

  struct Row {
    QString path;
    const char* reason;
  };
  const Row rows[] = {
      {at("absent.png"), "il n'existe pas"},
      {dir.path(), "c'est un dossier"},
      {writeBytes(at("vide.png"), {}), "il est vide"},
      {writeBytes(at("texte.png"), "Ceci n'est pas une image, seulement du texte.\n"),
       "ce n'est pas une image d'un format connu (PNG, JPEG, TIFF ou FITS)"},
      {cutFile(png, at("coupe.png"), 0.6), "il est tronqué ou endommagé"},
      // The image's last compressed bytes, before their chunk's checksum and the end chunk.
      {damaged(png, "abime.png", 20), "il est tronqué ou endommagé"},
      {cutFile(fits, at("coupe.fits"), 0.6), "il est tronqué"},
      {writeRawFits(at("spectre.fits"),
                    {"SIMPLE  =                    T", "BITPIX  =                   16",
                     "NAXIS   =                    2", "NAXIS1  =                  100",
                     "NAXIS2  =                    1"},
                    200),
       "il ne contient pas d'image à deux dimensions"},
      {writeRawFits(at("vide.fits"),
                    {"SIMPLE  =                    T", "BITPIX  =                    8",
                     "NAXIS   =                    0"},
                    0),
       "il ne contient pas d'image à deux dimensions"},
      {writeRawFits(at("geant.fits"), hugeCards, 0),
       "l'image est trop grande (20000 × 20000 pixels, au plus 200 millions)"},
      {writeBytes(at("entete.fits"), "SIMPLE  =                    T / tronqué"),
       "il est tronqué"},
      {patched(rice, "bloc.fits.fz", "ZVAL1   =                   32", "ZVAL1   =                    7"),
       "il est endommagé"},
      {writeRawFits(at("controle.fits"),
                    {"SIMPLE  =                    T", "BITPIX  =                    8",
                     "NAXIS   =                    2", "NAXIS1  =                   10",
                     "NAXIS2  =                   10", "OBJECT  = 'Soleil\n\n'"},
                    2880),
       "il est endommagé"},
  };
  for (const Row& row : rows) {
    const std::string name = row.path.toStdString();
    SCOPED_TRACE(name);
    const ImageReadOutcome outcome = readImageFile(row.path);
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.image.empty());
    EXPECT_EQ(outcome.refusal,
              "Le fichier « " + name + " » n'a pas pu être lu : " + row.reason + ".");
  }

  // In memory (as the fuzzer reads), a huge declared size is refused before allocating.
  QFile huge(at("geant.fits"));
  ASSERT_TRUE(huge.open(QIODevice::ReadOnly));
  const QByteArray bytes = huge.readAll();
  const ImageReadOutcome outcome = readFitsBytes(bytes.constData(), std::size_t(bytes.size()), "geant");
  EXPECT_EQ(outcome.refusal, "Le fichier « geant » n'a pas pu être lu : l'image est trop grande "
                             "(20000 × 20000 pixels, au plus 200 millions).");
}

}  // namespace
}  // namespace kavrel::image
