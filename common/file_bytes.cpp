// A file read whole, and a file written whole or not at all (file_bytes.h).
#include "common/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kavrel {
namespace {

struct Reason {
  int error;
  const char* text;
};
constexpr Reason kReasons[] = {
    {ENOSPC, "plus de place sur le disque"},
    {EDQUOT, "plus de place sur le disque"},
    {EACCES, "permission refusée"},
    {EPERM, "permission refusée"},
    {EROFS, "le disque est en lecture seule"},
    {EISDIR, "c'est un dossier"},
    {ENOENT, "le dossier n'existe pas"},
    {ENOTDIR, "un élément du chemin n'est pas un dossier"},
    {ENAMETOOLONG, "le nom est trop long"},
    {EFBIG, "le fichier est trop grand"},
    {EIO, "erreur du support"},
};
constexpr char kGeneralReason[] = "erreur d'écriture";

// Closes a descriptor when it goes, and removes the temporary file it names unless kept.
class Temporary {
 public:
  explicit Temporary(std::string path) : m_path(std::move(path)) {}
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_kept) ::unlink(m_path.c_str());
  }
  int& fd() { return m_fd; }
  const std::string& path() const { return m_path; }
  void keep() { m_kept = true; }

 private:
  std::string m_path;
  int m_fd = -1;
  bool m_kept = false;
};

// The mode a new file gets from the user's umask, or the one of the file it replaces.
mode_t modeFor(const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string fileErrorReason(int error) {
  for (const Reason& reason : kReasons) {
    if (reason.error == error) return reason.text;
  }
  return kGeneralReason;
}

std::string writeFileWhole(const std::string& path, std::string_view bytes) {
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return fileErrorReason(EISDIR);
  const mode_t mode = modeFor(path);
  std::string pattern = path + ".XXXXXX";
  errno = 0;
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return fileErrorReason(errno);
  Temporary temporary(pattern);
  temporary.fd() = fd;
  for (std::size_t written = 0; written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fileErrorReason(n < 0 ? errno : ENOSPC);
    written += static_cast<std::size_t>(n);
  }
  // A file system that allocates late says it is full at the sync, or at the close.
  if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) return fileErrorReason(errno);
  const int closing = ::close(fd);
  temporary.fd() = -1;
  if (closing != 0) return fileErrorReason(errno);
  if (::rename(temporary.path().c_str(), path.c_str()) != 0) return fileErrorReason(errno);
  temporary.keep();
  return {};
}

std::string readFileWhole(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? "le fichier n'existe pas" : fileErrorReason(errno);
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      return error == EIO ? fileErrorReason(EIO) : error == EISDIR ? fileErrorReason(EISDIR) : "erreur de lecture";
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return {};
}

std::string userDataFile(std::string_view name) {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string folder;
  if (data && *data == '/') {
    folder = data;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home && *home ? home : ".") + "/.local/share";
  }
  return folder + "/kavrel/" + std::string(name);
}

}  // namespace kavrel
