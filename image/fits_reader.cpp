// A FITS file's image read with CFITSIO into a grey image, its date and geometry from its
// headers (fits_reader.h); its sizes checked against the file before anything is read.
#include "image/fits_reader.h"

#include <fcntl.h>
#include <fitsio.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kavrel::image {
namespace {

constexpr std::string_view kFormat = "FITS";
constexpr std::string_view kReasonNoImage = "il ne contient pas d'image à deux dimensions";
constexpr std::string_view kReasonOutOfRange =
    "ses valeurs dépassent la plage des nombres en virgule flottante simple";
constexpr std::string_view kCfitsioDetail = " (CFITSIO ";

constexpr int kMaxAxes = 9;
constexpr std::size_t kRecord = 2880;
// An honest file holds a handful of HDUs; this bounds the search in a hostile one.
constexpr int kMaxHdus = 1000;

struct FitsCloser {
  void operator()(fitsfile* file) const noexcept {
    int status = 0;
    fits_close_file(file, &status);
  }
};
using FitsHandle = std::unique_ptr<fitsfile, FitsCloser>;

// Leaves CFITSIO's message stack empty whatever way the read ends.
struct ErrorStackClearer {
  ~ErrorStackClearer() { fits_clear_errmsg(); }
};

ImageReadOutcome refusedForStatus(std::string_view fileName, int status) {
  if (status == END_OF_FILE || status == READ_ERROR) return refused(fileName, kReasonTruncated);
  if (status == FILE_NOT_OPENED) return refused(fileName, kReasonUnreadable);
  if (status == NUM_OVERFLOW) return refused(fileName, kReasonOutOfRange);
  char text[FLEN_STATUS] = {};
  fits_get_errstatus(status, text);
  std::string reason(kReasonCorrupt);
  reason += kCfitsioDetail;
  reason += std::to_string(status);
  reason += " : ";
  reason += text;
  reason += ')';
  return refused(fileName, reason);
}

// The value of the first of `names` present in the current HDU's header, or "".
std::string keywordText(fitsfile* file, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    if (fits_read_key(file, TSTRING, name, value, nullptr, &status) == 0) return value;
  }
  return {};
}

std::optional<ObservationDate> headerDate(fitsfile* file) {
  const std::string date = keywordText(file, {"DATE-OBS", "DATE_OBS"});
  if (date.empty()) {
    const std::string midExposure = keywordText(file, {"T_OBS"});
    return midExposure.empty() ? std::nullopt : observationDateOfTobs(midExposure);
  }
  return observationDate(date, keywordText(file, {"TIME-OBS", "TIME_OBS", "UT", "UTC"}));
}

// A keyword's finite number, kept where `into` has none yet.
void readNumber(fitsfile* file, const char* name, std::optional<double>& into) {
  if (into) return;
  double value = 0;
  int status = 0;
  if (fits_read_key(file, TDOUBLE, name, &value, nullptr, &status) == 0 && std::isfinite(value)) into = value;
}

void readText(fitsfile* file, const char* name, std::string& into) {
  if (into.empty()) into = keywordText(file, {name});
}

// A 2 x 2 matrix of keywords (PCi_j, CDi_j), kept only when its four numbers are given.
void readMatrix(fitsfile* file, const char* prefix, std::optional<std::array<double, 4>>& into) {
  if (into) return;
  std::array<double, 4> matrix{};
  int at = 0;
  for (const char* element : {"1_1", "1_2", "2_1", "2_2"}) {
    std::optional<double> value;
    readNumber(file, (std::string(prefix) + element).c_str(), value);
    if (!value) return;
    matrix[static_cast<std::size_t>(at++)] = *value;
  }
  into = matrix;
}

