// Printing a document through the print server (document_printer.h).
//
// The document is painted as PDF into memory and submitted from there through libcups,
// so that the server's own answer is known: whether the queue accepts the job, the job's
// number, and a moment later the job's state. The server is asked about its default
// printer only when something is printed: a program with nothing to print never waits on
// an absent server.
#include "ui/document_printer.h"

#include <cups/cups.h>
#include <dlfcn.h>

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <memory>
#include <optional>
#include <type_traits>

#include "ui/file_dialog.h"
#include "ui/whole_file.h"

namespace kavrel::ui {

namespace {

// As QPrinter::HighResolution paints a PDF; the line printer lays its lines out at it.
constexpr int kPdfDotsPerInch = 1200;

// How long the job's state is watched after its submission, and how often it is read.
constexpr int kJobWatchMs = 400;
constexpr int kJobPollMs = 40;

// libcups, loaded when the first document is printed rather than at every program's
// start, where it and the libraries it needs (TLS, Kerberos) cost a window 3 MiB and part
// of its start-up for a feature seldom used.
struct Cups {
  bool loaded = false;
  decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
  decltype(&::cupsCreateJob) cupsCreateJob = nullptr;
  decltype(&::cupsDoRequest) cupsDoRequest = nullptr;
  decltype(&::cupsEncryption) cupsEncryption = nullptr;
  decltype(&::cupsFinishDocument) cupsFinishDocument = nullptr;
  decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
  decltype(&::cupsGetDests2) cupsGetDests2 = nullptr;
  decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
  decltype(&::cupsGetOption) cupsGetOption = nullptr;
  decltype(&::cupsLastError) cupsLastError = nullptr;
  decltype(&::cupsLastErrorString) cupsLastErrorString = nullptr;
  decltype(&::cupsServer) cupsServer = nullptr;
  decltype(&::cupsStartDocument) cupsStartDocument = nullptr;
  decltype(&::cupsWriteRequestData) cupsWriteRequestData = nullptr;
  decltype(&::httpAssembleURIf) httpAssembleURIf = nullptr;
  decltype(&::httpClose) httpClose = nullptr;
  decltype(&::httpConnect2) httpConnect2 = nullptr;
  decltype(&::ippAddString) ippAddString = nullptr;
  decltype(&::ippAddStrings) ippAddStrings = nullptr;
  decltype(&::ippDelete) ippDelete = nullptr;
  decltype(&::ippFindAttribute) ippFindAttribute = nullptr;
  decltype(&::ippGetInteger) ippGetInteger = nullptr;
  decltype(&::ippGetString) ippGetString = nullptr;
  decltype(&::ippNewRequest) ippNewRequest = nullptr;
  decltype(&::ippPort) ippPort = nullptr;
};

const Cups& cups() {
  static const Cups kLibrary = [] {
    Cups library;
    void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return library;
    bool complete = true;
    const auto resolve = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
      complete = complete && function != nullptr;
    };
  resolve(library.cupsCancelJob2, "cupsCancelJob2");
  resolve(library.cupsCreateJob, "cupsCreateJob");
  resolve(library.cupsDoRequest, "cupsDoRequest");
  resolve(library.cupsEncryption, "cupsEncryption");
  resolve(library.cupsFinishDocument, "cupsFinishDocument");
  resolve(library.cupsFreeDests, "cupsFreeDests");
  resolve(library.cupsGetDests2, "cupsGetDests2");
  resolve(library.cupsGetNamedDest, "cupsGetNamedDest");
  resolve(library.cupsGetOption, "cupsGetOption");
  resolve(library.cupsLastError, "cupsLastError");
  resolve(library.cupsLastErrorString, "cupsLastErrorString");
  resolve(library.cupsServer, "cupsServer");
  resolve(library.cupsStartDocument, "cupsStartDocument");
  resolve(library.cupsWriteRequestData, "cupsWriteRequestData");
  resolve(library.httpAssembleURIf, "httpAssembleURIf");
  resolve(library.httpClose, "httpClose");
  resolve(library.httpConnect2, "httpConnect2");
  resolve(library.ippAddString, "ippAddString");
  resolve(library.ippAddStrings, "ippAddStrings");
  resolve(library.ippDelete, "ippDelete");
  resolve(library.ippFindAttribute, "ippFindAttribute");
  resolve(library.ippGetInteger, "ippGetInteger");
  resolve(library.ippGetString, "ippGetString");
  resolve(library.ippNewRequest, "ippNewRequest");
  resolve(library.ippPort, "ippPort");
    library.loaded = complete;
    return library;
  }();
  return kLibrary;
}

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

struct DestDeleter {
  void operator()(cups_dest_t* dest) const { cups().cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestDeleter>;

struct IppDeleter {
  void operator()(ipp_t* ipp) const { cups().ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

// How long a print server that does not answer is waited for.
constexpr int kConnectMs = 1000;

struct HttpDeleter {
  void operator()(http_t* http) const { cups().httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpDeleter>;

bool serverUnreachable(ipp_status_t status) {
  return status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_DEVICE;
}

Http connectToServer() {
  const Cups& lib = cups();
  return Http(lib.httpConnect2(lib.cupsServer(), lib.ippPort(), nullptr, AF_UNSPEC, lib.cupsEncryption(), 1,
                               kConnectMs, nullptr));
}

// A server that cannot be reached is only "down" where one is meant to be: a server
// chosen by the user's settings, or the local one with printers installed. Otherwise
// there simply is no printer.
bool printServerConfigured() {
  const QString server = QString::fromUtf8(cups().cupsServer());
  const bool localDefault = server == QStringLiteral("localhost") || server == QStringLiteral("/run/cups/cups.sock");
  return !localDefault || QFileInfo::exists(QStringLiteral("/etc/cups/printers.conf"));
}

// The connection to the print server and one of its printers; without a printer,
// whether a server that should answer does not.
struct Target {
  Http http;
  Dest dest;
  bool serverDown = false;
};

// The printer named `queue`, the default one when null.
Target printerTarget(const char* queue) {
  Target target;
  if (!cups().loaded) return target;  // no print server's library: no printer
  target.http = connectToServer();
  if (!target.http) {
    target.serverDown = printServerConfigured();
    return target;
  }
  target.dest.reset(cups().cupsGetNamedDest(target.http.get(), queue, nullptr));
  return target;
}

Target defaultPrinter() { return printerTarget(nullptr); }

// The server's printers (the user's named sets of options left out) and its default one;
// without any, whether a server that should answer does not.
struct Printers {
  QStringList names;
  QString preferred;
  bool serverDown = false;
};

Printers serverPrinters() {
  Printers printers;
  if (!cups().loaded) return printers;
  const Http http = connectToServer();
  if (!http) {
    printers.serverDown = printServerConfigured();
    return printers;
  }
  cups_dest_t* dests = nullptr;
  const int count = cups().cupsGetDests2(http.get(), &dests);
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance != nullptr) continue;
    printers.names << QString::fromUtf8(dests[i].name);
    if (dests[i].is_default != 0) printers.preferred = printers.names.last();
  }
  cups().cupsFreeDests(count, dests);
  return printers;
}

QString option(const cups_dest_t& dest, const char* name) {
  return QString::fromUtf8(cups().cupsGetOption(name, dest.num_options, dest.options));
}

// What the server says of a refused or failed request, "raison inconnue" when nothing.
QString reasonOr(const QString& reason) {
  const QString trimmed = reason.trimmed();
  return trimmed.isEmpty() ? QStringLiteral("raison inconnue") : trimmed;
}

// What the printer's state message says now ("Plus de papier" for a queue refusing jobs
// for that reason).
QString stateMessage(http_t* http, const char* printer) {
  const Cups& lib = cups();
  // The scheduler finds a queue (or a job) by the path of the URI it is asked about and
  // takes "localhost" for itself, as libcups names the printers of its own requests. The
  // connection may be a local socket (the default one, or a private scheduler's), which
  // has no host name a URI could carry.
  char uri[HTTP_MAX_URI];
  lib.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s", printer);
  ipp_t* request = lib.ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  lib.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  lib.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                   "printer-state-message");
  const Ipp response(lib.cupsDoRequest(http, request, "/"));  // frees the request
  ipp_attribute_t* attribute =
      response ? lib.ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT) : nullptr;
  return attribute ? QString::fromUtf8(lib.ippGetString(attribute, 0, nullptr)) : QString();
}

struct JobState {
  ipp_jstate_t state = IPP_JSTATE_PENDING;
  QString reason;
};

std::optional<JobState> jobState(http_t* http, int job) {
  const Cups& lib = cups();
  char uri[HTTP_MAX_URI];  // "localhost": see stateMessage()
  lib.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/jobs/%d", job);
  ipp_t* request = lib.ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  lib.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  static const char* const kWanted[] = {"job-state", "job-printer-state-message", "job-state-reasons"};
  lib.ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, kWanted);
  const Ipp response(lib.cupsDoRequest(http, request, "/jobs/"));  // frees the request
  if (!response || lib.cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) return std::nullopt;
  JobState state;
  if (ipp_attribute_t* attribute = lib.ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM)) {
    state.state = static_cast<ipp_jstate_t>(lib.ippGetInteger(attribute, 0));
  }
  if (ipp_attribute_t* attribute = lib.ippFindAttribute(response.get(), "job-printer-state-message", IPP_TAG_TEXT)) {
    state.reason = QString::fromUtf8(lib.ippGetString(attribute, 0, nullptr));
  }
  if (state.reason.trimmed().isEmpty()) {
    if (ipp_attribute_t* attribute = lib.ippFindAttribute(response.get(), "job-state-reasons", IPP_TAG_KEYWORD)) {
      state.reason = QString::fromUtf8(lib.ippGetString(attribute, 0, nullptr));
    }
  }
  return state;
}

}  // namespace

