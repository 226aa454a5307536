// Printing a document on a printer of the print server (its default one, or the one the
// user chooses when asked), with the failures a user must hear of and a PDF file offered in
// place of the lost page.
//
//   DocumentPrinter documents(messages);
//   documents.print(QStringLiteral("Aspect du Soleil 2001-12-06 09h05"), documents.pageLayout(),
//                   [](QPainter& painter, QPagedPaintDevice& device) { ...; return true; });
//
// The contract:
// - pageLayout() is the page of the default printer (A4 without one). print() paints
//   the document on the layout it is given, whether it goes to the printer or into a PDF
//   file, so that a document laid out beforehand keeps its pages.
// - print() paints the document as PDF into memory on `device` (the painter is begun
//   on it, with the origin at the top-left of the printable area; the painting may call
//   device.newPage() and answers false when it could not paint), and submits it as one
//   job named `name` to the default printer.
// - When no printer is installed, the print server does not answer, the printer refuses
//   jobs or the job cannot be created, the user is told why and offered to save the
//   document as a PDF file instead; the file dialog suggests "<name>.pdf" in the home
//   folder and asks before replacing a file. The file is written whole or not at all (a
//   file it replaces survives any failure), and a failure names the file and the reason.
// - Once the job is created its state is read for a fraction of a second: a job held,
//   stopped or aborted by the server is reported with its number and the server's reason.
// - A failure is reported through `messages`, never as success, and never ends the
//   program. The questions asked of the user are hooks, so that tests answer them
//   without showing anything.
// - With the askDestination hook, the user is asked first which of the server's printers
//   the job goes to and how many copies; giving up sends nothing and says nothing. A
//   server without printers, or that does not answer, is said and the PDF offered as
//   above. Without the hook the job goes to the default printer, one copy, unasked.
// - print() answers the job's number and printer when the server took it, so that the
//   window may say so; nothing otherwise (the failure then already said).
#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "ui/desktop.h"
#include "ui/file_dialog.h"

class QPagedPaintDevice;
class QPainter;
typedef struct _http_s http_t;  // the print server's connection (libcups)

namespace kavrel::ui {

class DocumentPrinter {
 public:
  enum class Choice { SavePdf, Cancel };
  using Painting = std::function<bool(QPainter& painter, QPagedPaintDevice& device)>;
  // Where a job goes: one of the server's printers, and the number of copies (at least 1).
  struct Destination {
    QString printer;
    int copies = 1;
  };
  // Asked with the server's printers and its default one (empty when it has none): where
  // the job goes; nothing when the user gives up.
  using DestinationQuestion =
      std::function<std::optional<Destination>(const QStringList& printers, const QString& preferred)>;
  // A job the server took: its number and its printer.
  struct Sent {
    int job = 0;
    QString printer;
  };

  // What is asked of the user; each defaults to the real dialog.
  struct Hooks {
    // Asked with the reason the document cannot be printed.
    std::function<Choice(const QString& reason)> askSavePdf = &DocumentPrinter::askSavePdfWithMessageBox;
    // The PDF file to write, from a suggested path; empty when the user gives up.
    std::function<QString(const QString& suggested)> askPdfPath = &DocumentPrinter::askPdfPathWithDialog;
    // Asked before each job; none: the default printer, one copy, without a question.
    DestinationQuestion askDestination{};
    // The folder the PDF is suggested in, and that remembers the one chosen; none: the
    // home folder.
    SessionFolder* folder = nullptr;
  };

  static constexpr const char* kNoPrinterText = "Aucune imprimante n'est installée.";
  static constexpr const char* kServerDownText = "Le serveur d'impression « %1 » ne répond pas.";
  static constexpr const char* kRefusedText = "L'imprimante « %1 » refuse les travaux : %2";
  static constexpr const char* kJobFailedText = "L'impression sur « %1 » a échoué : %2";
  static constexpr const char* kHeldText = "Le travail n° %1 est en attente sur « %2 » : %3";
  static constexpr const char* kAbortedText = "Le travail n° %1 a été abandonné sur « %2 » : %3";
  static constexpr const char* kSavePdfButton = "Enregistrer en PDF…";
  static constexpr const char* kCancelButton = "Annuler";
  static constexpr const char* kPdfDialogTitle = "Enregistrer en PDF";
  static constexpr const char* kPrintFailedText = "L'impression a échoué.";
  static constexpr const char* kPdfFailedText = "Le fichier PDF « %1 » n'a pas pu être écrit : %2.";
  static constexpr const char* kPdfNotPaintedText = "la page n'a pas pu être dessinée";
  // What a window says of a job the server took.
  static constexpr const char* kSentText = "Le travail n° %1 a été envoyé à « %2 ».";

  // Failures are shown through `messages`, which must outlive the printer.
  explicit DocumentPrinter(MessageBox& messages);
  DocumentPrinter(MessageBox& messages, Hooks hooks);

  [[nodiscard]] QPageLayout pageLayout() const;
  // The job taken by the server; nothing when the user gave up or the document was not
  // printed (said already). Windows that say nothing of a job sent ignore it.
  std::optional<Sent> print(const QString& name, const QPageLayout& layout, const Painting& painting);

  // The default hooks: the Qt message box and file dialog.
  [[nodiscard]] static Choice askSavePdfWithMessageBox(const QString& reason);
  [[nodiscard]] static QString askPdfPathWithDialog(const QString& suggested);

 private:
  struct Document {
    const QString& name;
    const QPageLayout& layout;
    const Painting& painting;
  };
  // What became of a document sent to the printer: the printer's name (the server's when
  // it does not answer), the job's number once created, and the server's reason.
  struct Submission {
    enum class Outcome { Sent, NoPrinter, ServerDown, Refused, JobFailed, NotPainted, Held, Aborted };
    Outcome outcome = Outcome::Sent;
    QString printer{};
    int job = 0;
    QString reason{};
  };
  // Paints and submits the document, to the default printer without a destination;
  // report() tells the user what became of it.
  [[nodiscard]] static Submission submit(const Document& document, const std::optional<Destination>& destination);
  // Sends the painted document as a new job on the printer `queue` of `http`'s server,
  // then watches it briefly.
  [[nodiscard]] static Submission send(http_t* http, const char* queue, const Document& document, int copies);
  [[nodiscard]] static Submission watch(http_t* http, const QString& printer, int job);
  // No printer to send to: none installed, or a server that should answer does not.
  [[nodiscard]] static Submission noPrinter(bool serverDown);
  void report(const Submission& submission, const Document& document);
  void offerPdf(const QString& reason, const Document& document);
  // The document as PDF, empty when it could not be painted.
  [[nodiscard]] static QByteArray pdfOf(const Document& document);
  void failed(const QString& text);

  MessageBox& m_messages;
  Hooks m_hooks;
};

// A date as a document's name gives it, "2001-12-06", from the day, month and year as
// typed; empty when one of them is not a number.
[[nodiscard]] QString documentDate(const QString& day, const QString& month, const QString& year);

}  // namespace kavrel::ui
