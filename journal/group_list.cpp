// The observer's lists of groups read, their distances placed in Carrington longitude
// (group_list.h).
#include "journal/group_list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "common/calendar_date.h"
#include "common/csv.h"
#include "common/julian_day.h"
#include "common/spot_columns.h"
#include "common/text.h"
#include "sun/precise_aspect.h"

namespace kavrel::journal {
namespace {

// ---------------------------------------------------------------------------------------
// The header.

// The plain letter of a Latin-1 letter written in UTF-8 as 0xC3 then `second`; 0 for none.
char plainOfAccented(unsigned char second) {
  const unsigned char upper = second & ~0x20u;  // à (A0) as À (80)
  if (upper >= 0x80 && upper <= 0x85) return 'a';
  if (upper == 0x87) return 'c';
  if (upper >= 0x88 && upper <= 0x8B) return 'e';
  if (upper >= 0x8C && upper <= 0x8F) return 'i';
  if (upper >= 0x92 && upper <= 0x96) return 'o';
  if (upper >= 0x99 && upper <= 0x9C) return 'u';
  return 0;
}

// A column's name as it is compared: lower case, accents dropped, blanks and hyphens "_".
std::string normalisedName(std::string_view text) {
  text = trimmed(text, kWhiteSpace);
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0xC3 && i + 1 < text.size()) {
      if (const char plain = plainOfAccented(static_cast<unsigned char>(text[i + 1]))) {
        name += plain;
        ++i;
        continue;
      }
    }
    if (c == ' ' || c == '-')
      name += '_';
    else
      name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return name;
}

enum class Role { Date, Time, Latitude, Longitude, Distance, Spots, Area, Zurich, McIntosh, Number, Noaa };
constexpr std::size_t kRoles = 11;

struct RoleName {
  Role role;
  std::string_view name;  // normalised
};
constexpr RoleName kRoleNames[] = {
    {Role::Date, "date"},          {Role::Date, "jour"},
    {Role::Time, "time_ut"},       {Role::Time, "time"},          {Role::Time, "ut"},
    {Role::Time, "heure_tu"},      {Role::Time, "heure"},         {Role::Time, "tu"},
    {Role::Latitude, "latitude"},  {Role::Latitude, "lat"},
    {Role::Longitude, "longitude"}, {Role::Longitude, "lon"},
    {Role::Distance, "cmd"},       {Role::Distance, "dmc"},
    {Role::Spots, "spots"},        {Role::Spots, "taches"},
    {Role::Area, "area_msh"},      {Role::Area, "area"},          {Role::Area, "aire_msh"}, {Role::Area, "aire"},
    {Role::Zurich, "zurich"},      {Role::Zurich, "classe_zurich"},
    {Role::McIntosh, "mcintosh"},  {Role::McIntosh, "classe_mcintosh"},
    {Role::Number, "number"},      {Role::Number, "numero"},      {Role::Number, "no"}, {Role::Number, "groupe"},
    {Role::Noaa, "noaa"},          {Role::Noaa, "region"},        {Role::Noaa, "region_noaa"},
    {Role::Noaa, "noaa_region"},
};

// Where each role's column is in a row.
struct Layout {
  std::array<std::optional<std::size_t>, kRoles> at{};
  [[nodiscard]] std::optional<std::size_t> of(Role role) const { return at[static_cast<std::size_t>(role)]; }
  [[nodiscard]] bool has(Role role) const { return of(role).has_value(); }
};

// The layout of a header naming its columns; the reason when it is not one.
std::optional<Layout> layoutOf(const std::vector<std::string>& names, std::string& reason) {
  Layout layout;
  for (std::size_t column = 0; column < names.size(); ++column) {
    const std::string name = normalisedName(names[column]);
    const auto found = std::find_if(std::begin(kRoleNames), std::end(kRoleNames),
                                    [&](const RoleName& known) { return known.name == name; });
    if (found == std::end(kRoleNames)) continue;  // a column of remarks, say
    auto& at = layout.at[static_cast<std::size_t>(found->role)];
    if (at) {
      reason = "l'en-tête nomme deux fois la même colonne, " + quoted(names[column]) + ".";
      return std::nullopt;
    }
    at = column;
  }
  if (!layout.has(Role::Date) || !layout.has(Role::Latitude) ||
      (!layout.has(Role::Longitude) && !layout.has(Role::Distance))) {
    reason = "Ce fichier n'est ni un relevé de taches de Disque ni une liste de groupes : son en-tête ne nomme "
             "pas les colonnes date, latitude et longitude (ou cmd).";
    return std::nullopt;
  }
  return layout;
}

bool namesAre(const std::vector<std::string>& names, std::initializer_list<std::string_view> wanted) {
  if (names.size() != wanted.size()) return false;
  return std::equal(wanted.begin(), wanted.end(), names.begin(),
                    [](std::string_view w, const std::string& n) { return normalisedName(n) == w; });
}

bool namesHold(const std::vector<std::string>& names, std::string_view wanted) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return normalisedName(n) == wanted; });
}