// What the current HDU's header adds to `geometry`: a keyword already read stays.
void readGeometry(fitsfile* file, FileGeometry& geometry) {
  readText(file, "CTYPE1", geometry.ctype1);
  readText(file, "CTYPE2", geometry.ctype2);
  readText(file, "CUNIT1", geometry.cunit1);
  readText(file, "CUNIT2", geometry.cunit2);
  readNumber(file, "CRPIX1", geometry.crpix1);
  readNumber(file, "CRPIX2", geometry.crpix2);
  readNumber(file, "CRVAL1", geometry.crval1);
  readNumber(file, "CRVAL2", geometry.crval2);
  readNumber(file, "CDELT1", geometry.cdelt1);
  readNumber(file, "CDELT2", geometry.cdelt2);
  readNumber(file, "CROTA2", geometry.crota2);
  readMatrix(file, "PC", geometry.pc);
  readMatrix(file, "CD", geometry.cd);
  readNumber(file, "RSUN_OBS", geometry.rsunObs);
  readNumber(file, "RSUN_REF", geometry.rsunRef);
  readNumber(file, "DSUN_OBS", geometry.dsunObs);
  readNumber(file, "CRLT_OBS", geometry.crltObs);
  readNumber(file, "CRLN_OBS", geometry.crlnObs);
  readNumber(file, "HGLT_OBS", geometry.hgltObs);
  readNumber(file, "HGLN_OBS", geometry.hglnObs);
}

struct ImageHdu {
  int bitpix = 0;
  LONGLONG width = 0;
  LONGLONG height = 0;
};

// Whether the current HDU holds a 2-D image (or a cube whose first plane is one).
std::optional<ImageHdu> imageIn(fitsfile* file, int& status) {
  int type = 0;
  if (fits_get_hdu_type(file, &type, &status) != 0 || type != IMAGE_HDU) return std::nullopt;
  int bitpix = 0;
  int naxis = 0;
  std::array<LONGLONG, kMaxAxes> axes{};
  if (fits_get_img_paramll(file, kMaxAxes, &bitpix, &naxis, axes.data(), &status) != 0)
    return std::nullopt;
  if (naxis < 2 || axes[0] <= 1 || axes[1] <= 1) return std::nullopt;
  for (int i = 2; i < std::min(naxis, kMaxAxes); ++i)
    if (axes[static_cast<std::size_t>(i)] < 1) return std::nullopt;
  return ImageHdu{bitpix, axes[0], axes[1]};
}

// CFITSIO trusts what a header says as soon as it reaches it: a byte the standard does not
// allow in a header (a line break, a control character) overruns its parsing of the card; a
// hostile ZTILEn = 0 kills the program with SIGFPE; a Rice block size or a pixel width no
// compressor writes, or a parameter given twice, sends its decoder outside its buffers. So
// the file is walked first, header by header: every card of a header must be printable
// ASCII, and a compressed image's parameters those a compressor writes. The data between
// headers are skipped by the size the header gives them.
class HeaderCheck {
 public:
  // The file's bytes in order, in pieces of whole cards (multiples of 80 bytes).
  void scan(const char* bytes, std::size_t size) {
    for (std::size_t at = 0; at + kCard <= size; at += kCard) card(std::string_view(bytes + at, kCard));
  }
  [[nodiscard]] bool impossible() const noexcept { return impossible_ || !headerSound(); }
  // The data's bytes the next scan would pass over: a file's reader seeks past them
  // rather than reading them twice (a large image's data are most of its file).
  [[nodiscard]] std::uint64_t dataAhead() const noexcept { return skip_; }
  void passedOver(std::uint64_t bytes) noexcept { skip_ -= std::min(bytes, skip_); }

 private:
  static constexpr std::size_t kCard = 80;
  static constexpr std::uint64_t kRecord = 2880;
  static constexpr int kAxes = 999;

  void card(std::string_view text) {
    if (skip_ > 0) {
      skip_ -= kCard;
      return;
    }
    ++cards_;
    for (const char c : text)
      if (c < ' ' || c > '~') impossible_ = true;
    std::string_view keyword = text.substr(0, 8);
    keyword = keyword.substr(0, keyword.find(' '));
    if (keyword == "END") return endOfHeader();
    // A value follows "=" in column 9; CFITSIO reads it even without the blank after it.
    if (text[8] != '=') return;
    const std::string value(text.substr(9));
    if (keyword == "BITPIX" || keyword == "NAXIS" || keyword.starts_with("NAXIS") || keyword == "PCOUNT" ||
        keyword == "GCOUNT")
      sizes_[std::string(keyword)] = integer(value);
    if (!keyword.starts_with('Z')) return;
    if (!seen_.insert(std::string(keyword)).second) impossible_ = true;  // given twice
    // CFITSIO divides by the tile sizes and counts tiles per axis as it opens the header.
    if (keyword.starts_with("ZTILE") || keyword.starts_with("ZNAXIS")) {
      const long long length = integer(value);
      if (length <= 0 || (keyword == "ZNAXIS" && length > kAxes)) impossible_ = true;
    } else if (keyword == "ZBITPIX") {
      const long long bits = integer(value);
      if (bits != 8 && bits != 16 && bits != 32 && bits != 64 && bits != -32 && bits != -64) impossible_ = true;
    } else if (keyword.starts_with("ZNAME")) {
      const auto open = value.find('\'');
      const auto close = value.find('\'', open + 1);
      std::string name = open == std::string::npos || close == std::string::npos
                             ? std::string()
                             : value.substr(open + 1, close - open - 1);
      name.erase(name.find_last_not_of(' ') + 1);
      names_[std::string(keyword.substr(5))] = name;
    } else if (keyword.starts_with("ZVAL")) {
      values_[std::string(keyword.substr(4))] = integer(value);
    }
  }

