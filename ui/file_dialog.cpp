// The suite's file dialog (file_dialog.h).
#include "ui/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>

namespace kavrel::ui {

QIcon NameOnlyIconProvider::icon(IconType type) const { return QAbstractFileIconProvider::icon(type); }

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
  if (info.isDir()) return icon(Folder);
  // MatchExtension: the name's glob only; the default match would read the file's first
  // bytes whenever the name leaves a doubt (journal.sqlite-wal, a name without a suffix).
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  QIcon themed = QIcon::fromTheme(mime.iconName());
  if (themed.isNull()) themed = QIcon::fromTheme(mime.genericIconName());
  return themed.isNull() ? icon(File) : themed;
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
  if (info.isDir()) return QStringLiteral("Dossier");
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  return mime.isDefault() ? QStringLiteral("Fichier") : mime.comment();
}

FileDialog::FileDialog(QWidget* parent, const QString& title, const QString& start, const QString& filters)
    : QFileDialog(parent, title, QFileInfo(start).isDir() ? start : QFileInfo(start).path(), filters) {
  // DontUseCustomDirectoryIcons: a folder's own icon would be read from a file inside it.
  setOptions(options() | QFileDialog::DontUseNativeDialog | QFileDialog::DontUseCustomDirectoryIcons);
  setIconProvider(&m_icons);
  setWindowModality(Qt::ApplicationModal);
  if (!QFileInfo(start).isDir()) selectFile(start);
}

namespace {

QString asked(FileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

QString SessionFolder::defaultPath() { return QDir::homePath(); }

QString SessionFolder::file(const QString& name) const { return QDir(m_path).filePath(name); }

void SessionFolder::took(const QString& chosen) {
  if (!chosen.isEmpty()) m_path = QFileInfo(chosen).absolutePath();
}

QString askOpenPath(const QString& title, const QString& start, const QString& filters) {
  FileDialog dialog(QApplication::activeWindow(), title, start, filters);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return asked(dialog);
}

QString askSavePath(const QString& title, const QString& start, const QString& filters) {
  FileDialog dialog(QApplication::activeWindow(), title, start, filters);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  return asked(dialog);
}

}  // namespace kavrel::ui