// ---------------------------------------------------------------------------------------
// The values.

// A whole number of at most six digits; none for anything else.
std::optional<int> wholeOf(std::string_view text) {
  text = trimmed(text);
  if (!allDigits(text) || text.size() > 6) return std::nullopt;
  int value = 0;
  for (const char c : text) value = 10 * value + (c - '0');
  return value;
}

// 2023/5/30, 2023-05-30, 2023.5.30, 2023 5 30, or the French 30/05/2023; none for a day
// that is not one.
std::optional<Day> dateOf(std::string_view text) {
  text = trimmed(text, kWhiteSpace);
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && std::string_view("-/. ").find(text[i]) == std::string_view::npos) continue;
    parts.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  if (parts.size() != 3) return std::nullopt;
  const bool yearFirst = parts[0].size() == 4, yearLast = parts[2].size() == 4;
  if (yearFirst == yearLast) return std::nullopt;
  const auto y = wholeOf(parts[yearFirst ? 0 : 2]), m = wholeOf(parts[1]), d = wholeOf(parts[yearFirst ? 2 : 0]);
  if (!y || !m || !d || *y < 1 || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) return std::nullopt;
  return Day{*y, *m, *d};
}

// 09:05, 9:05, 09:05:30 or 9h05, UT, as a fraction of the day; none for anything else.
std::optional<double> timeOf(std::string_view text) {
  text = trimmed(text, kWhiteSpace);
  const std::size_t mark = text.find_first_of(":hH");
  if (mark == std::string_view::npos) return std::nullopt;
  const std::string_view rest = text.substr(mark + 1);
  const std::size_t second = text[mark] == ':' ? rest.find(':') : std::string_view::npos;
  const auto hour = wholeOf(text.substr(0, mark));
  const auto minute = wholeOf(rest.substr(0, second));
  const auto seconds = second == std::string_view::npos ? std::optional<int>(0) : wholeOf(rest.substr(second + 1));
  const bool twoDigits = rest.substr(0, second).size() == 2;
  if (!hour || !minute || !seconds || !twoDigits || *hour > 23 || *minute > 59 || *seconds > 59) return std::nullopt;
  return (*hour * 3600.0 + *minute * 60.0 + *seconds) / 86400.0;
}

enum class Axis { Latitude, Distance, Longitude };

struct AngleField {
  std::string_view name;  // in the messages: "Latitude", "DMC"…
  Axis axis;
  bool signedEastPositive = false;  // an unlettered distance counts east positive
};

struct Angle {
  std::optional<double> degrees;  // none: the field is empty, or `error`
  bool lettered = false;
  bool zero = false;  // 0 at every end: no letter needed
  std::string error;
};

// +1 or -1 for a letter of the axis (north, west positive), 0 for another character.
int signOfLetter(char c, Axis axis) {
  const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  if (axis == Axis::Latitude) return upper == 'N' ? 1 : upper == 'S' ? -1 : 0;
  if (axis == Axis::Distance) return upper == 'W' || upper == 'O' ? 1 : upper == 'E' ? -1 : 0;
  return 0;
}

struct End {
  double value = 0;  // as written, unsigned when lettered
  int letter = 0;    // the letter's sign, 0 without one
};

