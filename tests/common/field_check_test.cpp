#include "common/field_check.h"

#include <gtest/gtest.h>

namespace kavrel {
namespace {

using enum DateField;
constexpr auto kRead = CheckForm::NumberRead;
constexpr auto kExact = CheckForm::ExactText;

TEST(FieldCheck, AcceptsOrNamesTheRefusal) {
  const struct {
    DateField field;
    CheckForm form;
    const char* text;
    Refusal expected;
  } cases[] = {
      // The empty text is never an error.
      {Day, kRead, "", Refusal::None}, {Year, kExact, "", Refusal::None}, {Minute, kExact, "", Refusal::None},
      // Day read as a number: any text reading as 1..31.
      {Day, kRead, "5", Refusal::None}, {Day, kRead, "05", Refusal::None}, {Day, kRead, " 5", Refusal::None},
      {Day, kRead, "5h", Refusal::None}, {Day, kRead, "31", Refusal::None}, {Day, kRead, "3.1e1", Refusal::None},
      {Day, kRead, "0", Refusal::Day}, {Day, kRead, "32", Refusal::Day}, {Day, kRead, "1.5", Refusal::Day},
      {Day, kRead, "abc", Refusal::Day}, {Day, kRead, "-1", Refusal::Day}, {Day, kRead, "1e400", Refusal::Day},
      // Day as exact text: "1" to "31" without leading zero.
      {Day, kExact, "1", Refusal::None}, {Day, kExact, "31", Refusal::None}, {Day, kExact, "07", Refusal::Day},
      {Day, kExact, "5 ", Refusal::Day}, {Day, kExact, "0", Refusal::Day}, {Day, kExact, "32", Refusal::Day},
      {Day, kExact, "3", Refusal::None}, {Day, kExact, "1a", Refusal::Day}, {Day, kExact, "123", Refusal::Day},
      // Month, the same in both forms.
      {Month, kRead, "1", Refusal::None}, {Month, kRead, "01", Refusal::None}, {Month, kExact, "09", Refusal::None},
      {Month, kExact, "12", Refusal::None}, {Month, kRead, "00", Refusal::Month}, {Month, kRead, "13", Refusal::Month},
      {Month, kRead, "1.", Refusal::Month}, {Month, kExact, "0", Refusal::Month}, {Month, kRead, " 1", Refusal::Month},
      {Month, kExact, "010", Refusal::Month},
      // Year: one character is "-" or 1..9; longer texts are judged by their last character.
      {Year, kRead, "1", Refusal::None}, {Year, kRead, "19", Refusal::None}, {Year, kRead, "-", Refusal::None},
      {Year, kRead, "-0", Refusal::None}, {Year, kRead, "20x1", Refusal::None}, {Year, kRead, "0", Refusal::Number},
      {Year, kRead, "1-", Refusal::Number}, {Year, kRead, "x", Refusal::Number}, {Year, kExact, "198a", Refusal::Number},
      {Year, kExact, "é", Refusal::Number}, {Year, kExact, "2000é", Refusal::Number},
      // Hour and minute read as numbers: 0 or an integer of the range.
      {Hour, kRead, "0", Refusal::None}, {Hour, kRead, "23", Refusal::None}, {Hour, kRead, "07", Refusal::None},
      {Hour, kRead, "24", Refusal::Hour}, {Hour, kRead, "9.5", Refusal::Hour}, {Hour, kRead, "x", Refusal::None},
      {Minute, kRead, "59", Refusal::None}, {Minute, kRead, "60", Refusal::Minute}, {Minute, kRead, "-1", Refusal::Minute},
      // Hour and minute as exact texts: "0", "00" to "09", and the range without leading zero.
      {Hour, kExact, "00", Refusal::None}, {Hour, kExact, "09", Refusal::None}, {Hour, kExact, "0", Refusal::None},
      {Hour, kExact, "23", Refusal::None}, {Hour, kExact, "24", Refusal::Hour}, {Hour, kExact, "x", Refusal::Hour},
      {Hour, kExact, "010", Refusal::Hour}, {Minute, kExact, "59", Refusal::None}, {Minute, kExact, "05", Refusal::None},
      {Minute, kExact, "60", Refusal::Minute}, {Minute, kExact, " 5", Refusal::Minute},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.field) << " " << static_cast<int>(c.form) << " [" << c.text
                                    << "]");
    EXPECT_EQ(checkField(c.field, c.form, c.text), c.expected);
  }
}

TEST(FieldCheck, EachRefusalHasItsMessage) {
  EXPECT_EQ(refusalMessage(Refusal::Day), "Le jour doit être compris entre 1 et 31");
  EXPECT_EQ(refusalMessage(Refusal::Month), "Le mois doit être compris entre 1 et 12");
  EXPECT_EQ(refusalMessage(Refusal::Hour), "L'heure doit être comprise entre 0 et 23 h");
  EXPECT_EQ(refusalMessage(Refusal::Minute), "Les minutes doivent être comprises entre 0 et 59 min");
  EXPECT_EQ(refusalMessage(Refusal::Number), "Valeur incorrecte");
  EXPECT_TRUE(refusalMessage(Refusal::None).empty());
}

}  // namespace
}  // namespace kavrel