  // The rest of the header's last record, then its data, rounded up to whole records.
  void endOfHeader() {
    if (!headerSound()) impossible_ = true;
    const auto size = [&](const char* name, long long absent) {
      const auto found = sizes_.find(name);
      return found == sizes_.end() ? absent : found->second;
    };
    const long long bitpix = size("BITPIX", 8);
    const long long axes = size("NAXIS", 0);
    std::uint64_t data = 0;
    if (axes > 0 && axes <= kAxes) {
      data = 1;
      for (long long i = 1; i <= axes; ++i) {
        const long long length = size(("NAXIS" + std::to_string(i)).c_str(), -1);
        if (length < 0 || (length > 0 && data > (std::uint64_t{1} << 62) / static_cast<std::uint64_t>(length)))
          return stop();
        data *= static_cast<std::uint64_t>(length);
      }
    }
    const long long pcount = size("PCOUNT", 0);
    const long long gcount = size("GCOUNT", 1);
    if (pcount < 0 || gcount < 0 || pcount > (1LL << 50) || gcount > (1LL << 20) || bitpix < -64 || bitpix > 64)
      return stop();
    data = (data + static_cast<std::uint64_t>(pcount)) * static_cast<std::uint64_t>(gcount) *
           static_cast<std::uint64_t>(bitpix < 0 ? -bitpix : bitpix) / 8;
    const std::uint64_t padding = (kRecord - (cards_ * kCard) % kRecord) % kRecord;
    skip_ = padding + (data + kRecord - 1) / kRecord * kRecord;
    cards_ = 0;
    sizes_.clear();
    names_.clear();
    values_.clear();
    seen_.clear();
  }

  // A size beyond any file: nothing after it is a header CFITSIO will reach in one piece.
  void stop() { skip_ = std::numeric_limits<std::uint64_t>::max(); }

  static long long integer(const std::string& value) {
    char* end = nullptr;
    const long long number = std::strtoll(value.c_str(), &end, 10);
    return end == value.c_str() ? -1 : number;
  }

  // Every named parameter has its value, and the Rice coder's are those it can decode.
  [[nodiscard]] bool headerSound() const {
    for (const auto& [index, name] : names_) {
      const auto value = values_.find(index);
      if (value == values_.end()) return false;
      if (name == "BLOCKSIZE" && value->second != 16 && value->second != 32) return false;
      if (name == "BYTEPIX" && value->second != 1 && value->second != 2 && value->second != 4 && value->second != 8)
        return false;
    }
    return true;
  }

  bool impossible_ = false;
  std::uint64_t skip_ = 0;   // bytes of data still to pass over
  std::uint64_t cards_ = 0;  // of the header being read
  std::map<std::string, long long> sizes_;
  std::map<std::string, std::string> names_;  // by the parameter's number
  std::map<std::string, long long> values_;
  std::set<std::string> seen_;
};

// CFITSIO allocates a tile's compressed bytes as its descriptor declares them before it
// reads them: every tile of every data column must lie in the table's heap, else a damaged
// descriptor asks for gigabytes that the file cannot hold.
bool tilesInHeap(fitsfile* file, LONGLONG tiles, LONGLONG heap) {
  for (const char* column : {"COMPRESSED_DATA", "GZIP_COMPRESSED_DATA", "UNCOMPRESSED_DATA"}) {
    int status = 0;
    int number = 0;
    char name[FLEN_VALUE] = {};
    std::strncpy(name, column, sizeof name - 1);
    if (fits_get_colnum(file, CASEINSEN, name, &number, &status) != 0) continue;  // absent
    int type = 0;
    LONGLONG repeat = 0;
    LONGLONG elementBytes = 0;
    if (fits_get_coltypell(file, number, &type, &repeat, &elementBytes, &status) != 0 || elementBytes < 1)
      return false;
    for (LONGLONG tile = 1; tile <= tiles; ++tile) {
      LONGLONG length = 0;
      LONGLONG offset = 0;
      if (fits_read_descriptll(file, number, tile, &length, &offset, &status) != 0) return false;
      if (length < 0 || offset < 0 || length > heap / elementBytes || offset > heap - length * elementBytes)
        return false;
    }
  }
  return true;
}

