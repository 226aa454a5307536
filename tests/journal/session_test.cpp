// The editing session on a journal of the test's own: the month reached by its year typed,
// the observer named, renamed and given an instrument, and Ctrl+Z giving back the observer
// as they were.
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "journal/session.h"

namespace kavrel::journal {
namespace {

namespace fs = std::filesystem;

ClockReading fixedClock() { return {{2014, 2, 20}, {9, 5}}; }

struct Opened {
  Opened() {
    char name[] = "/tmp/kavrel-session-XXXXXX";
    folder = ::mkdtemp(name);
    Session::Opened opened = Session::open(folder + "/journal.sqlite", ",", &fixedClock);
    session = std::move(opened.session);
  }
  ~Opened() {
    session.reset();
    fs::remove_all(folder);
  }
  // One observation stored, which makes the journal's first observer, "OBS".
  void observe() {
    DayTexts day = session->typed();
    day.day = "3";
    day.groupsNorth = "2";
    day.spotsNorth = "5";
    day.groupsSouth = "0";
    day.spotsSouth = "0";
    ASSERT_TRUE(session->leave(day).stored());
  }
  std::string folder;
  std::unique_ptr<Session> session;
};

TEST(Session, MonthTyped) {
  const struct {
    const char* name;
    int month;
    const char* year;
    Outcome::Kind kind;
    int shownYear, shownMonth;
    const char* said;
  } cases[] = {
      {"a year far back in one step", 6, "1975", Outcome::Kind::Stored, 1975, 6, ""},
      {"spaces around the year", 12, " 2001 ", Outcome::Kind::Stored, 2001, 12, ""},
      {"the month shown already", 2, "2014", Outcome::Kind::Unchanged, 2014, 2, ""},
      {"a letter in the year", 6, "19a5", Outcome::Kind::Refused, 2014, 2,
       "Année : « 19a5 » n'est pas une année de 1 à 9999."},
      {"year 0", 6, "0", Outcome::Kind::Refused, 2014, 2, "Année : « 0 » n'est pas une année de 1 à 9999."},
      {"past 9999", 6, "10000", Outcome::Kind::Refused, 2014, 2,
       "Année : « 10000 » n'est pas une année de 1 à 9999."},
      {"no year", 6, "", Outcome::Kind::Refused, 2014, 2, "Année : tapez l'année du mois à afficher, 1975 par exemple."},
      {"no month chosen", 0, "1975", Outcome::Kind::Refused, 2014, 2, "Mois : choisissez-en un de janvier à décembre."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Opened o;
    const Outcome outcome = o.session->showMonth(c.month, c.year);
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.message, c.said);
    EXPECT_EQ(o.session->year(), c.shownYear);
    EXPECT_EQ(o.session->month(), c.shownMonth);
  }
}

TEST(Session, ObserverNamedAndGivenAnInstrument) {
  const struct {
    const char* name;
    bool observed;  // "OBS" made by a first observation, else a journal without observers
    ObserverTexts typed;
    Outcome::Kind kind;
    const char* said;  // the message's start
    const char* shown;
    const char* instrument;
  } cases[] = {
      {"OBS given its network's code and a name", true, {"HUZR", "Jean Dupont", "80", "1200", Method::Projection},
       Outcome::Kind::Stored, "", "Jean Dupont (HUZR)", "ouverture 80 mm, focale 1200 mm, projection"},
      {"the first observer of an empty journal", false, {" HUZR ", "", "", "", Method::Photograph},
       Outcome::Kind::Stored, "", "HUZR", "photographie"},
      {"nothing changed", true, {"OBS", "OBS", "", "", Method::Unknown}, Outcome::Kind::Unchanged, "", "OBS", ""},
      {"no code", true, {" ", "Jean", "", "", Method::Unknown}, Outcome::Kind::Refused, "Code : tapez", "OBS", ""},
      {"a code with a space, which would name a report's file", true, {"J D", "", "", "", Method::Unknown},
       Outcome::Kind::Refused, "Code : « J D » ne convient pas", "OBS", ""},
      {"a code with a slash", true, {"A/B", "", "", "", Method::Unknown}, Outcome::Kind::Refused,
       "Code : « A/B » ne convient pas", "OBS", ""},
      {"every problem at once", true, {"HUZR", "", "8o", "-1", Method::Unknown}, Outcome::Kind::Refused,
       "Ouverture : « 8o » n'est pas un nombre entier de millimètres.\nFocale : « -1 »", "OBS", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Opened o;
    if (c.observed) o.observe();
    const Outcome outcome = o.session->changeObserver(c.typed);
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.message.rfind(c.said, 0), 0u) << outcome.message;
    ASSERT_TRUE(o.session->observer());
    EXPECT_EQ(observerChoiceText(*o.session->observer()), c.shown);
    EXPECT_EQ(instrumentText(*o.session->observer()), c.instrument);
    const Read<std::vector<Observer>> all = o.session->observers();
    ASSERT_EQ(all.value.size(), 1u);
    EXPECT_EQ(all.value.front().code, o.session->observer()->code);
  }
}

// Ctrl+Z after a rename shows the observer under their former name, and after the first
// observer of a journal was made, none.
TEST(Session, ObserverChangeUndone) {
  {
    Opened o;
    o.observe();
    ASSERT_TRUE(o.session->changeObserver(ObserverTexts{.code = "HUZR", .name = "Jean Dupont"}).stored());
    EXPECT_EQ(o.session->undoCaption(), "Annuler la modification de l'observateur OBS");
    ASSERT_TRUE(o.session->undo().stored());
    EXPECT_EQ(o.session->observer()->code, "OBS");
  }
  Opened o;
  ASSERT_TRUE(o.session->changeObserver(ObserverTexts{.code = "HUZR"}).stored());
  ASSERT_TRUE(o.session->undo().stored());
  EXPECT_FALSE(o.session->observer());
  EXPECT_TRUE(o.session->observers().value.empty());
}

}  // namespace
}  // namespace kavrel::journal