DocumentPrinter::DocumentPrinter(MessageBox& messages) : DocumentPrinter(messages, Hooks{}) {}

DocumentPrinter::DocumentPrinter(MessageBox& messages, Hooks hooks) : m_messages(messages), m_hooks(std::move(hooks)) {}

QPageLayout DocumentPrinter::pageLayout() const {
  const Target target = defaultPrinter();
  if (const cups_dest_t* dest = target.dest.get()) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromUtf8(dest->name));
    if (!info.isNull()) return QPrinter(info, QPrinter::HighResolution).pageLayout();
  }
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setPageSize(QPageSize(QPageSize::A4));
  return pdf.pageLayout();
}

std::optional<DocumentPrinter::Sent> DocumentPrinter::print(const QString& name, const QPageLayout& layout,
                                                            const Painting& painting) {
  const Document document{name, layout, painting};
  std::optional<Destination> destination;
  if (m_hooks.askDestination) {
    const Printers printers = serverPrinters();
    if (printers.names.isEmpty()) {
      report(noPrinter(printers.serverDown), document);
      return std::nullopt;
    }
    destination = m_hooks.askDestination(printers.names, printers.preferred);
    if (!destination) return std::nullopt;  // given up: nothing sent, nothing said
  }
  const Submission submission = submit(document, destination);
  report(submission, document);
  if (submission.outcome != Submission::Outcome::Sent) return std::nullopt;
  return Sent{.job = submission.job, .printer = submission.printer};
}