// The observation's date and geometry from the image's header, else from the primary one
// (an observatory's compressed image keeps some keywords there); the image's HDU stays the
// current one.
void observationIn(fitsfile* file, ImageReadOutcome& outcome, int& status) {
  outcome.observed = headerDate(file);
  readGeometry(file, outcome.geometry);
  int hduNumber = 1;
  fits_get_hdu_num(file, &hduNumber);
  if (hduNumber == 1) return;
  int moved = 0;
  if (fits_movabs_hdu(file, 1, nullptr, &moved) == 0) {
    if (!outcome.observed) outcome.observed = headerDate(file);
    readGeometry(file, outcome.geometry);
  }
  fits_movabs_hdu(file, hduNumber, nullptr, &status);
}

// `count` samples from the first, row `firstRow` (from 0) of the first plane.
void readPixels(fitsfile* file, float* into, LONGLONG firstRow, LONGLONG count, int& status) {
  std::array<LONGLONG, kMaxAxes> first;
  first.fill(1);
  first[1] = firstRow + 1;
  float blank = std::numeric_limits<float>::quiet_NaN();
  int anyBlank = 0;
  fits_read_pixll(file, TFLOAT, first.data(), count, &blank, into, &anyBlank, &status);
}

// The file's last row first in the image, rows read by blocks of about a megabyte into
// a buffer that stays in the cache, then put in their places: CFITSIO reads a large block
// in few system calls (a row at a time, it read 4 KB a call), and the image is written
// once rather than turned over afterwards.
void readRowsTurnedOver(fitsfile* file, GreyImage& image, int& status) {
  constexpr std::size_t kBlockSamples = std::size_t{1} << 18;
  const int height = image.height();
  const auto width = static_cast<std::size_t>(image.width());
  const int rowsPerBlock = static_cast<int>(std::max<std::size_t>(1, kBlockSamples / width));
  std::vector<float> block(static_cast<std::size_t>(std::min(rowsPerBlock, height)) * width);
  for (int first = 0; first < height && status == 0; first += rowsPerBlock) {
    const int rows = std::min(rowsPerBlock, height - first);
    readPixels(file, block.data(), first, static_cast<LONGLONG>(rows) * static_cast<LONGLONG>(width), status);
    for (int row = 0; row < rows && status == 0; ++row)
      std::memcpy(image.row(height - 1 - (first + row)), block.data() + static_cast<std::size_t>(row) * width,
                  width * sizeof(float));
  }
}

// CFITSIO's decoders of compressed tiles trust the compressed bytes: a damaged tile sends
// them outside their buffers, and that cannot be told before decoding. So the tiles are
// decoded in a child process, into memory it shares with this one; a child that dies or
// reports an error is a damaged file, and this process goes on. The child dies silently:
// its signals go back to their defaults and its standard error to /dev/null, and a
// sanitizer's last words (in a sanitized build) are not said.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

bool decodedApart(fitsfile* file, GreyImage& image) {
  const Samples& samples = image.samples();
  struct Shared {
    int status;
    int done;
  };
  const std::size_t bytes = sizeof(Shared) + samples.size() * sizeof(float);
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return false;
  auto* shared = static_cast<Shared*>(memory);
  auto* pixels = reinterpret_cast<float*>(static_cast<char*>(memory) + sizeof(Shared));
  shared->status = -1;
  shared->done = 0;
  const pid_t child = fork();
  if (child == 0) {
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP}) std::signal(signal, SIG_DFL);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
    if (const int quiet = open("/dev/null", O_WRONLY); quiet >= 0) dup2(quiet, STDERR_FILENO);
    int status = 0;
    readPixels(file, pixels, 0, static_cast<LONGLONG>(samples.size()), status);
    shared->status = status;
    shared->done = 1;
    _exit(0);
  }
  bool decoded = false;
  if (child > 0) {
    int how = 0;
    while (waitpid(child, &how, 0) < 0 && errno == EINTR) {
    }
    decoded = WIFEXITED(how) && WEXITSTATUS(how) == 0 && shared->done == 1 && shared->status == 0;
  }
  if (decoded) {
    const int height = image.height();
    const auto width = static_cast<std::size_t>(image.width());
    for (int row = 0; row < height; ++row)
      std::memcpy(image.row(height - 1 - row), pixels + static_cast<std::size_t>(row) * width, width * sizeof(float));
  }
  munmap(memory, bytes);
  return decoded;
}

