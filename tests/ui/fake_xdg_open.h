// An xdg-open of the test's own, alone on PATH while the object lives: it notes the
// arguments it was given and then runs the shell commands it was made with.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

namespace kavrel::testing {

class FakeXdgOpen {
 public:
  // `then` is run after the arguments are noted ("exit 3", "kill -SEGV $$"); a null
  // `then` leaves PATH without any xdg-open.
  explicit FakeXdgOpen(const char* then) : m_path(qgetenv("PATH")) {
    if (then) {
      QFile script(m_dir.filePath("xdg-open"));
      script.open(QIODevice::WriteOnly);
      script.write("#!/bin/sh\nprintf '%s|' \"$@\" > '" + m_dir.filePath("arguments").toUtf8() + "'\n" + then + "\n");
      script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", m_dir.path().toUtf8());
  }
  ~FakeXdgOpen() { qputenv("PATH", m_path); }
  FakeXdgOpen(const FakeXdgOpen&) = delete;
  FakeXdgOpen& operator=(const FakeXdgOpen&) = delete;

  // The arguments of the last run, each followed by "|"; empty when it never ran.
  [[nodiscard]] QString arguments() const {
    QFile file(m_dir.filePath("arguments"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

 private:
  QTemporaryDir m_dir;
  QByteArray m_path;
};

}  // namespace kavrel::testing