DocumentPrinter::Submission DocumentPrinter::noPrinter(bool serverDown) {
  if (!serverDown) return {.outcome = Submission::Outcome::NoPrinter};
  return {.outcome = Submission::Outcome::ServerDown, .printer = QString::fromUtf8(cups().cupsServer())};
}

DocumentPrinter::Submission DocumentPrinter::submit(const Document& document,
                                                    const std::optional<Destination>& destination) {
  using Outcome = Submission::Outcome;
  const QByteArray chosen = destination ? destination->printer.toUtf8() : QByteArray();
  const Target target = printerTarget(destination ? chosen.constData() : nullptr);
  if (!target.dest) {
    // A printer chosen a moment ago and gone since is named with the server's reason.
    if (destination && !target.serverDown && target.http)
      return {.outcome = Outcome::JobFailed, .printer = destination->printer,
              .reason = reasonOr(QString::fromUtf8(cups().cupsLastErrorString()))};
    return noPrinter(target.serverDown);
  }
  http_t* http = target.http.get();
  if (option(*target.dest, "printer-is-accepting-jobs") == QStringLiteral("false")) {
    const QString reason = reasonOr(stateMessage(http, target.dest->name));
    return {.outcome = Outcome::Refused, .printer = QString::fromUtf8(target.dest->name), .reason = reason};
  }
  return send(http, target.dest->name, document, destination ? std::max(1, destination->copies) : 0);
}

