// The dialog "Imprimer" (print_dialog.h).
#include "ui/print_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace kavrel::ui {

namespace {
QString text(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

PrintDialog::PrintDialog(const QStringList& printers, const QString& preferred, QWidget* parent)
    : QDialog(parent), m_printers(new QComboBox(this)), m_copies(new QSpinBox(this)) {
  setWindowTitle(text(kTitle));
  m_printers->addItems(printers);
  m_printers->setCurrentIndex(std::max(0, static_cast<int>(printers.indexOf(preferred))));
  m_printers->setAccessibleName(text(kPrinterName));
  m_copies->setRange(1, kMostCopies);
  m_copies->setValue(1);
  m_copies->setAccessibleName(text(kCopiesName));

  auto* form = new QFormLayout(this);
  auto* printerLabel = new QLabel(text(kPrinterLabel), this);
  printerLabel->setBuddy(m_printers);
  auto* copiesLabel = new QLabel(text(kCopiesLabel), this);
  copiesLabel->setBuddy(m_copies);
  form->addRow(printerLabel, m_printers);
  form->addRow(copiesLabel, m_copies);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* print = buttons->addButton(text(kPrintButton), QDialogButtonBox::AcceptRole);
  buttons->addButton(text(kCancelButton), QDialogButtonBox::RejectRole);
  print->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  m_printers->setFocus();
}

DocumentPrinter::Destination PrintDialog::destination() const {
  return {.printer = m_printers->currentText(), .copies = m_copies->value()};
}

std::optional<DocumentPrinter::Destination> askPrintDestination(const QStringList& printers, const QString& preferred) {
  PrintDialog dialog(printers, preferred, QApplication::activeWindow());
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.destination();
}

}  // namespace kavrel::ui
