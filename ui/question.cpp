// A modal question with buttons of its own (question.h).
#include "ui/question.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kavrel::ui {

int askQuestion(const QString& text, const QStringList& buttons, int escape) {
  QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  std::vector<QPushButton*> made;
  for (const QString& caption : buttons) made.push_back(box.addButton(caption, QMessageBox::ActionRole));
  if (made.empty()) return escape;
  box.setDefaultButton(made.front());
  if (escape >= 0 && static_cast<std::size_t>(escape) < made.size()) box.setEscapeButton(made[static_cast<std::size_t>(escape)]);
  box.exec();
  for (std::size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return static_cast<int>(i);
  return escape;
}

}  // namespace kavrel::ui
