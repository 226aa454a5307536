// The suite's file dialog: Qt's own (never the platform's, whose code and helpers the suite
// does not control), telling each file's type and icon from its name alone.
//
// A dialog that looks into the files it lists (to guess a type from the first bytes, to
// make a thumbnail) opens and closes each of them; closing any descriptor of a file drops
// every lock the process holds on that file (POSIX locks belong to the process, not to the
// descriptor), which is how the journal open in the same process lost the locks SQLite
// keeps on it. This dialog opens no file of the folder it shows: it reads the folder, and
// asks each file only what stat(2) tells.
//
//   ui::FileDialog dialog(parent, title, folderOrFile, filters);
//   dialog.setAcceptMode(QFileDialog::AcceptSave);
//   if (dialog.exec() == QDialog::Accepted) ...
//
// askOpenPath and askSavePath are the two usual questions, as QFileDialog's static
// functions ask them; an empty path: the user gave up.
#pragma once

#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QString>

namespace kavrel::ui {

// A file's icon and type from its name (a folder from stat), never from its bytes.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  [[nodiscard]] QIcon icon(IconType type) const override;
  [[nodiscard]] QIcon icon(const QFileInfo& info) const override;
  [[nodiscard]] QString type(const QFileInfo& info) const override;
};

class FileDialog : public QFileDialog {
  Q_OBJECT

 public:
  FileDialog(QWidget* parent, const QString& title, const QString& start, const QString& filters = QString());

 private:
  NameOnlyIconProvider m_icons;
};

// The folder a window's file dialogs open in, for the session: the home folder until a
// dialog chooses a file, then that file's folder, whichever dialog it was (open or save).
class SessionFolder {
 public:
  [[nodiscard]] const QString& path() const { return m_path; }
  // `name` in that folder, as a save dialog suggests it.
  [[nodiscard]] QString file(const QString& name) const;
  // Remembers the folder of the file chosen; an empty path (the user gave up) changes nothing.
  void took(const QString& chosen);

 private:
  QString m_path = defaultPath();
  [[nodiscard]] static QString defaultPath();
};

// A file to read: one that exists. `start` is the folder shown, or a file in it.
[[nodiscard]] QString askOpenPath(const QString& title, const QString& start, const QString& filters);
// A file to write, asking before one is replaced.
[[nodiscard]] QString askSavePath(const QString& title, const QString& start, const QString& filters = QString());

}  // namespace kavrel::ui
