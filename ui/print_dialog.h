// The dialog "Imprimer", asked before a document goes to the print server: which of the
// server's printers takes it (the server's default one chosen at first, the first listed
// without one) and how many copies (1 to 999). It lists what it is given and asks the
// server nothing; the job itself is the document printer's (document_printer.h).
//
//   ui::DocumentPrinter::Hooks hooks;
//   hooks.askDestination = &ui::askPrintDestination;
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/document_printer.h"

class QComboBox;
class QSpinBox;

namespace kavrel::ui {

class PrintDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Imprimer";
  static constexpr const char* kPrinterLabel = "&Imprimante :";
  static constexpr const char* kCopiesLabel = "&Copies :";
  static constexpr const char* kPrintButton = "Im&primer";
  static constexpr const char* kCancelButton = "Annuler";
  static constexpr const char* kPrinterName = "Imprimante";
  static constexpr const char* kCopiesName = "Nombre de copies";
  static constexpr int kMostCopies = 999;

  PrintDialog(const QStringList& printers, const QString& preferred, QWidget* parent = nullptr);

  // The printer and copies as chosen now.
  [[nodiscard]] DocumentPrinter::Destination destination() const;
  [[nodiscard]] QComboBox* printers() const { return m_printers; }
  [[nodiscard]] QSpinBox* copies() const { return m_copies; }

 private:
  QComboBox* m_printers = nullptr;
  QSpinBox* m_copies = nullptr;
};

// The dialog, modal over the active window; nothing when the user gives up.
[[nodiscard]] std::optional<DocumentPrinter::Destination> askPrintDestination(const QStringList& printers,
                                                                              const QString& preferred);

}  // namespace kavrel::ui
