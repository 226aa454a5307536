// The painting actions of the command kavrel, handed over whole to the program
// kavrel-dessin (see painting.h): found beside kavrel (the build tree) or in
// ../lib/kavrel/ from it (the package), and run in place of this process, which keeps
// its standard streams and takes its exit status. Qt-free.
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/journal_runs.h"
#include "cli/painting.h"
#include "cli/reseau_request.h"

namespace kavrel::cli {
namespace {

constexpr std::string_view kPainter = "kavrel-dessin";

// The folder of this program's file, "/usr/bin"; empty when it cannot be read.
std::string ownFolder() {
  std::array<char, 4096> path{};
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  std::string text(path.data(), static_cast<std::size_t>(length));
  return text.substr(0, text.rfind('/'));
}

std::string painterPath() {
  const std::string folder = ownFolder();
  for (const std::string& candidate :
       {folder + '/' + std::string(kPainter), folder + "/../lib/kavrel/" + std::string(kPainter)}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return folder + "/../lib/kavrel/" + std::string(kPainter);
}

Status handOver(const Context& c) { return handOverToPainter(c.commandLine, c.out, c.err); }

}  // namespace

Status handOverToPainter(std::span<const std::string> commandLine, std::ostream& out, std::ostream& err) {
  out.flush();
  err.flush();
  std::fflush(nullptr);
  std::string painter = painterPath();
  std::vector<std::string> words(commandLine.begin(), commandLine.end());
  std::vector<char*> argv{painter.data()};
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  ::execv(painter.c_str(), argv.data());
  err << "kavrel : « " << painter << " » n'a pas pu être lancé : " << std::strerror(errno) << '\n';
  return Status::Failed;
}

Status writeDiscPageFile(const Fields&, const Context& c) { return handOver(c); }
Status printLimb(const Fields&, const Context& c) { return handOver(c); }
Status printPixelSpot(const Fields&, const Context& c) { return handOver(c); }
Status printSpotArea(const Fields&, const Context& c) { return handOver(c); }
Status writeSynopticMap(const Fields&, const Context& c) { return handOver(c); }

Status logbook::drawChart(const Fields&, Request& s) { return handOverToPainter(s.commandLine, s.out, s.err); }
Status network::drawPicture(const Fields&, Request& s) { return handOverToPainter(s.commandLine, s.out, s.err); }
Status network::writeBulletin(const Fields&, Request& s) { return handOverToPainter(s.commandLine, s.out, s.err); }

}  // namespace kavrel::cli