// The first HDU that holds an image, among the first kMaxHdus; none when the file holds
// none, or CFITSIO failed (its `status`).
std::optional<ImageHdu> firstImage(fitsfile* file, int& status) {
  std::optional<ImageHdu> hdu;
  for (int number = 1; number <= kMaxHdus && !hdu; ++number) {
    if (number > 1) {
      fits_movabs_hdu(file, number, nullptr, &status);
      if (status == END_OF_FILE) {  // no HDU left: no image
        status = 0;
        return std::nullopt;
      }
    }
    if (status != 0) return std::nullopt;
    hdu = imageIn(file, status);
    if (status != 0) return std::nullopt;
  }
  return hdu;
}

// A compressed image's table as its header declares it: the bytes its rows and heap take
// in the file, which CFITSIO sizes its own buffers from, or why it cannot be read (a
// CFITSIO failure in `status`).
struct Table {
  std::uint64_t bytes = 0;
  std::string_view refusal;  // empty when sound
};

Table compressedTable(fitsfile* file, const ImageHdu& hdu, int& status) {
  LONGLONG rowBytes = 0;
  LONGLONG rows = 0;
  LONGLONG heap = 0;
  fits_read_key(file, TLONGLONG, "NAXIS1", &rowBytes, nullptr, &status);
  fits_read_key(file, TLONGLONG, "NAXIS2", &rows, nullptr, &status);
  fits_read_key(file, TLONGLONG, "PCOUNT", &heap, nullptr, &status);
  if (status != 0) return {};
  if (rowBytes < 0 || rows < 0 || heap < 0 || (rowBytes > 0 && rows > LLONG_MAX / rowBytes))
    return {0, kReasonTruncated};
  // CFITSIO allocates a whole tile to decompress it: no tile may exceed the image.
  // Without ZTILEn the tiles are rows.
  LONGLONG tileWidth = hdu.width;
  LONGLONG tileHeight = 1;
  int absent = 0;
  fits_read_key(file, TLONGLONG, "ZTILE1", &tileWidth, nullptr, &absent);
  absent = 0;
  fits_read_key(file, TLONGLONG, "ZTILE2", &tileHeight, nullptr, &absent);
  if (tileWidth < 1 || tileHeight < 1 || tileWidth > hdu.width || tileHeight > hdu.height)
    return {0, kReasonCorrupt};
  if (!tilesInHeap(file, rows, heap)) return {0, kReasonCorrupt};
  return {static_cast<std::uint64_t>(rowBytes * rows) + static_cast<std::uint64_t>(heap), {}};
}

// The image of the current HDU, its headers read before its pixels: a child that decodes
// them moves the position of the file it shares with this process.
ImageReadOutcome readImage(fitsfile* file, const ImageHdu& hdu, bool compressed, std::string_view fileName) {
  int status = 0;
  ImageReadOutcome outcome;
  outcome.image = GreyImage::uninitialised(static_cast<int>(hdu.width), static_cast<int>(hdu.height));
  observationIn(file, outcome, status);
  if (status != 0) return refusedForStatus(fileName, status);
  if (compressed) {
    if (!decodedApart(file, outcome.image)) return refused(fileName, kReasonCorrupt);
  } else {
    readRowsTurnedOver(file, outcome.image, status);
    if (status != 0) return refusedForStatus(fileName, status);
  }
  outcome.format = kFormat;
  outcome.bitsPerSample = std::abs(hdu.bitpix);
  outcome.floatSamples = hdu.bitpix < 0;
  return outcome;
}

