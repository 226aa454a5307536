// The drawn disc's engine: one instant for everything it answers (the page, the instant's
// texts, the table, the pointer), spots clicked, typed and removed with their refusals.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "disque/disc_reduction.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {
namespace {

const DateTexts kDated{"6", "12", "2001", "9", "5"};
const DateTexts kNoMinute{"6", "12", "2001", "9", ""};
const DiscPoint kOnDisc{90, 0.5};
const DrawingFields kDrawing{"150", DrawingOrientation::EastLeft, {}};

struct EngineCase {
  const char* name;
  DateTexts fields;
  std::function<Outcome(DiscReduction&)> act;  // after spots 1 (90°, 0,5) and 2 (200°, 0,3)
  bool done;
  std::string said;
  std::vector<std::string> numbers;  // the table's first column after
};

std::vector<std::string> column(const SpotTable& table, std::size_t index) {
  std::vector<std::string> cells;
  for (const std::vector<std::string>& row : table.rows) cells.push_back(row.at(index));
  return cells;
}

// What needs the instant follows the one typed, the precise ephemeris's at that minute, or
// is refused alike while there is none.
void expectOneInstant(const DiscReduction& engine, const DateTexts& fields) {
  const std::optional<DiscInstant> typed = preciseDiscInstant(fields);
  const Checked<PageContent> page = engine.page();
  const std::optional<DiscOrientation> disc = typed ? std::optional(typed->disc) : std::nullopt;
  ASSERT_EQ(page.value.has_value(), typed.has_value());
  EXPECT_EQ(page.refusal, typed ? "" : kIncompleteDate);
  EXPECT_EQ(engine.instantRefusal(), typed ? "" : kIncompleteDate);
  if (page.value) {
    EXPECT_EQ(page.value->julianDay, typed->julianDay);
    EXPECT_EQ(page.value->spots.size(), engine.spots().size());
  }
  const DiscAspectTexts aspect = discAspectTexts(disc, ",");
  const InstantTexts shown = engine.aspect();
  EXPECT_EQ((std::vector{shown.aspect.semiDiameter, shown.aspect.p, shown.aspect.b0, shown.aspect.l0}),
            (std::vector{aspect.semiDiameter, aspect.p, aspect.b0, aspect.l0}));
  const SpotTable table = engine.spotTable();
  ASSERT_EQ(table.rows.size(), engine.spots().size());
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const auto cells = spotRow(disc, engine.spots()[i], ",").cells();
    EXPECT_EQ(table.rows[i], std::vector<std::string>(cells.begin(), cells.end()));
  }
  const PointerTexts pointer = engine.pointerTexts();
  const PointerReadout expected = pointerReadout(disc, kOnDisc, ",");
  EXPECT_EQ(pointer.cells, expected.cells);
  EXPECT_EQ(pointer.state, expected.state);
}

TEST(DiscReduction, OneInstantAndTheSpots) {
  const EngineCase cases[] = {
      {"a click on the disc adds spot 3", kDated, [](DiscReduction& e) { return e.click({45, 0.2}); }, true, "",
       {"1", "2", "3"}},
      {"a click beyond the limb adds nothing, says nothing", kDated, [](DiscReduction& e) { return e.click({45, 1.2}); },
       false, "", {"1", "2"}},
      {"a click without the instant adds nothing", kNoMinute, [](DiscReduction& e) { return e.click({45, 0.2}); },
       false, "", {"1", "2"}},
      {"theta from the Sun's pole needs the instant", kNoMinute,
       [](DiscReduction& e) { return e.addSpotTyped("10", "0,3", true); }, false, kIncompleteDate, {"1", "2"}},
      {"theta from the Sun's pole with it", kDated, [](DiscReduction& e) { return e.addSpotTyped("10", "0,3", true); },
       true, "", {"1", "2", "3"}},
      {"x and y on a drawing too large", kDated,
       [](DiscReduction& e) { return e.addSpotOnDrawing("0", "10", {"300", DrawingOrientation::EastLeft, {}}); },
       false, kDiameterRefused, {"1", "2"}},
      {"x and y on the drawing, at the north limb", kNoMinute,
       [](DiscReduction& e) { return e.addSpotOnDrawing("0", "75", kDrawing); }, true, "", {"1", "2", "3"}},
      {"x and y beyond the drawing's rim", kDated,
       [](DiscReduction& e) { return e.addSpotOnDrawing("0", "76", kDrawing); }, false,
       std::string(kOutsideDiscMessage), {"1", "2"}},
      {"no row chosen removes nothing", kDated, [](DiscReduction& e) { return Outcome{e.removeSpots({}), ""}; }, false,
       "", {"1", "2"}},
      {"a number removed is not given again", kDated,
       [](DiscReduction& e) {
         if (!e.removeSpots({1, 1, 7})) return Outcome{};
         return e.click({45, 0.2});
       },
       true, "", {"1", "3"}},
  };
  for (const EngineCase& c : cases) {
    SCOPED_TRACE(c.name);
    DiscReduction engine(",");
    ASSERT_TRUE(engine.addSpotTyped("90", "0,5", false).done);
    ASSERT_TRUE(engine.addSpotTyped("200", "0,3", false).done);
    engine.typeInstant(c.fields);
    engine.movePointer(kOnDisc);
    const Outcome outcome = c.act(engine);
    EXPECT_EQ(outcome.done, c.done);
    EXPECT_EQ(outcome.text, c.said);
    EXPECT_EQ(column(engine.spotTable(), 0), c.numbers);
    expectOneInstant(engine, c.fields);
  }
}

}  // namespace
}  // namespace kavrel::disque
