// The line printer of a running program (desktop.h), on QPrinter: plain lines one under
// the other from the top-left of the printable area, in the printer's default font, a
// new page when a line no longer fits. The lines of a document are collected and laid
// out when the document ends; the number of lines a page holds is known from the start,
// so page() answers while printing.
//
// Without a printer the user is offered to save the document as a PDF file instead; a
// failed print is reported in a message and never ends the program. The two questions
// asked of the user are hooks, so that tests answer them without showing anything.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPrinterInfo>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "ui/desktop.h"

class QPrinter;

namespace kavrel::ui {

class QtLinePrinter : public LinePrinter {
 public:
  enum class NoPrinterChoice { SavePdf, Cancel };

  // What the printer asks of the system and of the user; each defaults to the real one.
  struct Hooks {
    // The printer documents go to; a null one means no printer is installed.
    std::function<QPrinterInfo()> defaultPrinter = &QPrinterInfo::defaultPrinter;
    // Asked when no printer is installed or it cannot be opened.
    std::function<NoPrinterChoice()> askNoPrinter = &QtLinePrinter::askNoPrinterWithMessageBox;
    // The PDF file to write, from a suggested path; empty when the user gives up.
    std::function<QString(const QString& suggested)> askPdfPath = &QtLinePrinter::askPdfPathWithDialog;
  };

  static constexpr const char* kNoPrinterText = "Aucune imprimante n'est installée.";
  static constexpr const char* kSavePdfButton = "Enregistrer en PDF…";
  static constexpr const char* kCancelButton = "Annuler";
  static constexpr const char* kPdfDialogTitle = "Enregistrer en PDF";
  static constexpr const char* kPrintFailedText = "L'impression a échoué.";
  static constexpr const char* kPdfFailedText = "Le fichier PDF n'a pas pu être écrit.";
  static constexpr const char* kSuggestedPdfName = "Kavrel.pdf";

  // Failures are shown through `messages`, which must outlive the printer.
  explicit QtLinePrinter(MessageBox& messages);
  QtLinePrinter(MessageBox& messages, Hooks hooks);
  // A document still open is sent, as the printing system would receive it at the end
  // of the program; the QApplication must still exist.
  ~QtLinePrinter() override;

  QtLinePrinter(const QtLinePrinter&) = delete;
  QtLinePrinter& operator=(const QtLinePrinter&) = delete;

  void print(const QString& text) override;
  void endLine() override;
  // The page the line being printed falls on.
  [[nodiscard]] int page() const override;
  void endDocument() override;

  // From the next document on, writes each document into this PDF file (A4) instead of
  // sending it to the printer; an empty path goes back to the printer.
  void setOutputPdf(const QString& path);

  // How many lines a page of the current document holds.
  [[nodiscard]] int linesPerPage() const;

  // The default hooks: the Qt message box and file dialog.
  [[nodiscard]] static NoPrinterChoice askNoPrinterWithMessageBox();
  [[nodiscard]] static QString askPdfPathWithDialog(const QString& suggested);

  // The font the lines are printed in: the printer's default, without ligatures.
  [[nodiscard]] static QFont printFont();

 private:
  // The page of a document and where its lines go on it, in points.
  struct Geometry {
    QPageLayout layout;
    double lineSpacing = 0;
    double ascent = 0;
    int linesPerPage = 1;
  };

  const Geometry& geometry() const;
  void send(const QStringList& lines, const Geometry& geometry);
  void offerPdf(const QStringList& lines, const Geometry& geometry);
  void writePdf(const QString& path, const QStringList& lines, const Geometry& geometry);
  enum class Outcome { Done, CannotBegin, Failed };
  [[nodiscard]] static Outcome layOut(QPrinter& printer, const QStringList& lines, const Geometry& geometry);

  MessageBox& m_messages;
  Hooks m_hooks;
  QString m_outputPdf;
  QStringList m_lines;  // ended lines of the current document
  QString m_line;       // the line being printed
  bool m_lineOpen = false;
  mutable std::optional<Geometry> m_geometry;  // fixed at the first need in a document
};

}  // namespace kavrel::ui
