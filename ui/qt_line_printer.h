// The line printer of a running program (desktop.h), on the document printer
// (document_printer.h): plain lines one under the other from the top-left of the
// printable area, in the printer's default font, a new page when a line no longer fits.
// The lines of a document are collected and laid out when the document ends; the number
// of lines a page holds is known from the start, so page() answers while printing.
// Failures, and the PDF file offered in place of a lost page, are the document printer's.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/desktop.h"
#include "ui/document_printer.h"

namespace kavrel::ui {

class QtLinePrinter : public LinePrinter {
 public:
  // Documents go through `documents`, which must outlive the printer.
  explicit QtLinePrinter(DocumentPrinter& documents);
  // A document still open is sent, as the printing system would receive it at the end
  // of the program; the QApplication must still exist.
  ~QtLinePrinter() override;

  QtLinePrinter(const QtLinePrinter&) = delete;
  QtLinePrinter& operator=(const QtLinePrinter&) = delete;

  void print(const QString& text) override;
  void endLine() override;
  // The page the line being printed falls on.
  [[nodiscard]] int page() const override;
  void endDocument(const QString& name) override;

  // How many lines a page of the current document holds.
  [[nodiscard]] int linesPerPage() const;

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

  DocumentPrinter& m_documents;
  QStringList m_lines;  // ended lines of the current document
  QString m_line;       // the line being printed
  bool m_lineOpen = false;
  mutable std::optional<Geometry> m_geometry;  // fixed at the first need in a document
};

}  // namespace kavrel::ui
