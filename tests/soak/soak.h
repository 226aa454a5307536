// A soak test of a window: a long, seeded run of random user actions on the real widgets,
// with the window's invariants checked after every action.
//
// The actions are drawn from the seed alone (a field, a key, a cursor position, a text to
// paste, a button), never from the window's state, so a run replays exactly. On a
// failure the run is shrunk: chunks of actions are dropped while the failure remains,
// and the seed with the shortest sequence found is printed.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "ui/doubles.h"
#include "ui/form.h"

namespace kavrel::soak {

struct Action {
  enum class Kind { Key, Paste, ClickInto, Button };
  Kind kind = Kind::Key;
  QString target;  // a field or button name
  int key = 0;     // Qt::Key for Kind::Key, 0 when `text` is the key's text
  QString text;    // the typed character or the pasted text
  int cursor = 0;  // where the insertion point goes first (clamped to the text)

  [[nodiscard]] QString describe() const;
};

// One program under test: how to open its window, what the user may act on, and what
// must hold after every action.
class Subject {
 public:
  virtual ~Subject() = default;
  // Opens a new main window on the desktop's doubles (a fresh clock reading included).
  virtual ui::Form* open(ui::Desktop desktop) = 0;
  [[nodiscard]] virtual QStringList fields() const = 0;
  [[nodiscard]] virtual QStringList buttons() const = 0;  // besides "&Quitter"
  // Empty when every invariant holds; otherwise what failed.
  [[nodiscard]] virtual QString check(ui::Form& window) const = 0;
};

struct Result {
  bool passed = true;
  quint32 seed = 0;
  std::vector<Action> shortest;  // the shortest failing sequence found
  QString failure;
  int messages = 0;  // message boxes the passing run showed (answered by the double)
};

// Runs `count` actions drawn from `seed` on a fresh window of `subject`, checking after
// each; on a failure, shrinks it.
[[nodiscard]] Result run(Subject& subject, quint32 seed, int count);

}  // namespace kavrel::soak
