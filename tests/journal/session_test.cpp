// The editing session's rules, on a real journal file and a fixed clock: whose log is
// shown, what a new observation starts with, and what Ctrl+Z takes back.
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "journal/session.h"

namespace kavrel::journal {
namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(session->monthView().value.rows.size(), 1u);
  EXPECT_TRUE(session->undo().stored());
  EXPECT_TRUE(session->monthView().value.rows.empty());
  EXPECT_EQ(session->edited(), 0);
}

}  // namespace
}  // namespace kavrel::journal
