// A file system of a test's own, in which a file cannot be written: a small tmpfs mounted
// on a fresh folder and filled nearly to the brim, or mounted read-only, or a folder where
// the file should go. The tmpfs is unmounted when the object goes, even when the test
// fails. Mounting needs root (CI runs as root): without it, reason() says why there is
// none and the test skips.
#pragma once

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kavrel::testing {

enum class Place { FullDisk, ReadOnly, FolderInPlace };

class ScratchFileSystem {
 public:
  // Room left on the full disk: a page starts to be written, and cannot be finished.
  static constexpr long kRoomLeft = 8192;

  // `file` is the name the test writes; `old`, when not empty, the content it had before.
  ScratchFileSystem(Place place, const std::string& file, const std::string& old) : m_file(file) {
    char folder[] = "/tmp/kavrel-scratch-XXXXXX";
    if (!::mkdtemp(folder)) {
      fail("mkdtemp");
      return;
    }
    m_folder = folder;
    if (place == Place::FolderInPlace) {
      std::filesystem::create_directory(path());
      return;
    }
    if (::mount("tmpfs", folder, "tmpfs", 0, "size=1m") != 0) {
      fail("mount tmpfs");
      return;
    }
    m_mounted = true;
    if (!old.empty()) std::ofstream(path(), std::ios::binary) << old;
    if (place == Place::ReadOnly) {
      if (::mount("tmpfs", folder, "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        fail("remount ro");
        return;
      }
    } else {
      struct statvfs room {};
      if (::statvfs(folder, &room) != 0) {
        fail("statvfs");
        return;
      }
      const long free = static_cast<long>(room.f_bavail * room.f_frsize);
      std::ofstream(m_folder + "/filler", std::ios::binary) << std::string(std::max(0L, free - kRoomLeft), 'x');
    }
  }
  ~ScratchFileSystem() {
    if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
    if (!m_folder.empty()) std::filesystem::remove_all(m_folder);
  }
  ScratchFileSystem(const ScratchFileSystem&) = delete;
  ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

  // Empty when the place is ready, else why not.
  [[nodiscard]] const std::string& reason() const { return m_reason; }
  [[nodiscard]] std::string path() const { return m_folder + "/" + m_file; }
  // The names in the folder, sorted: a temporary left behind shows here.
  [[nodiscard]] std::vector<std::string> names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The file's bytes now; empty when it is absent or not a file.
  [[nodiscard]] std::string contents() const {
    if (!std::filesystem::is_regular_file(path())) return {};
    std::ifstream in(path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  void fail(const char* step) { m_reason = std::string(step) + " : " + std::strerror(errno); }

  std::string m_file;
  std::string m_folder;
  bool m_mounted = false;
  std::string m_reason;
};

}  // namespace kavrel::testing
