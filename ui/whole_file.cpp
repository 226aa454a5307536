// Writing a file whole or not at all (whole_file.h).
#include "ui/whole_file.h"

#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "common/file_bytes.h"

namespace kavrel::ui {

// The reasons are the Qt-free writer's, so that every front end says the same.
QString fileErrorReason(int error) { return QString::fromStdString(kavrel::fileErrorReason(error)); }

// errno is read right after each step, before Qt can overwrite it: the file is
// unbuffered, so a write fails in write() and not later in a flush. A file given up
// takes its temporary with it (cancelWriting, then the destructor).
QString writeWholeFile(const QString& path, const QByteArray& bytes) {
  if (QFileInfo(path).isDir()) return fileErrorReason(EISDIR);  // QSaveFile says so without errno
  QSaveFile file(path);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fileErrorReason(errno);
  errno = 0;
  if (file.write(bytes) != bytes.size()) {
    const int error = errno;
    file.cancelWriting();
    return fileErrorReason(error);
  }
  // commit() syncs but ignores the sync's failure, which is where a file system that
  // allocates late says it is full.
  errno = 0;
  if (::fsync(file.handle()) != 0 && errno != EINVAL) {
    const int error = errno;
    file.cancelWriting();
    return fileErrorReason(error);
  }
  errno = 0;
  if (!file.commit()) return fileErrorReason(errno);
  return {};
}

}  // namespace kavrel::ui