ImageReadOutcome readOpened(fitsfile* file, std::uint64_t fileSize, std::string_view fileName,
                            std::int64_t maxPixels) {
  int status = 0;
  const std::optional<ImageHdu> hdu = firstImage(file, status);
  if (status != 0) return refusedForStatus(fileName, status);
  if (!hdu) return refused(fileName, kReasonNoImage);
  const LONGLONG width = hdu->width;
  const LONGLONG height = hdu->height;
  if (width > maxPixels || height > maxPixels || width * height > maxPixels)
    return refused(fileName, tooLargeReason(width, height));

  // The data the header declares must be in the file before anything is read: for a
  // compressed image, its table.
  const int compressed = fits_is_compressed_image(file, &status);
  if (status != 0) return refusedForStatus(fileName, status);
  LONGLONG headStart = 0;
  LONGLONG dataStart = 0;
  LONGLONG dataEnd = 0;
  if (fits_get_hduaddrll(file, &headStart, &dataStart, &dataEnd, &status) != 0)
    return refusedForStatus(fileName, status);
  std::uint64_t declared = static_cast<std::uint64_t>(width * height) *
                           static_cast<std::uint64_t>(std::abs(hdu->bitpix) / 8);
  if (compressed) {
    const Table table = compressedTable(file, *hdu, status);
    if (status != 0) return refusedForStatus(fileName, status);
    if (!table.refusal.empty()) return refused(fileName, table.refusal);
    declared = table.bytes;
  }
  if (dataStart < 0 || static_cast<std::uint64_t>(dataStart) > fileSize ||
      declared > fileSize - static_cast<std::uint64_t>(dataStart))
    return refused(fileName, kReasonTruncated);
  return readImage(file, *hdu, compressed != 0, fileName);
}

}  // namespace

bool looksLikeFits(const void* data, std::size_t size) noexcept {
  static constexpr char kStart[] = "SIMPLE  =";
  return size >= sizeof kStart - 1 && std::memcmp(data, kStart, sizeof kStart - 1) == 0;
}

ImageReadOutcome readFitsFile(const std::string& path, std::string_view fileName,
                              std::int64_t maxPixels) {
  ErrorStackClearer clearer;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return refused(fileName, kReasonUnreadable);
  if (size == 0) return refused(fileName, kReasonEmpty);
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) return refused(fileName, kReasonUnreadable);
    HeaderCheck headers;
    std::vector<char> record(64 * kRecord);
    while (in) {
      if (const std::uint64_t ahead = headers.dataAhead(); ahead > 0) {
        if (ahead > (std::uint64_t{1} << 62)) break;  // nothing after is a header
        in.seekg(static_cast<std::streamoff>(ahead), std::ios::cur);
        headers.passedOver(ahead);
      }
      in.read(record.data(), static_cast<std::streamsize>(record.size()));
      headers.scan(record.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (headers.impossible()) return refused(fileName, kReasonCorrupt);
  }
  fitsfile* opened = nullptr;
  int status = 0;
  // The disk driver takes the name as it is: no extended syntax ("[1]", "+2") to misread.
  if (fits_open_diskfile(&opened, path.c_str(), READONLY, &status) != 0) {
    if (opened != nullptr) FitsCloser{}(opened);
    return refusedForStatus(fileName, status);
  }
  const FitsHandle file(opened);
  return readOpened(file.get(), size, fileName, maxPixels);
}

ImageReadOutcome readFitsBytes(const void* data, std::size_t size, std::string_view fileName,
                               std::int64_t maxPixels) {
  ErrorStackClearer clearer;
  if (size == 0 || data == nullptr) return refused(fileName, kReasonEmpty);
  // CFITSIO reads memory by whole 2880-byte records, past the end of a buffer whose size
  // is not a multiple of them: it gets a copy padded with zeros. The padding is not taken
  // as data (the truncation check keeps the size given).
  std::vector<char> padded(static_cast<const char*>(data), static_cast<const char*>(data) + size);
  padded.resize((size / kRecord + 1) * kRecord, '\0');
  HeaderCheck headers;
  headers.scan(padded.data(), padded.size());
  if (headers.impossible()) return refused(fileName, kReasonCorrupt);
  void* buffer = padded.data();
  std::size_t bufferSize = padded.size();
  fitsfile* opened = nullptr;
  int status = 0;
  if (fits_open_memfile(&opened, "memoire.fits", READONLY, &buffer, &bufferSize, 0, nullptr,
                        &status) != 0) {
    if (opened != nullptr) FitsCloser{}(opened);
    return refusedForStatus(fileName, status);
  }
  const FitsHandle file(opened);
  return readOpened(file.get(), size, fileName, maxPixels);
}

}  // namespace kavrel::image
