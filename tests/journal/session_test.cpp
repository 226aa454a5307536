// The editing session on a journal of the test's own and a fixed clock: whose log is
// shown, the month reached by its year typed, the observer named, renamed and given an
// instrument, what a new observation starts with, and what Ctrl+Z takes back.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

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

constexpr ClockReading kNow{{2014, 2, 20}, {9, 5}};

struct Folder {
  Folder() {
    char name[] = "/tmp/kavrel-session-XXXXXX";
    path = ::mkdtemp(name);
  }
  ~Folder() { fs::remove_all(path); }
  std::string path;
};

std::unique_ptr<Session> opened(const std::string& path) {
  Session::Opened opened = Session::open(path, ",", [] { return kNow; });
  EXPECT_TRUE(opened.session) << opened.error;
  return std::move(opened.session);
}

void observe(Journal& journal, const char* code, Day day) {
  Observation observation;
  observation.date = day;
  observation.time = {9, 5};
  observation.counts = Tally::wholeDisc({1, 3});
  ASSERT_TRUE(journal.addObservation(observation, code, kNow.day).done());
}

void addObserver(Journal& journal, const char* code) {
  Observer observer;
  observer.code = code;
  ASSERT_TRUE(journal.addObserver(observer).done());
}

// One rule for the window and the command: the code named, else the only observer who
// observed (one without observations does not count), else a question.
TEST(Session, ChoosesTheObserverByOneRule) {
  struct Case {
    const char* name;
    std::function<void(Journal&)> make;
    const char* code;
    const char* chosen;   // "" none
    const char* refusal;  // start of the refusal, "" none
    const char* latest;   // with several and none named
  };
  const Case cases[] = {
      {"a new journal", [](Journal&) {}, "", "", "", ""},
      {"a second observer without observations",
       [](Journal& j) {
         observe(j, "HUZR", {2014, 2, 3});
         addObserver(j, "FUJI");
       },
       "", "HUZR", "", ""},
      {"the only observer, without observations", [](Journal& j) { addObserver(j, "FUJI"); }, "", "FUJI", "", ""},
      {"two observing, none named",
       [](Journal& j) {
         observe(j, "HUZR", {2014, 2, 5});
         observe(j, "FUJI", {2014, 2, 3});
       },
       "", "", "Le journal tient plusieurs observateurs (FUJI, HUZR)", "HUZR"},
      {"two observing, one named",
       [](Journal& j) {
         observe(j, "HUZR", {2014, 2, 5});
         observe(j, "FUJI", {2014, 2, 3});
       },
       "FUJI", "FUJI", "", ""},
      {"a code the journal does not hold", [](Journal& j) { observe(j, "HUZR", {2014, 2, 5}); }, "XYZ", "",
       "Observateur : le journal n'a pas d'observateur « XYZ » (codes : HUZR).", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    const std::string path = folder.path + "/journal.sqlite";
    {
      Journal::Opened made = Journal::open(path);
      ASSERT_TRUE(made.journal);
      c.make(*made.journal);
    }
    const auto session = opened(path);
    const ObserverChoice choice = session->chooseObserver(c.code);
    EXPECT_EQ(choice.observer ? choice.observer->code : "", c.chosen);
    EXPECT_TRUE(choice.refusal.starts_with(c.refusal)) << choice.refusal;
    EXPECT_EQ(choice.latest ? choice.latest->code : "", c.latest);
  }
}

// Ctrl+Z takes back the field being typed, then the fields left unstored, then the
// journal's change; a new form of another month starts without day nor time and stores
// nothing while nothing is counted.
TEST(Session, UndoesWhatItsCaptionSays) {
  Folder folder;
  const auto session = opened(folder.path + "/journal.sqlite");
  EXPECT_EQ(session->typed().day, "20");
  session->showMonth(2014, 1);
  session->newObservation();
  EXPECT_EQ(session->typed().day, "");
  EXPECT_EQ(session->typed().month, "1");
  EXPECT_EQ(session->store().kind, Outcome::Kind::Unchanged);

  DayTexts typed = session->typed();
  typed.day = "3";
  typed.hour = "9";
  typed.minute = "05";
  typed.wholeDisc = true;
  EXPECT_EQ(session->leave(typed).kind, Outcome::Kind::Unchanged);  // nothing counted yet
  typed.groupsDisc = "2";
  EXPECT_EQ(session->leave(typed).kind, Outcome::Kind::Refused);
  typed.spotsDisc = "7";
  session->type(typed);
  EXPECT_EQ(session->undoCaption(), "Annuler la saisie dans f disque");
  session->undo();
  EXPECT_EQ(session->typed().spotsDisc, "");
  EXPECT_EQ(session->undoCaption(), "Annuler la saisie dans g disque");
  session->undo();
  EXPECT_EQ(session->typed().groupsDisc, "");
  EXPECT_EQ(session->typed().day, "3");

  typed = session->typed();
  typed.groupsDisc = "2";
  typed.spotsDisc = "7";
  EXPECT_TRUE(session->leave(typed).stored());
  EXPECT_EQ(session->undoCaption(), "Annuler l'ajout de l'observation du 3 janvier 2014");
  EXPECT_EQ(session->monthView().value.sheet.rows.size(), 1u);
  EXPECT_TRUE(session->undo().stored());
  EXPECT_TRUE(session->monthView().value.sheet.rows.empty());
  EXPECT_EQ(session->edited(), 0);
}

// A group measured in Disque keeps its decimals whole when another of its fields is typed.
TEST(Session, AGroupKeepsWhatItsFieldsShowRounded) {
  Folder folder;
  const auto session = opened(folder.path + "/journal.sqlite");
  DayTexts typed = session->typed();
  typed.wholeDisc = true;
  typed.groupsDisc = "1";
  typed.spotsDisc = "3";
  ASSERT_TRUE(session->leave(typed).stored());
  Group measured;
  measured.observationId = session->edited();
  measured.number = 1;
  measured.latitude = 12.3456;
  measured.longitude = 359.9987;
  measured.areaMsh = 120.4;
  measured.spots = 3;
  ASSERT_TRUE(session->journal().addGroup(measured).done());
  const Group stored = session->groups().value.front();
  GroupTexts shown = groupTexts(stored, ",");
  shown.zurichClass = "C";
  const Outcome outcome = session->storeGroup(stored.id, shown);
  EXPECT_TRUE(outcome.stored()) << outcome.message;
  const Group after = session->groups().value.front();
  EXPECT_EQ(after.zurichClass, std::optional<char>('C'));
  EXPECT_EQ(after.latitude, measured.latitude);
  EXPECT_EQ(after.longitude, measured.longitude);
  EXPECT_EQ(after.areaMsh, measured.areaMsh);
}

}  // namespace
}  // namespace kavrel::journal
