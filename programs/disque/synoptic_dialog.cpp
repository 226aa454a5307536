// The dialog "Carte synoptique" (synoptic_dialog.h).
#include "programs/disque/synoptic_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kavrel::disque {

namespace {
QString text(const char* utf8) { return QString::fromUtf8(utf8); }

QLineEdit* field(QWidget* parent, const QString& value, const char* name) {
  auto* edit = new QLineEdit(value, parent);
  edit->setAccessibleName(text(name));
  return edit;
}

void addRow(QFormLayout* form, const char* caption, QLineEdit* edit) {
  auto* label = new QLabel(text(caption), form->parentWidget());
  label->setBuddy(edit);
  form->addRow(label, edit);
}
}  // namespace

SynopticDialog::SynopticDialog(const QString& photographs, const SynopticChoice& proposed, QWidget* parent)
    : QDialog(parent),
      m_rotation(field(this, proposed.rotation, kRotationName)),
      m_step(field(this, proposed.step, kStepName)) {
  setWindowTitle(text(kTitle));
  auto* form = new QFormLayout(this);
  auto* chosen = new QLabel(photographs, this);
  chosen->setWordWrap(true);
  chosen->setAccessibleName(text(kPhotographsName));
  form->addRow(chosen);
  addRow(form, kRotationLabel, m_rotation);
  addRow(form, kStepLabel, m_step);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* make = buttons->addButton(text(kMakeButton), QDialogButtonBox::AcceptRole);
  buttons->addButton(text(kCancelButton), QDialogButtonBox::RejectRole);
  make->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  m_rotation->setFocus();
  m_rotation->selectAll();
}

SynopticChoice SynopticDialog::choice() const { return {m_rotation->text(), m_step->text()}; }

std::optional<SynopticChoice> askSynopticChoice(const QString& photographs, const SynopticChoice& proposed) {
  SynopticDialog dialog(photographs, proposed, QApplication::activeWindow());
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

}  // namespace kavrel::disque
