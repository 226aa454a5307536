// A task in a worker thread behind a progress dialog (progress_task.h).
#include "ui/progress_task.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <memory>

namespace kavrel::ui {

namespace {
constexpr int kShownAfterMs = 500;
constexpr int kRefreshMs = 100;
}  // namespace

bool runWithProgress(const QString& title, const QString& label, int steps, const ProgressTask& task,
                     const ProgressShown& shown) {
  QProgressDialog dialog(label, QString::fromUtf8(kProgressCancel), 0, steps, QApplication::activeWindow());
  dialog.setWindowTitle(title);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(kShownAfterMs);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  dialog.setAccessibleName(title);
  if (auto* bar = dialog.findChild<QProgressBar*>()) bar->setAccessibleName(label);
  dialog.setValue(0);

  TaskProgress progress;
  QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&progress] { progress.cancel(); });
  QTimer refresh;
  refresh.setInterval(kRefreshMs);
  QObject::connect(&refresh, &QTimer::timeout, &dialog, [&dialog, &progress] {
    if (!dialog.wasCanceled()) dialog.setValue(progress.done());
  });
  if (shown) shown(dialog);
  if (dialog.wasCanceled()) progress.cancel();

  const std::unique_ptr<QThread> worker(QThread::create([&task, &progress] { task(progress); }));
  QEventLoop loop;
  QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  worker->start();
  refresh.start();
  loop.exec();
  worker->wait();
  return !progress.cancelled();
}

}  // namespace kavrel::ui