// One end of a value: a number, with a letter before or after it or a sign.
std::optional<End> endOf(std::string_view text, Axis axis, std::string_view decimal) {
  text = trimmed(text);
  End end;
  if (text.empty()) return std::nullopt;
  if ((end.letter = signOfLetter(text.front(), axis)) != 0)
    text.remove_prefix(1);
  else if ((end.letter = signOfLetter(text.back(), axis)) != 0)
    text.remove_suffix(1);
  text = trimmed(text);
  if (end.letter != 0 && !text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
  const std::optional<double> value = decimalNumber(text, decimal);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  end.value = *value;
  return end;
}

double wrapped360(double degrees) {
  double wrapped = std::fmod(degrees, 360.0);
  if (wrapped < 0) wrapped += 360.0;
  return wrapped >= 360.0 ? 0.0 : wrapped;
}

// Each end signed: a letter on one end serves the other; an unlettered distance of the
// east-positive lists turned round. Empty when the ends do not go together.
bool signEnds(std::vector<End>& ends, const AngleField& field) {
  const auto lettered = std::find_if(ends.begin(), ends.end(), [](const End& e) { return e.letter != 0; });
  for (End& end : ends) {
    if (end.letter == 0 && lettered != ends.end()) {
      if (end.value < 0) return false;
      end.letter = lettered->letter;
    }
    if (end.letter != 0)
      end.value *= end.letter;
    else if (field.signedEastPositive)
      end.value = -end.value;
  }
  return true;
}

// "Latitude : « S95 » dépasse 90°."…: what is wrong with a signed end, empty when nothing.
// A group near the limb is seen a few degrees past 90° from the central meridian when the
// Sun's axis leans toward us, and records that carry a place to 24:00 UT put it further
// still: only past 180° is a distance no place.
std::string boundsProblem(double value, Axis axis) {
  if (axis == Axis::Longitude) return value < 0 || value > 360 ? "hors de 0 à 360°" : "";
  if (axis == Axis::Latitude) return std::abs(value) > 90 ? "dépasse 90°" : "";
  return std::abs(value) > 180 ? "dépasse 180°" : "";
}

// A field of angles: a value or a range a~b, its middle.
Angle angleOf(std::string_view text, const AngleField& field, std::string_view decimal) {
  Angle angle;
  text = trimmed(text, kWhiteSpace);
  if (text.empty()) return angle;
  const auto fail = [&](std::string_view why) {
    angle.error = std::string(field.name) + " : " + quoted(text) + ' ' + std::string(why) + '.';
    return angle;
  };
  if (normalisedName(text) == "nd") return fail("n'est pas déterminée");
  std::vector<End> ends;
  for (std::size_t start = 0, tilde = 0; tilde != std::string_view::npos; start = tilde + 1) {
    tilde = text.find('~', start);
    const std::optional<End> end = endOf(text.substr(start, tilde - start), field.axis, decimal);
    if (!end || ends.size() == 2) return fail("n'est pas un angle en degrés, ni un intervalle a~b");
    ends.push_back(*end);
  }
  angle.lettered = std::any_of(ends.begin(), ends.end(), [](const End& e) { return e.letter != 0; });
  if (!signEnds(ends, field)) return fail("mêle une lettre et un signe");
  for (const End& end : ends)
    if (const std::string problem = boundsProblem(end.value, field.axis); !problem.empty()) return fail(problem);
  angle.zero = std::all_of(ends.begin(), ends.end(), [](const End& e) { return e.value == 0; });
  const double first = ends.front().value, last = ends.back().value;
  angle.degrees = field.axis == Axis::Longitude ? wrapped360(first + std::remainder(last - first, 360.0) / 2)
                                                : (first + last) / 2;
  return angle;
}

// ---------------------------------------------------------------------------------------
// The rows.

struct Row {
  int line = 0;
  const std::vector<std::string>* fields = nullptr;
  [[nodiscard]] std::string_view at(std::optional<std::size_t> column) const {
    if (!column || *column >= fields->size()) return {};
    return trimmed((*fields)[*column], kWhiteSpace);
  }
};

// What one row gives, or why it is refused.
struct Reading {
  GroupList& list;
  std::string decimal;
  void refuse(const Row& row, std::string message) const { list.refusals.push_back({row.line, std::move(message)}); }
};

// A group's place from its latitude, longitude and distance fields; false (refused, said)
// when one is wrong, missing, or lacks the letter its row's others have.
bool placeOf(const Reading& r, const Row& row, ListedGroup& group, std::array<std::string_view, 3> texts,
             std::array<AngleField, 3> fields) {
  std::array<Angle, 3> angles;
  bool good = true;
  for (std::size_t i = 0; i < 3; ++i) {
    angles[i] = angleOf(texts[i], fields[i], r.decimal);
    if (!angles[i].error.empty()) {
      r.refuse(row, angles[i].error);
      good = false;
    }
  }
  if (!good) return false;
  if (!angles[0].degrees) {
    r.refuse(row, std::string(fields[0].name) + " : absente.");
    return false;
  }
  if (!angles[1].degrees && !angles[2].degrees) {
    // The names of the columns the list has: "Longitude", "DMC", or both.
    const bool both = !fields[1].name.empty() && !fields[2].name.empty();
    r.refuse(row, both ? std::string(fields[1].name) + " et " + std::string(fields[2].name) + " : absentes."
                       : std::string(fields[1].name.empty() ? fields[2].name : fields[1].name) + " : absente.");
    return false;
  }
  // The letters' format: a latitude or a distance in letters asks for the other's.
  const bool letters = angles[0].lettered || angles[2].lettered;
  for (const std::size_t i : {std::size_t{0}, std::size_t{2}}) {
    if (!letters || !angles[i].degrees || angles[i].lettered || angles[i].zero) continue;
    r.refuse(row, std::string(fields[i].name) + " : " + quoted(texts[i]) + " sans sa lettre " +
                      (fields[i].axis == Axis::Latitude ? "N ou S" : "E ou W") +
                      ", que demande une ligne écrite en lettres.");
    good = false;
  }
  group.latitude = *angles[0].degrees;
  group.longitude = angles[1].degrees;
  if (group.longitude) group.longitude = wrapped360(*group.longitude);
  group.centralMeridianDistance = angles[2].degrees;
  return good;
}

// An optional whole number of its column; false (refused, said) when not one.
bool wholeField(const Reading& r, const Row& row, std::string_view text, std::string_view name,
                std::optional<int>& value) {
  if (text.empty()) return true;
  value = wholeOf(text);
  if (!value) r.refuse(row, std::string(name) + " : " + quoted(text) + " n'est pas un nombre entier.");
  return value.has_value();
}

// The optional columns of a list: spots, area, classes, numbers.
bool extrasOf(const Reading& r, const Row& row, const Layout& layout, ListedGroup& group) {
  bool good = wholeField(r, row, row.at(layout.of(Role::Spots)), "Taches", group.spots);
  good = wholeField(r, row, row.at(layout.of(Role::Number)), "Numéro", group.number) && good;
  good = wholeField(r, row, row.at(layout.of(Role::Noaa)), "Région NOAA", group.noaaRegion) && good;
  if (const std::string_view area = row.at(layout.of(Role::Area)); !area.empty()) {
    group.areaMsh = decimalNumber(area, r.decimal);
    if (!group.areaMsh || !std::isfinite(*group.areaMsh) || *group.areaMsh < 0) {
      r.refuse(row, "Aire : " + quoted(area) + " n'est pas une aire en MSH.");
      good = false;
    }
  }
  if (const std::string_view zurich = row.at(layout.of(Role::Zurich)); !zurich.empty()) {
    const char letter = zurich.size() == 1 ? static_cast<char>(zurich[0] & ~0x20) : 0;
    if (letter >= 'A' && letter <= 'J') {
      group.zurichClass = letter;
    } else {
      r.refuse(row, "Classe de Zurich : " + quoted(zurich) + " n'est pas une lettre de A à J.");
      good = false;
    }
  }
  if (const std::string_view mcintosh = row.at(layout.of(Role::McIntosh)); !mcintosh.empty()) {
    const bool letters = std::all_of(mcintosh.begin(), mcintosh.end(), [](char c) {
      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    if (letters && mcintosh.size() <= 3) {
      group.mcintoshClass = std::string(mcintosh);
    } else {
      r.refuse(row, "Classe de McIntosh : " + quoted(mcintosh) + " n'est pas une classe de trois lettres.");
      good = false;
    }
  }
  return good;
}

// The date of a row (its time too where the list has one), added to the days covered;
// false (refused, said) when not one.
bool dateAndTime(const Reading& r, const Row& row, const Layout& layout, ListedGroup& group) {
  const std::string_view dateText = row.at(layout.of(Role::Date));
  const std::optional<Day> day = dateOf(dateText);
  if (!day) {
    r.refuse(row, dateText.empty() ? std::string("Date : absente.")
                                   : "Date : " + quoted(dateText) + " n'est pas une date.");
    return false;
  }
  group.date = *day;
  r.list.days.push_back(*day);
  if (const std::string_view timeText = row.at(layout.of(Role::Time)); !timeText.empty()) {
    const std::optional<double> fraction = timeOf(timeText);
    if (!fraction) {
      r.refuse(row, "Heure TU : " + quoted(timeText) + " n'est pas une heure, 09:05 par exemple.");
      return false;
    }
    group.dayFraction = *fraction;
    group.timeGiven = true;
  }
  return true;
}

// Whether a row of a list holds nothing but its date (and time): a day observed without groups.
bool onlyDated(const Row& row, const Layout& layout) {
  for (std::size_t role = 0; role < kRoles; ++role) {
    if (role == static_cast<std::size_t>(Role::Date) || role == static_cast<std::size_t>(Role::Time)) continue;
    const std::string_view text = row.at(layout.at[role]);
    if (!text.empty() && !(role == static_cast<std::size_t>(Role::Spots) && text == "0")) return false;
  }
  return true;
}

void readNamedRow(const Reading& r, const Row& row, const Layout& layout) {
  ListedGroup group;
  group.line = row.line;
  if (!dateAndTime(r, row, layout, group) || onlyDated(row, layout)) return;
  const std::array<std::string_view, 3> texts{row.at(layout.of(Role::Latitude)), row.at(layout.of(Role::Longitude)),
                                              row.at(layout.of(Role::Distance))};
  const std::array<AngleField, 3> fields{AngleField{"Latitude", Axis::Latitude},
                                         AngleField{layout.has(Role::Longitude) ? "Longitude" : "", Axis::Longitude},
                                         AngleField{layout.has(Role::Distance) ? "DMC" : "", Axis::Distance}};
  bool good = placeOf(r, row, group, texts, fields);
  good = extrasOf(r, row, layout, group) && good;
  if (good) r.list.groups.push_back(std::move(group));
}

// Disque's spot rows: a spot with a place is one group of one spot.
void readSpotRow(const Reading& r, const Row& row, const Layout& layout) {
  ListedGroup group;
  group.line = row.line;
  if (!dateAndTime(r, row, layout, group)) return;
  const std::array<std::string_view, 3> texts{row.at(layout.of(Role::Latitude)), row.at(layout.of(Role::Longitude)),
                                              row.at(layout.of(Role::Distance))};
  if (texts[0].empty() || texts[1].empty()) {
    ++r.list.spotsWithoutPlace;
    return;
  }
  const std::array<AngleField, 3> fields{AngleField{"B", Axis::Latitude}, AngleField{"L", Axis::Longitude},
                                         AngleField{"DMC", Axis::Distance}};
  bool good = placeOf(r, row, group, texts, fields);
  good = extrasOf(r, row, layout, group) && good;
  group.spots = 1;
  if (good) r.list.groups.push_back(std::move(group));
}

// The lists whose date is written on a day's first row only.
struct DayFirstState {
  std::optional<Day> day;
  int refusedDateLine = 0;  // the line of the last date refused, while its rows follow
};

// date,no,lat,lon,num: lon is the distance.
Layout dayFirstLayout() {
  Layout layout;
  const auto place = [&layout](Role role, std::size_t column) { layout.at[static_cast<std::size_t>(role)] = column; };
  place(Role::Date, 0);
  place(Role::Number, 1);
  place(Role::Latitude, 2);
  place(Role::Distance, 3);
  place(Role::Spots, 4);
  return layout;
}

void readDayFirstRow(const Reading& r, const Row& row, const Layout& layout, DayFirstState& state) {
  ListedGroup group;
  group.line = row.line;
  if (!row.at(layout.of(Role::Date)).empty()) {
    state.day.reset();
    state.refusedDateLine = row.line;
    if (!dateAndTime(r, row, layout, group)) return;
    state.day = group.date;
  } else if (!state.day) {
    r.refuse(row, state.refusedDateLine > 0 ? "Date : celle de la ligne " + std::to_string(state.refusedDateLine) +
                                                  ", que cette ligne reprend, est refusée."
                                            : std::string("Date : absente, et aucune ligne avant celle-ci n'en donne."));
    return;
  }
  group.date = *state.day;
  if (!wholeField(r, row, row.at(layout.of(Role::Number)), "Numéro (no)", group.number)) return;
  if (group.number == 0) return;  // observed, no spots
  const std::array<std::string_view, 3> texts{row.at(layout.of(Role::Latitude)), std::string_view(),
                                              row.at(layout.of(Role::Distance))};
  const std::array<AngleField, 3> fields{AngleField{"Latitude", Axis::Latitude}, AngleField{"", Axis::Longitude},
                                         AngleField{"Longitude", Axis::Distance, true}};
  bool good = placeOf(r, row, group, texts, fields);
  good = wholeField(r, row, row.at(layout.of(Role::Spots)), "Taches (num)", group.spots) && good;
  if (good) r.list.groups.push_back(std::move(group));
}

// The header's kind and layout; none when it is none of the lists (refused, said).
std::optional<Layout> kindOf(const std::vector<std::string>& names, GroupList& list) {
  if (namesAre(names, {"date", "no", "lat", "lon", "num"})) {
    list.kind = GroupListKind::DayFirstRows;
    return dayFirstLayout();
  }
  std::string reason;
  std::optional<Layout> layout;
  if (namesHold(names, normalisedName(spot_columns::kLatitude)) &&
      namesHold(names, normalisedName(spot_columns::kLongitude))) {
    list.kind = GroupListKind::DisqueSpots;
    std::vector<std::string> renamed;
    for (const std::string& name : names) {
      const std::string n = normalisedName(name);
      renamed.push_back(n == "b_deg" ? "latitude" : n == "l_deg" ? "longitude" : n == "dmc_deg" ? "dmc" : n);
    }
    layout = layoutOf(renamed, reason);
  } else {
    list.kind = GroupListKind::NamedColumns;
    layout = layoutOf(names, reason);
  }
  if (!layout) list.refusals.push_back({1, reason});
  return layout;
}

}  // namespace

std::string_view groupListKindText(GroupListKind kind) noexcept {
  switch (kind) {
    case GroupListKind::DisqueSpots: return "relevé de taches de Disque, chaque tache prise pour un groupe";
    case GroupListKind::DayFirstRows: return "liste de groupes date,no,lat,lon,num";
    case GroupListKind::NamedColumns: break;
  }
  return "liste de groupes à colonnes nommées";
}

bool isGroupList(std::string_view text) {
  text = csv::withoutByteOrderMark(text);
  csv::Reader reader(text, csv::formatOfHeader(text).separator);
  csv::Reader::Record header;
  if (!reader.next(header)) return false;
  return namesHold(header.fields, "date") || namesHold(header.fields, "jour") ||
         namesHold(header.fields, normalisedName(spot_columns::kLatitude));
}

GroupList readGroupList(std::string_view text) {
  GroupList list;
  text = csv::withoutByteOrderMark(text);
  const csv::Format format = csv::formatOfHeader(text);
  csv::Reader reader(text, format.separator);
  csv::Reader::Record record;
  if (!reader.next(record)) {
    list.refusals.push_back({1, "Le fichier est vide."});
    return list;
  }
  const std::optional<Layout> layout = kindOf(record.fields, list);
  if (!layout) return list;
  list.recognised = true;
  const Reading reading{list, std::string(1, format.decimal)};
  DayFirstState state;
  while (reader.next(record)) {
    if (record.blank) continue;
    const Row row{record.line, &record.fields};
    if (record.unclosedQuote || record.tooLong) {
      reading.refuse(row, record.unclosedQuote ? "un guillemet ouvert n'est pas fermé." : "un champ est trop long.");
      continue;
    }
    if (list.kind == GroupListKind::DayFirstRows)
      readDayFirstRow(reading, row, *layout, state);
    else if (list.kind == GroupListKind::DisqueSpots)
      readSpotRow(reading, row, *layout);
    else
      readNamedRow(reading, row, *layout);
  }
  std::sort(list.days.begin(), list.days.end());
  list.days.erase(std::unique(list.days.begin(), list.days.end()), list.days.end());
  return list;
}

std::optional<double> carringtonOfDistance(Day date, double dayFraction, double centralMeridianDistance) noexcept {
  const DateTime when{static_cast<double>(date.day), static_cast<double>(date.month), static_cast<double>(date.year),
                      24.0 * dayFraction, 0};
  const std::optional<DiscOrientation> disc = preciseDiscOrientation(julianDay(when, CenturyCut::Floor));
  if (!disc || !std::isfinite(centralMeridianDistance)) return std::nullopt;
  return wrapped360(disc->l0 + centralMeridianDistance);
}

void placeGroups(GroupList& list, double usualDayFraction) {
  std::vector<ListedGroup> placed;
  placed.reserve(list.groups.size());
  for (ListedGroup& group : list.groups) {
    if (!group.timeGiven) group.dayFraction = usualDayFraction;
    if (!group.longitude && group.centralMeridianDistance) {
      group.longitude = carringtonOfDistance(group.date, group.dayFraction, *group.centralMeridianDistance);
      if (!group.longitude) {
        list.refusals.push_back({group.line, "Longitude : l'éphéméride ne donne pas le méridien central le " +
                                                 dayText(group.date) + "."});
        continue;
      }
    }
    placed.push_back(std::move(group));
  }
  list.groups = std::move(placed);
  std::stable_sort(list.refusals.begin(), list.refusals.end(),
                   [](const Refusal& a, const Refusal& b) { return a.line < b.line; });
}

}  // namespace kavrel::journal
