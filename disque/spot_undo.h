// Taking back the spots added to a list or removed from it, the last change first, as
// often as there were changes. A spot is anything with an `int number` that no other spot
// of the list shares. A removal taken back puts each spot where it stood, with everything
// it held (its measure); an addition taken back takes away the spot added. Positions are
// rows of the list; it stops at what the list held: a change of a spot's contents (a
// measure) is not one of its steps.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace kavrel::disque {

// What undo() took back: the numbers of the spots, and whether they had been added
// (now gone) or removed (now back).
struct SpotsTakenBack {
  std::vector<int> numbers;
  bool wereAdded = false;
};

template <typename Spot>
class SpotUndo {
 public:
  void added(int number) { m_steps.push_back({number, {}}); }

  // After a removal: the spots of `before` that `after` no longer holds, with their rows.
  void removed(const std::vector<Spot>& before, const std::vector<Spot>& after) {
    Step step;
    for (std::size_t row = 0; row < before.size(); ++row) {
      const int number = before[row].number;
      const bool kept = std::any_of(after.begin(), after.end(), [number](const Spot& s) { return s.number == number; });
      if (!kept) step.removed.push_back({row, before[row]});
    }
    if (!step.removed.empty()) m_steps.push_back(std::move(step));
  }

  // Takes the last change back on `spots`, which must be the list as that change left it
  // (every later change taken back); nothing when there is none.
  [[nodiscard]] std::optional<SpotsTakenBack> undo(std::vector<Spot>& spots) {
    if (m_steps.empty()) return std::nullopt;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    SpotsTakenBack taken;
    if (step.added) {
      const int number = *step.added;
      std::erase_if(spots, [number](const Spot& s) { return s.number == number; });
      taken.numbers.push_back(number);
      taken.wereAdded = true;
      return taken;
    }
    // In increasing rows: each goes back where it stood among those already back.
    for (Row& row : step.removed) {
      spots.insert(spots.begin() + static_cast<std::ptrdiff_t>(std::min(row.row, spots.size())), std::move(row.spot));
      taken.numbers.push_back(spots[std::min(row.row, spots.size() - 1)].number);
    }
    return taken;
  }

  [[nodiscard]] bool empty() const { return m_steps.empty(); }
  void clear() { m_steps.clear(); }

 private:
  struct Row {
    std::size_t row = 0;
    Spot spot;
  };
  struct Step {
    std::optional<int> added;
    std::vector<Row> removed;
  };
  std::vector<Step> m_steps;
};

}  // namespace kavrel::disque
