// A soak test of a window: seeded random actions, invariants after each, shrinking.
#include "soak.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace kavrel::soak {

namespace {

// What the user types: digits, signs, separators, an exponent letter, other letters,
// spaces, and the two erasing keys.
const QString kTypedCharacters = "0123456789-.,+eEaxZé /";

QString randomText(std::mt19937& random) {
  static const QStringList kPieces = {"1", "12", "2000", "2451545", "-", ".", ",", "5", "0", "31", "1e400",
                                      "-4712", " ", "x", "07", "1.5", "2451545.5", "9e307", "00", "+3"};
  QString text;
  const int pieces = std::uniform_int_distribution<int>(0, 3)(random);
  for (int i = 0; i < pieces; ++i)
    text += kPieces[std::uniform_int_distribution<int>(0, static_cast<int>(kPieces.size()) - 1)(random)];
  return text;
}

std::vector<Action> draw(const Subject& subject, quint32 seed, int count) {
  std::mt19937 random(seed);
  const QStringList fields = subject.fields();
  const QStringList buttons = subject.buttons();
  const auto pick = [&random](const QStringList& list) {
    return list[std::uniform_int_distribution<int>(0, static_cast<int>(list.size()) - 1)(random)];
  };
  std::vector<Action> actions;
  actions.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Action a;
    const int roll = std::uniform_int_distribution<int>(0, 99)(random);
    a.cursor = std::uniform_int_distribution<int>(0, 12)(random);
    if (roll < 70) {
      a.kind = Action::Kind::Key;
      a.target = pick(fields);
      const int which = std::uniform_int_distribution<int>(0, static_cast<int>(kTypedCharacters.size()) + 3)(random);
      if (which < kTypedCharacters.size()) {
        a.text = kTypedCharacters.mid(which, 1);
      } else {
        a.key = which % 2 == 0 ? Qt::Key_Backspace : Qt::Key_Delete;
        a.cursor = 99;  // erase from the end mostly, as people do
      }
    } else if (roll < 82) {
      a.kind = Action::Kind::Paste;
      a.target = pick(fields);
      a.text = randomText(random);
    } else if (roll < 92 || buttons.isEmpty()) {
      a.kind = Action::Kind::ClickInto;
      a.target = pick(fields);
    } else {
      a.kind = Action::Kind::Button;
      a.target = pick(buttons);
    }
    actions.push_back(a);
  }
  return actions;
}

void apply(ui::Form& window, const Action& a) {
  switch (a.kind) {
    case Action::Kind::Key: {
      QLineEdit* field = window.textBox(a.target);
      field->setCursorPosition(std::min<int>(a.cursor, static_cast<int>(field->text().size())));
      if (a.key != 0) {
        QTest::keyClick(field, static_cast<Qt::Key>(a.key));
      } else if (a.text.at(0).unicode() < 128) {
        QTest::keyClicks(field, a.text);
      } else {
        // QTest maps only ASCII characters to keys: send the letter as the key's text.
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, a.text, Qt::NoModifier);
      }
      break;
    }
    case Action::Kind::Paste: {
      QLineEdit* field = window.textBox(a.target);
      field->selectAll();
      field->insert(a.text);
      break;
    }
    case Action::Kind::ClickInto:
      QTest::mouseClick(window.textBox(a.target), Qt::LeftButton);
      break;
    case Action::Kind::Button:
      if (auto* button = qobject_cast<QAbstractButton*>(window.control(a.target))) button->click();
      break;
  }
}

// Replays `actions` on a fresh window; returns the failure after the first action that
// breaks an invariant, or nothing.
std::optional<QString> replay(Subject& subject, const std::vector<Action>& actions, std::size_t* failedAt = nullptr,
                              int* messages = nullptr) {
  ui::TestDesktop desktop;
  QPointer<ui::Form> window = subject.open(desktop.desktop());
  std::optional<QString> failure;
  QString problem = subject.check(*window);
  if (!problem.isEmpty()) failure = "at start: " + problem;
  for (std::size_t i = 0; !failure && i < actions.size(); ++i) {
    apply(*window, actions[i]);
    if (window.isNull()) {
      failure = "the window closed";
    } else if (problem = subject.check(*window); !problem.isEmpty()) {
      failure = problem;
    }
    if (failure && failedAt) *failedAt = i;
  }
  if (messages) *messages = static_cast<int>(desktop.messages.shown.size());
  // About windows and the like go with their owner.
  delete window;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return failure;
}

// Drops chunks of actions, halving their size, while the run still fails.
std::vector<Action> shrink(Subject& subject, std::vector<Action> actions) {
  for (std::size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t start = 0; start < actions.size();) {
      std::vector<Action> smaller = actions;
      smaller.erase(smaller.begin() + static_cast<std::ptrdiff_t>(start),
                    smaller.begin() + static_cast<std::ptrdiff_t>(std::min(actions.size(), start + chunk)));
      if (replay(subject, smaller)) {
        actions = std::move(smaller);
      } else {
        start += chunk;
      }
    }
  }
  return actions;
}

}  // namespace

QString Action::describe() const {
  switch (kind) {
    case Kind::Key:
      return QString("type %1 in %2 at %3")
          .arg(key == Qt::Key_Backspace ? "Backspace" : key == Qt::Key_Delete ? "Delete" : "\"" + text + "\"")
          .arg(target)
          .arg(cursor);
    case Kind::Paste:
      return QString("paste \"%1\" over %2").arg(text, target);
    case Kind::ClickInto:
      return QString("click into %1").arg(target);
    case Kind::Button:
      return QString("press %1").arg(target);
  }
  return {};
}

Result run(Subject& subject, quint32 seed, int count) {
  Result result;
  result.seed = seed;
  const std::vector<Action> actions = draw(subject, seed, count);
  std::size_t failedAt = 0;
  const auto failure = replay(subject, actions, &failedAt, &result.messages);
  if (!failure) return result;
  result.passed = false;
  result.failure = *failure;
  const std::vector<Action> prefix(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(failedAt + 1));
  result.shortest = shrink(subject, prefix);
  if (const auto last = replay(subject, result.shortest)) result.failure = *last;
  return result;
}

}  // namespace kavrel::soak
