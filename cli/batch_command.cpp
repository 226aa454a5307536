// The --csv batches of kavrel: the log opened (a file, or the standard input read as it
// comes), run through cli/batch.h, and the kind of its end. Qt-free.
#include "cli/batch_command.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <ios>
#include <iostream>
#include <streambuf>


namespace kavrel::cli {
namespace {

constexpr std::string_view kOneFile = "kavrel : un seul fichier à lire, ou aucun pour l'entrée standard";
constexpr std::string_view kCannotOpen = "kavrel : impossible d'ouvrir le fichier « ";
constexpr std::string_view kCannotRead = "kavrel : lecture impossible du fichier « ";
constexpr std::string_view kCannotReadInput = "kavrel : lecture impossible de l'entrée standard";

// The standard input as it comes: each read takes what the terminal or the pipe has at
// hand rather than waiting to fill a buffer, so that a log typed or piped line by line
// gets its rows as its lines come.
class StandardInput : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t got = 0;
    do {
      got = ::read(STDIN_FILENO, m_buffer.data(), m_buffer.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) throw std::ios_base::failure("standard input");  // the stream turns it into badbit
    if (got == 0) return traits_type::eof();
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
    return traits_type::to_int_type(*gptr());
  }

  std::streamsize showmanyc() override { return egptr() - gptr(); }

 private:
  std::array<char, 64 * 1024> m_buffer{};
};

}  // namespace

Status runCsvBatch(batch::Kind kind, const std::vector<std::string>& files, bool fromSolarNorth,
                   std::string_view decimalSeparator, std::ostream& out, std::ostream& err) {
  if (files.size() > 1) {
    err << kOneFile << '\n';
    return Status::Refused;
  }
  std::ifstream file;
  if (!files.empty()) {
    file.open(files.front(), std::ios::binary);
    if (!file.is_open()) {
      err << kCannotOpen << files.front() << " »\n";
      return Status::Refused;
    }
  }
  StandardInput standardInput;
  std::istream input(&standardInput);
  std::istream& in = files.empty() ? input : file;
  const batch::Summary summary = batch::runBatch(kind, in, out, decimalSeparator, fromSolarNorth);
  if (summary.writeFailed) return Status::Failed;
  if (summary.readFailed) {
    if (files.empty()) {
      err << kCannotReadInput << '\n';
    } else {
      err << kCannotRead << files.front() << " »\n";
    }
    return Status::Failed;
  }
  return summary.refused > 0 ? Status::Refused : Status::Done;
}

}  // namespace kavrel::cli
