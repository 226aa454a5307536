// A file read whole, and a file written whole or not at all, without Qt (the kavrel
// command's reports and logs).
//
// The bytes are written into a temporary file beside the target, synced and renamed over
// it: a reader sees the old file intact or the new one complete, never a part, and a
// failure leaves no temporary behind. A reason is the system's error said in French, for
// a message that names the file ("plus de place sur le disque").
#pragma once

#include <string>
#include <string_view>

namespace kavrel {

// Empty when `bytes` were written whole to `path`, else why not.
[[nodiscard]] std::string writeFileWhole(const std::string& path, std::string_view bytes);

// Empty when the whole of `path` was read into `bytes`, else why not.
[[nodiscard]] std::string readFileWhole(const std::string& path, std::string& bytes);

// "$XDG_DATA_HOME/kavrel/NAME", "~/.local/share/kavrel/NAME" without it (or with a
// relative one, which the XDG rules ignore): where the suite keeps the user's files.
[[nodiscard]] std::string userDataFile(std::string_view name);

// The French reason for an errno value met while writing, a general one for those not
// listed.
[[nodiscard]] std::string fileErrorReason(int error);

}  // namespace kavrel
