// The eight programs as soak-test subjects.
#include "subjects.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTableWidget>

#include "common/field_check.h"
#include "programs/brennic/brennic_window.h"
#include "calculators/rotation_list.h"
#include "calculators/aspect_texts.h"
#include "programs/dalvoren/dalvoren_window.h"
#include "programs/date_fields.h"
#include "programs/disque/disque_window.h"
#include "programs/farrowel/farrowel_window.h"
#include "calculators/julian_day_text.h"
#include "calculators/date_of_julian_day.h"
#include "programs/gastrel/gastrel_window.h"
#include "programs/journal/journal_window.h"
#include "programs/kestrum/kestrum_window.h"
#include "calculators/sidereal_time.h"
#include "calculators/precession.h"
#include "programs/precession/precession_window.h"
#include "host/qt_text.h"
#include "sun/precise_aspect.h"
#include "ui/list_box.h"

namespace kavrel::soak {

namespace {

const char* const kSeparator = ",";

struct FieldUse {
  const char* name;
  DateField field;
};

// Every field holds a text its check accepts: a refused text never stays.
QString refusedTexts(ui::Form& w, std::initializer_list<FieldUse> fields, CheckForm form) {
  for (const FieldUse& f : fields) {
    if (checkField(f.field, form, toUtf8(w.text(f.name))) != Refusal::None)
      return QString("%1 holds the refused text \"%2\"").arg(f.name, w.text(f.name));
  }
  return {};
}

QString expectEqual(const QString& what, const QString& shown, std::string_view expected) {
  if (shown == toQString(expected)) return {};
  return QString("%1 shows \"%2\", expected \"%3\"").arg(what, shown, toQString(expected));
}

// While "Ramener à 0 heure" is ticked the time stays at 0 h 0 min.
QString pinnedTime(ui::Form& w) {
  if (w.value("chkZero") == 1 && (w.text("txtHeure") != "0" || w.text("txtMinute") != "0"))
    return QString("the box is ticked but the time is %1:%2").arg(w.text("txtHeure"), w.text("txtMinute"));
  return {};
}

class FarrowelSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override { return start(new farrowel::Farrowel(d, kSeparator)); }
  QStringList fields() const override { return {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute"}; }
  QStringList buttons() const override { return {"chkZero"}; }
  QString check(ui::Form& w) const override {
    QString problem = refusedTexts(w,
                                   {{"txtJour", DateField::Day}, {"txtMois", DateField::Month},
                                    {"txtAnnée", DateField::Year}, {"txtHeure", DateField::Hour},
                                    {"txtMinute", DateField::Minute}},
                                   CheckForm::NumberRead);
    if (problem.isEmpty()) problem = pinnedTime(w);
    if (!problem.isEmpty()) return problem;
    const std::string d = toUtf8(w.text("txtJour")), m = toUtf8(w.text("txtMois")), y = toUtf8(w.text("txtAnnée")),
                      h = toUtf8(w.text("txtHeure")), mi = toUtf8(w.text("txtMinute"));
    // An emptied year leaves the last result on display until another field changes.
    if (y.empty()) {
      static const QRegularExpression kShown("^(#############|-?[0-9]+,[0-9]{3})$");
      return kShown.match(w.text("lblJourJulien")).hasMatch() ? QString() : "lblJourJulien shows " + w.text("lblJourJulien");
    }
    return expectEqual("lblJourJulien", w.text("lblJourJulien"), farrowel::julianDayText({d, m, y, h, mi}, kSeparator));
  }

 private:
  static ui::Form* start(ui::Form* w) {
    w->load();
    return w;
  }
};

class GastrelSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    auto* w = new gastrel::Gastrel(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override { return {"txtJourJulien"}; }
  QStringList buttons() const override { return {}; }
  QString check(ui::Form& w) const override {
    const std::string typed = toUtf8(w.text("txtJourJulien"));
    if (gastrel::checkJulianDayText(typed) != gastrel::Refusal::None)
      return "txtJourJulien holds the refused text " + w.text("txtJourJulien");
    // The date is blank only right after a refusal, which empties the field.
    if (typed.empty() && w.text("lblDate").isEmpty()) return {};
    return expectEqual("lblDate", w.text("lblDate"), gastrel::dateText(typed, kSeparator));
  }
};

class KestrumSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    auto* w = new kestrum::Kestrum(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override { return {"txtJour", "txtMois", "txtAnnée"}; }
  QStringList buttons() const override { return {"Command1"}; }
  QString check(ui::Form& w) const override {
    QString problem = refusedTexts(
        w, {{"txtJour", DateField::Day}, {"txtMois", DateField::Month}, {"txtAnnée", DateField::Year}},
        CheckForm::ExactText);
    if (!problem.isEmpty()) return problem;
    const std::string d = toUtf8(w.text("txtJour")), m = toUtf8(w.text("txtMois")), y = toUtf8(w.text("txtAnnée"));
    const kestrum::SiderealTexts expected = kestrum::siderealTexts({d, m, y}, kSeparator);
    problem = expectEqual("lblJourJulien", w.text("lblJourJulien"), expected.julianDay);
    return problem.isEmpty() ? expectEqual("Label7", w.text("Label7"), expected.siderealTime) : problem;
  }
};

class PrecessionSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    auto* w = new precession::Precession(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override { return {"Text1", "Text2", "Text3", "Text4"}; }
  QStringList buttons() const override { return {"Command1", "Command1", "Command1", "Command3"}; }
  QString check(ui::Form& w) const override {
    // The results are either absent or those of the inputs on display.
    if (w.text("Text5").isEmpty() && w.text("Text6").isEmpty()) return {};
    const std::string y0 = toUtf8(w.text("Text1")), ra = toUtf8(w.text("Text2")), dec = toUtf8(w.text("Text3")),
                      y1 = toUtf8(w.text("Text4"));
    const precession::Outcome expected = precession::compute({y0, ra, dec, y1}, kSeparator);
    QString problem = expectEqual("Text5", w.text("Text5"), expected.rightAscension.value_or("(none)"));
    return problem.isEmpty() ? expectEqual("Text6", w.text("Text6"), expected.declination.value_or("(none)")) : problem;
  }
};

class DalvorenSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    auto* w = new dalvoren::Dalvoren(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override { return {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute"}; }
  QStringList buttons() const override { return {"chkZero", "Command1", "cmdImprimer"}; }
  QString check(ui::Form& w) const override {
    QString problem = refusedTexts(w,
                                   {{"txtJour", DateField::Day}, {"txtMois", DateField::Month},
                                    {"txtAnnée", DateField::Year}, {"txtHeure", DateField::Hour},
                                    {"txtMinute", DateField::Minute}},
                                   CheckForm::ExactText);
    if (problem.isEmpty()) problem = pinnedTime(w);
    if (!problem.isEmpty()) return problem;
    const std::string d = toUtf8(w.text("txtJour")), m = toUtf8(w.text("txtMois")), y = toUtf8(w.text("txtAnnée")),
                      h = toUtf8(w.text("txtHeure")), mi = toUtf8(w.text("txtMinute"));
    const dalvoren::AspectTexts e = dalvoren::aspectTexts({d, m, y, h, mi}, kSeparator);
    const std::pair<const char*, const std::string*> labels[] = {
        {"lblJourJulien", &e.julianDay}, {"lblAD", &e.rightAscension}, {"lblDéc", &e.declination},
        {"lblRotSyn", &e.rotation},      {"lblDemidiam", &e.semiDiameter}, {"lblP", &e.p},
        {"lblBo", &e.b0},                {"lblLo", &e.l0}};
    for (const auto& [name, expected] : labels) {
      if (problem = expectEqual(name, w.text(name), *expected); !problem.isEmpty()) return problem;
    }
    return {};
  }
};

class BrennicSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    auto* w = new brennic::Brennic(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override { return {"txtJour", "txtMois", "txtAnnée", "txtJourF", "txtMoisF", "txtAnnéeF"}; }
  QStringList buttons() const override { return {"cmdCalcul", "cmdCalcul", "cmdNettoyer", "cmdImprimer"}; }
  QString check(ui::Form& w) const override {
    QString problem = refusedTexts(w,
                                   {{"txtJour", DateField::Day}, {"txtMois", DateField::Month},
                                    {"txtAnnée", DateField::Year}, {"txtJourF", DateField::Day},
                                    {"txtMoisF", DateField::Month}, {"txtAnnéeF", DateField::Year}},
                                   CheckForm::ExactText);
    if (!problem.isEmpty()) return problem;
    const std::string d1 = toUtf8(w.text("txtJour")), m1 = toUtf8(w.text("txtMois")), y1 = toUtf8(w.text("txtAnnée"));
    const std::string d2 = toUtf8(w.text("txtJourF")), m2 = toUtf8(w.text("txtMoisF")), y2 = toUtf8(w.text("txtAnnéeF"));
    if (problem = row(w, "", brennic::dateRow({d1, m1, y1}, kSeparator)); !problem.isEmpty()) return problem;
    if (problem = row(w, "F", brennic::dateRow({d2, m2, y2}, kSeparator)); !problem.isEmpty()) return problem;

    // A list on display is the list of the dates on display: any change empties it.
    const ui::ListBox* list = w.listBox("List1");
    if (list->count() > brennic::kMaxLines) return QString("List1 holds %1 lines").arg(list->count());
    if (list->count() == 0) return {};
    const brennic::RotationList expected = brennic::rotationList({d1, m1, y1}, {d2, m2, y2}, kSeparator);
    if (expected.outcome != brennic::ListOutcome::Listed) return "List1 holds lines the dates cannot give";
    if (list->count() != expected.lastLine + 1)
      return QString("List1 holds %1 lines, expected %2").arg(list->count()).arg(expected.lastLine + 1);
    for (int i = 0; i < list->count(); ++i) {
      if (problem = expectEqual(QString("List1 line %1").arg(i), list->itemText(i),
                                expected.lines[static_cast<std::size_t>(i)]);
          !problem.isEmpty())
        return problem;
    }
    return {};
  }

 private:
  // The Julian day always follows its date; rotation and L0 only while the date is complete.
  static QString row(ui::Form& w, const QString& suffix, const brennic::DateRow& expected) {
    QString problem = expectEqual("lblJourJulien" + suffix, w.text("lblJourJulien" + suffix), expected.julianDay);
    if (!problem.isEmpty() || !expected.complete) return problem;
    problem = expectEqual("lblRotSyn" + suffix, w.text("lblRotSyn" + suffix), expected.rotation);
    return problem.isEmpty() ? expectEqual("lblLo" + suffix, w.text("lblLo" + suffix), expected.l0) : problem;
  }
};

// The disc window: its date results as in the solar-aspect window, a table row for each
// spot (numbers rising, B, L and DMC following the instant), the page there exactly when
// the instant is known, and the pointer, never moved here, reading nothing.
class DisqueSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    auto* w = new disque::Disque(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override {
    return {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute",
            "txtAngle", "txtDistance", "txtX", "txtY", "txtDiametre"};
  }
  QStringList buttons() const override {
    return {"chkZero", "chkDepuisAxe", "cmdAjouter", "cmdAjouter", "cmdAjouterXY", "cmdAjouterXY", "cmdSupprimer"};
  }
  QString check(ui::Form& form) const override {
    auto& w = static_cast<disque::Disque&>(form);
    QString problem = refusedTexts(w,
                                   {{"txtJour", DateField::Day}, {"txtMois", DateField::Month},
                                    {"txtAnnée", DateField::Year}, {"txtHeure", DateField::Hour},
                                    {"txtMinute", DateField::Minute}},
                                   CheckForm::ExactText);
    if (problem.isEmpty()) problem = pinnedTime(w);
    if (!problem.isEmpty()) return problem;
    const FieldTexts fields(w);
    const DateTexts date = fields.view();
    // The window reads its fields as the solar-aspect window does (an empty time is 0 h), and
    // orients the disc by the precise ephemeris, which gives nothing for years it cannot take.
    const std::optional<DiscInstant> instant = preciseDiscInstant(date);
    const std::optional<DiscOrientation> disc = instant ? std::optional(instant->disc) : std::nullopt;
    if (problem = expectEqual("lblP", w.text("lblP"), disque::discAspectTexts(disc, kSeparator).p); !problem.isEmpty())
      return problem;
    if (instant && (date.day.empty() || date.month.empty() || date.year.empty()))
      return "an instant with an empty date";
    if (w.pageContent().has_value() != instant.has_value()) return "the page does not follow the instant";

    const std::vector<disque::DrawnSpot>& spots = w.spots();
    const QTableWidget* table = w.spotTable();
    if (table->rowCount() != static_cast<int>(spots.size()))
      return QString("the table has %1 rows for %2 spots").arg(table->rowCount()).arg(spots.size());
    for (std::size_t i = 0; i < spots.size(); ++i) {
      if (i > 0 && spots[i].number <= spots[i - 1].number) return QString("spot %1 is numbered out of order").arg(i);
      if (!(spots[i].at.r >= 0 && spots[i].at.r <= 1 + kLimbRounding)) return QString("spot %1 is off the disc").arg(i);
      const std::array<std::string, 6> cells = disque::spotRow(disc, spots[i], kSeparator).cells();
      for (std::size_t c = 0; c < cells.size(); ++c) {
        const QTableWidgetItem* item = table->item(static_cast<int>(i), static_cast<int>(c));
        if (problem = expectEqual(QString("row %1 column %2").arg(i).arg(c), item ? item->text() : QString(), cells[c]);
            !problem.isEmpty())
          return problem;
      }
    }
    for (const char* name : {"lblPtAngle", "lblPtDistance", "lblPtB", "lblPtL", "lblPtDMC"})
      if (!w.text(name).isEmpty()) return QString("%1 reads \"%2\" with no pointer").arg(name, w.text(name));
    return expectEqual("lblPtEtat", w.text("lblPtEtat"), disque::kPointerHint);
  }
};

// The log's window, each run on a journal of its own: R and the checks' messages follow
// the fields as they stand, the observation shown is stored or new, and the groups' table
// holds the stored observation's groups.
class JournalSubject : public Subject {
 public:
  ui::Form* open(ui::Desktop d) override {
    m_folders.push_back(std::make_unique<QTemporaryDir>());
    qputenv("XDG_DATA_HOME", m_folders.back()->path().toUtf8());
    auto* w = new journal::JournalWindow(d, kSeparator);
    w->load();
    return w;
  }
  QStringList fields() const override {
    return {"txtJour",  "txtMois",  "txtAnnée", "txtHeure", "txtMinute",  "txtSeeing",  "txtTransparence",
            "txtGNord", "txtFNord", "txtGSud",  "txtFSud",  "txtGDisque", "txtFDisque", "txtGrNumero",
            "txtGrB",   "txtGrL",   "txtGrTaches", "txtGrAire"};
  }
  QStringList buttons() const override {
    return {"chkDisque",        "cmdNouvelle",      "cmdRayer",         "cmdAjouterGroupe", "cmdAjouterGroupe",
            "cmdRetirerGroupe", "cmdMoisPrecedent", "cmdMoisSuivant",   "cmdAnneeSuivante"};
  }
  QString check(ui::Form& form) const override {
    auto& w = static_cast<journal::JournalWindow&>(form);
    journal::Journal* log = w.journal();
    if (!log) return "no journal open";
    std::optional<journal::Observation> stored;
    if (w.currentObservation()) {
      journal::Read<std::optional<journal::Observation>> read = log->observation(w.currentObservation());
      if (!read.ok()) return "the journal could not be read: " + toQString(read.error);
      stored = std::move(read.value);
      if (!stored) return "the observation shown is not in the journal";
    }
    journal::DayTexts typed;
    std::string* texts[] = {&typed.day,         &typed.month,      &typed.year,        &typed.hour,
                            &typed.minute,      &typed.seeing,     &typed.transparency, &typed.groupsNorth,
                            &typed.spotsNorth,  &typed.groupsSouth, &typed.spotsSouth,  &typed.groupsDisc,
                            &typed.spotsDisc};
    const char* names[] = {"txtJour",  "txtMois",  "txtAnnée", "txtHeure", "txtMinute",  "txtSeeing", "txtTransparence",
                           "txtGNord", "txtFNord", "txtGSud",  "txtFSud",  "txtGDisque", "txtFDisque"};
    for (std::size_t i = 0; i < std::size(texts); ++i) *texts[i] = toUtf8(w.text(names[i]));
    typed.remarks = toUtf8(w.text("txtRemarque"));
    typed.wholeDisc = w.value("chkDisque") != 0;
    const journal::DayReading reading = journal::readDay(typed, stored.value_or(journal::Observation{}), today());
    QString problem = expectEqual("lblRNord", w.text("lblRNord"), reading.relativeNorth);
    if (problem.isEmpty()) problem = expectEqual("lblRSud", w.text("lblRSud"), reading.relativeSouth);
    if (problem.isEmpty()) problem = expectEqual("lblRDisque", w.text("lblRDisque"), reading.relativeDisc);
    std::string said;
    for (const std::string& line : reading.problems) said += (said.empty() ? "" : "\n") + line;
    if (problem.isEmpty()) problem = expectEqual("lblVerifs", w.text("lblVerifs"), said);
    if (!problem.isEmpty()) return problem;
    const journal::Read<std::vector<journal::Group>> groups =
        stored ? log->groups(stored->id) : journal::Read<std::vector<journal::Group>>{};
    if (!groups.ok()) return "the journal could not be read: " + toQString(groups.error);
    if (static_cast<std::size_t>(w.table("grdGroupes")->rowCount()) != groups.value.size())
      return QString("the groups' table has %1 rows for %2 groups")
          .arg(w.table("grdGroupes")->rowCount())
          .arg(groups.value.size());
    return {};
  }

 private:
  static journal::Day today() {
    const QDate date = QDateTime::currentDateTimeUtc().date();
    return {date.year(), date.month(), date.day()};
  }
  std::vector<std::unique_ptr<QTemporaryDir>> m_folders;
};

}  // namespace

std::unique_ptr<Subject> makeSubject(const QString& program) {
  if (program == "Farrowel") return std::make_unique<FarrowelSubject>();
  if (program == "Gastrel") return std::make_unique<GastrelSubject>();
  if (program == "Kestrum") return std::make_unique<KestrumSubject>();
  if (program == "precession") return std::make_unique<PrecessionSubject>();
  if (program == "Dalvoren") return std::make_unique<DalvorenSubject>();
  if (program == "Brennic") return std::make_unique<BrennicSubject>();
  if (program == "Disque") return std::make_unique<DisqueSubject>();
  if (program == "Journal") return std::make_unique<JournalSubject>();
  return nullptr;
}

}  // namespace kavrel::soak
