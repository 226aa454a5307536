// Work that takes a while (seconds to minutes), run in a worker thread while a modal
// progress dialog says how far it is and offers to cancel it; the window's own thread
// keeps drawing and answering meanwhile. The work is told of the cancel through the
// progress it reports, and stops at its next step; the call returns once it has stopped.
//
//   const bool finished = ui::runWithProgress(title, label, steps, [&](ui::TaskProgress& p) {
//     for (int i = 0; i < steps && p.step(i); ++i) ...;
//   });
#pragma once

#include <QString>
#include <atomic>
#include <functional>

class QProgressDialog;

namespace kavrel::ui {

// What the work and the dialog share, across the two threads.
class TaskProgress {
 public:
  // From the work: `done` steps of the total are done; false once the user has cancelled.
  bool step(int done) {
    m_done.store(done);
    return !m_cancelled.load();
  }
  [[nodiscard]] bool cancelled() const { return m_cancelled.load(); }
  [[nodiscard]] int done() const { return m_done.load(); }
  void cancel() { m_cancelled.store(true); }

 private:
  std::atomic<int> m_done{0};
  std::atomic<bool> m_cancelled{false};
};

using ProgressTask = std::function<void(TaskProgress&)>;
// Called with the dialog once it is made, before the work starts.
using ProgressShown = std::function<void(QProgressDialog&)>;

inline constexpr char kProgressCancel[] = "Annuler";

// Runs `task` in a worker thread, `steps` its whole, the dialog modal over the active
// window (shown after half a second, so a short task does not flash it). False when the
// user cancelled.
[[nodiscard]] bool runWithProgress(const QString& title, const QString& label, int steps, const ProgressTask& task,
                                   const ProgressShown& shown = {});

}  // namespace kavrel::ui
