#include "calculators/precession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reference_table.h"

namespace kavrel::precession {
namespace {

using enum Message;

std::string toComma(std::string text) {
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

TEST(Precession, WorkedPositionsInBothSeparators) {
  const struct {
    Inputs in;
    const char* rightAscension;
    const char* declination;
  } cases[] = {
      {{"1950", "6.4245", "-16.3858", "2000"}, "6.4459", "-16.4203"},
      {{"2000", "6.4459", "-16.4203", "1950"}, "6.4245", "-16.3847"},  // going back does not undo
      {{"1800", "18.3656", "38.4701", "2000"}, "18.4338", "38.5744"},
      {{"1950", "6.42", "1.15", "1950"}, "6.4200", "1.1500"},           // N = 0
      {{"2100", "0.001", "0", "2000"}, "-0.0457", "-0.3323"},          // across 0 h: negative
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in.referenceYear << " " << c.in.rightAscension << " "
                                    << c.in.declination << " " << c.in.targetYear);
    const Outcome point = compute(c.in, ".");
    EXPECT_TRUE(point.messages.empty());
    EXPECT_EQ(point.rightAscension, c.rightAscension);
    EXPECT_EQ(point.declination, c.declination);
    const Outcome comma = compute(c.in, ",");
    EXPECT_EQ(comma.rightAscension, toComma(c.rightAscension));
    EXPECT_EQ(comma.declination, toComma(c.declination));
  }
}

// Positions with minutes and seconds: the sums in seconds decide the last unit shown.
TEST(Precession, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("precession.csv")) {
    SCOPED_TRACE(row.where());
    const Outcome got = compute({row.text("reference_year"), row.text("right_ascension"), row.text("declination"),
                                 row.text("target_year")},
                                ",");
    EXPECT_TRUE(got.messages.empty());
    EXPECT_EQ(got.rightAscension, row.text("right_ascension_shown"));
    EXPECT_EQ(got.declination, row.text("declination_shown"));
  }
}

TEST(Precession, TheRowIsChosenByTheTargetYearAndTheLaterRowWinsAtAJoint) {
  const struct {
    double year;
    Coefficients expected;
  } cases[] = {
      {1699, {0, 0, 0}},           {1700, {3.069, 1.338, 20.06}}, {1750, {3.069, 1.338, 20.06}},
      {1750.5, {3.070, 1.337, 20.06}}, {1751, {3.070, 1.337, 20.06}}, {1850, {3.070, 1.337, 20.06}},
      {1851, {3.072, 1.336, 20.05}}, {1950, {3.072, 1.336, 20.05}}, {1951, {3.074, 1.336, 20.04}},
      {2050, {3.074, 1.336, 20.04}}, {2051, {3.076, 1.335, 20.03}}, {2150, {3.076, 1.335, 20.03}},
      {2151, {3.074, 1.335, 20.04}}, {2200, {3.074, 1.335, 20.04}}, {2201, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year);
    const Coefficients got = coefficientsFor(c.year);
    EXPECT_EQ(got.m, c.expected.m);
    EXPECT_EQ(got.n, c.expected.n);
    EXPECT_EQ(got.nPrime, c.expected.nPrime);
  }
}

TEST(Precession, MessagesComeInTheirOrder) {
  const std::string huge(308, '9');
  const std::string minusHuge = "-" + huge;
  const struct {
    Inputs in;
    std::vector<Message> messages;
    bool written;
  } cases[] = {
      {{"", "", "", ""}, {BadData}, false},                                  // all empty: once
      {{"1950", "24.0001", "0", "2000"}, {BadData}, false},
      {{"1950", "-0.1", "0", "2000"}, {BadData}, false},
      {{"1950", "12", "90.1", "2000"}, {BadData}, false},
      {{"1950", "12", "-90.1", "2000"}, {BadData}, false},
      {{"1950", "24", "-90", "2000"}, {}, true},                             // the bounds pass
      {{"1950", "12", "90", "2000"}, {}, true},                              // finite, if meaningless
      {{"1950", "abc", "x", "2000"}, {}, true},                              // positions read as 0
      {{"1950", "1e400", "0", "2000"}, {BadData}, false},                    // beyond the double range
      {{"1950", "6", "0", "20x0"}, {BadData}, false},
      {{"1950", "6", "0", "inf"}, {BadData}, false},
      {{"1950", "6", "0", "1e3"}, {BadData}, false},
      {{"1950", "6", "0", "1699"}, {YearOutOfRange}, true},
      {{"1950", "6", "0", "2201"}, {YearOutOfRange}, true},
      {{"1600", "6", "0", "2000"}, {YearOutOfRange}, true},
      {{"1600", "6", "0", "2300"}, {YearOutOfRange, YearOutOfRange}, true},
      {{"x", "6", "0", "1600"}, {YearOutOfRange, BadData}, false},           // target warned first
      {{"x", "6", "0", "2000"}, {BadData}, false},
      {{"1950", "6", "0", "1700"}, {}, true},
      {{"1950", "6", "0", "2200"}, {}, true},
      // A year difference beyond the double range: warned, then nothing written, silently.
      {{minusHuge, "6", "0", huge}, {YearOutOfRange, YearOutOfRange}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "[" << c.in.referenceYear.substr(0, 12) << "] [" << c.in.rightAscension
                                    << "] [" << c.in.declination << "] [" << c.in.targetYear.substr(0, 12) << "]");
    const Outcome outcome = compute(c.in, ".");
    EXPECT_EQ(outcome.messages, c.messages);
    EXPECT_EQ(outcome.rightAscension.has_value(), c.written);
    EXPECT_EQ(outcome.declination.has_value(), c.written);
  }
}

TEST(Precession, OutOfRangeTargetRepeatsTheStartingPosition) {
  for (const char* target : {"1699", "2201", "1000"}) {
    SCOPED_TRACE(target);
    const Outcome outcome = compute({"1950", "6.4245", "-16.3858", target}, ",");
    EXPECT_EQ(outcome.rightAscension, "6,4245");
    EXPECT_EQ(outcome.declination, "-16,3858");
  }
}

// Both years are converted with the locale's separator, and only with it.
TEST(Precession, TheYearsFollowTheLocaleSeparator) {
  const struct {
    const char *reference, *target, *separator;
    std::vector<Message> messages;
  } cases[] = {
      {"1950,5", "2000", ",", {}},        {"1950.5", "2000", ",", {BadData}},
      {"1950", "2000,5", ",", {}},        {"1950", "2000.5", ",", {BadData}},
      {"1950.5", "2000", ".", {}},        {"1950,5", "2000", ".", {BadData}},
      {"1950", "2000.5", ".", {}},        {"1950", "2000,5", ".", {BadData}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.reference << " " << c.target << " " << c.separator);
    EXPECT_EQ(compute({c.reference, "6", "0", c.target}, c.separator).messages, c.messages);
  }
}

TEST(Precession, MessageTexts) {
  EXPECT_EQ(messageText(BadData), "Données incorrectes");
  EXPECT_EQ(messageText(YearOutOfRange), "Le programme n'est prévue que pour traiter entre les années 1700 et 2200");
}

}  // namespace
}  // namespace kavrel::precession