// `copies` 0: as many as the printer's own default.
DocumentPrinter::Submission DocumentPrinter::send(http_t* http, const char* queue, const Document& document,
                                                  int copies) {
  const Cups& lib = cups();
  using Outcome = Submission::Outcome;
  const QString printer = QString::fromUtf8(queue);
  // Sent from memory: no temporary file that a full disk could cut short.
  const QByteArray pdf = pdfOf(document);
  if (pdf.isEmpty()) return {.outcome = Outcome::NotPainted, .printer = printer};
  const QByteArray title = document.name.toUtf8();
  QByteArray copiesText = QByteArray::number(copies);
  char copiesName[] = "copies";
  cups_option_t copiesOption{copiesName, copiesText.data()};
  const int job = lib.cupsCreateJob(http, queue, title.constData(), copies > 0 ? 1 : 0, &copiesOption);
  bool sent = job != 0 &&
              lib.cupsStartDocument(http, queue, job, title.constData(), CUPS_FORMAT_AUTO, 1) == HTTP_STATUS_CONTINUE;
  sent = sent &&
         lib.cupsWriteRequestData(http, pdf.constData(), static_cast<size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
  sent = sent && lib.cupsFinishDocument(http, queue) == IPP_STATUS_OK;
  if (sent) return watch(http, printer, job);
  const ipp_status_t status = lib.cupsLastError();
  const QString reason = reasonOr(QString::fromUtf8(lib.cupsLastErrorString()));
  if (job != 0) lib.cupsCancelJob2(http, queue, job, 0);  // begun, but not sent whole
  if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) {
    const QString message = stateMessage(http, queue);
    return {.outcome = Outcome::Refused, .printer = printer, .reason = message.isEmpty() ? reason : message};
  }
  if (serverUnreachable(status)) return {.outcome = Outcome::ServerDown, .printer = QString::fromUtf8(lib.cupsServer())};
  return {.outcome = Outcome::JobFailed, .printer = printer, .reason = reason};
}

// A job the server cannot send is held or stopped soon after it starts: watched briefly,
// so that the window is not kept waiting on a printer that prints slowly.
DocumentPrinter::Submission DocumentPrinter::watch(http_t* http, const QString& printer, int job) {
  using Outcome = Submission::Outcome;
  const QDeadlineTimer deadline(kJobWatchMs);
  while (true) {
    const std::optional<JobState> state = jobState(http, job);
    if (!state || state->state == IPP_JSTATE_COMPLETED) break;
    if (state->state == IPP_JSTATE_HELD || state->state == IPP_JSTATE_STOPPED)
      return {.outcome = Outcome::Held, .printer = printer, .job = job, .reason = reasonOr(state->reason)};
    if (state->state == IPP_JSTATE_CANCELED || state->state == IPP_JSTATE_ABORTED)
      return {.outcome = Outcome::Aborted, .printer = printer, .job = job, .reason = reasonOr(state->reason)};
    if (deadline.hasExpired()) break;
    QThread::msleep(kJobPollMs);
  }
  return {.outcome = Outcome::Sent, .printer = printer, .job = job};
}

