// Soak test: for one program (the first argument), a seeded run of random user actions on
// its real window, with its invariants checked after every action.
//
//   soak_test PROGRAM [SEED [ACTIONS]]
#include <QApplication>
#include <QTextStream>
#include <cstdlib>

#include "subjects.h"
#include "ui/result_label.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  kavrel::ui::installResultAccessibility();
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2) {
    QTextStream(stderr) << "usage: soak_test PROGRAM [SEED [ACTIONS]]\n";
    return 2;
  }
  const QString program = args[1];
  const quint32 seed = args.size() > 2 ? args[2].toUInt() : 20261207u;
  const int actions = args.size() > 3 ? args[3].toInt() : 20000;
  auto subject = kavrel::soak::makeSubject(program);
  if (!subject) {
    QTextStream(stderr) << "unknown program " << program << "\n";
    return 2;
  }
  const kavrel::soak::Result result = kavrel::soak::run(*subject, seed, actions);
  QTextStream out(stdout);
  if (result.passed) {
    out << program << ": " << actions << " actions from seed " << seed << " (" << result.messages
        << " message boxes), every invariant held\n";
    return 0;
  }
  out << program << ": FAILED with seed " << seed << ": " << result.failure << "\n";
  out << "shortest sequence (" << result.shortest.size() << " actions):\n";
  for (const auto& action : result.shortest) out << "  " << action.describe() << "\n";
  return 1;
}
