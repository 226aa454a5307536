// What a kavrel action comes to, and the exit status of the command that tells it: the
// one place where the statuses are named. Qt-free.
#pragma once

namespace kavrel::cli {

// The kind of an action's end. A refusal is about what the user gave (a field, an option,
// a line of a file); a failure is the machine's (a result beyond the double range, a file
// that cannot be read, a disc full or a folder not writable). Actions return the kind, the
// exit status follows from it, never from a message's words.
enum class Status {
  Done,     // results printed or written
  Failed,   // no result: a computation impossible, a file not read or not written
  Refused,  // wrong usage, a refused field or refused data
  Usage,    // the words do not fit the action's synopsis: refused, its usage printed
};

// The exit statuses, one name each.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitRefused = 2;

[[nodiscard]] constexpr int exitCode(Status status) noexcept {
  switch (status) {
    case Status::Done: return kExitDone;
    case Status::Failed: return kExitFailed;
    case Status::Refused:
    case Status::Usage: return kExitRefused;
  }
  return kExitFailed;
}

}  // namespace kavrel::cli