void DocumentPrinter::report(const Submission& submission, const Document& document) {
  using Outcome = Submission::Outcome;
  const QString job = QString::number(submission.job);
  const QString& printer = submission.printer;
  switch (submission.outcome) {
    case Outcome::Sent: return;
    case Outcome::NoPrinter: return offerPdf(text(kNoPrinterText), document);
    case Outcome::ServerDown: return offerPdf(text(kServerDownText).arg(printer), document);
    case Outcome::Refused: return offerPdf(text(kRefusedText).arg(printer, submission.reason), document);
    case Outcome::JobFailed: return offerPdf(text(kJobFailedText).arg(printer, submission.reason), document);
    case Outcome::NotPainted: return failed(text(kPrintFailedText));
    case Outcome::Held: return failed(text(kHeldText).arg(job, printer, submission.reason));
    case Outcome::Aborted: return failed(text(kAbortedText).arg(job, printer, submission.reason));
  }
}

void DocumentPrinter::offerPdf(const QString& reason, const Document& document) {
  if (m_hooks.askSavePdf(reason) != Choice::SavePdf) return;
  QString fileName = document.name.isEmpty() ? QStringLiteral("Kavrel") : document.name;
  fileName.replace(u'/', u'-');
  fileName += QStringLiteral(".pdf");
  const QString path = m_hooks.askPdfPath(m_hooks.folder ? m_hooks.folder->file(fileName) : QDir::home().filePath(fileName));
  if (path.isEmpty()) return;
  if (m_hooks.folder) m_hooks.folder->took(path);
  const QByteArray pdf = pdfOf(document);
  const QString problem = pdf.isEmpty() ? text(kPdfNotPaintedText) : writeWholeFile(path, pdf);
  if (!problem.isEmpty()) failed(text(kPdfFailedText).arg(path, problem));
}

// Qt's PDF writer does not report its device's errors: the document is painted into
// memory, where only the painting can fail, and written whole afterwards.
QByteArray DocumentPrinter::pdfOf(const Document& document) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kPdfDotsPerInch);
  writer.setTitle(document.name);
  writer.setPageLayout(document.layout);
  QPainter painter;
  if (!painter.begin(&writer)) return {};
  const bool painted = document.painting(painter, writer);
  if (!painter.end() || !painted) return {};
  return buffer.data();
}

void DocumentPrinter::failed(const QString& message) { m_messages.show(message, kStyleExclamation, QString()); }

DocumentPrinter::Choice DocumentPrinter::askSavePdfWithMessageBox(const QString& reason) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), reason, QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  QPushButton* save = box.addButton(text(kSavePdfButton), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(text(kCancelButton), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == save ? Choice::SavePdf : Choice::Cancel;
}

// Qt's save dialog asks before replacing an existing file (the confirmation is never
// turned off here).
QString DocumentPrinter::askPdfPathWithDialog(const QString& suggested) {
  FileDialog dialog(QApplication::activeWindow(), text(kPdfDialogTitle), suggested, QStringLiteral("PDF (*.pdf)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

QString documentDate(const QString& day, const QString& month, const QString& year) {
  bool okDay = false;
  bool okMonth = false;
  bool okYear = false;
  const int d = day.toInt(&okDay);
  const int m = month.toInt(&okMonth);
  const int y = year.toInt(&okYear);
  if (!okDay || !okMonth || !okYear) return QString();
  return QStringLiteral("%1-%2-%3").arg(y, 4, 10, QChar(u'0')).arg(m, 2, 10, QChar(u'0')).arg(d, 2, 10, QChar(u'0'));
}

}  // namespace kavrel::ui
