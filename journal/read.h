// A value read from the journal with why it could not be read whole ("Le journal n'a pas
// pu être lu : erreur du support."); the value is then empty or short. Every reading of
// the journal answers one, so that the caller who takes the value has its error beside it
// and a journal that could not be read is said, never shown as an empty month.
#pragma once

#include <string>

namespace kavrel::journal {

template <class T>
struct [[nodiscard]] Read {
  T value{};
  std::string error;
  [[nodiscard]] bool ok() const noexcept { return error.empty(); }
};

}  // namespace kavrel::journal
