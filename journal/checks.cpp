#include "journal/checks.h"

#include <cstdio>
#include <string_view>

#include "common/calendar_date.h"

namespace kavrel::journal {
namespace {

void checkScale(const std::optional<int>& value, std::string_view field, std::vector<std::string>& problems) {
  if (value && (*value < 1 || *value > 5))
    problems.push_back(std::string(field) + " : de 1 à 5, 5 le meilleur (lu " + std::to_string(*value) + ").");
}

}  // namespace

// The checks of one pair g, f, named as the form names them ("g nord", "f nord").
void checkCounts(Counts counts, std::string_view where, std::vector<std::string>& problems) {
  const std::string suffix = where.empty() ? std::string() : " " + std::string(where);
  const std::string g = "g" + suffix;
  const std::string f = "f" + suffix;
  if (counts.groups < 0) problems.push_back(g + " : le nombre de groupes ne peut être négatif.");
  if (counts.spots < 0) problems.push_back(f + " : le nombre de taches ne peut être négatif.");
  if (counts.groups > kMostCount) problems.push_back(g + " : au plus 999 999 groupes.");
  if (counts.spots > kMostCount) problems.push_back(f + " : au plus 999 999 taches.");
  if (counts.groups < 0 || counts.spots < 0 || counts.groups > kMostCount || counts.spots > kMostCount) return;
  if (counts.spots < counts.groups)
    problems.push_back(f + " : chaque groupe a au moins une tache (f = " + std::to_string(counts.spots) +
                       " est inférieur à g = " + std::to_string(counts.groups) + ").");
  else if (counts.groups == 0 && counts.spots > 0)
    problems.push_back(g + " : des taches sans groupe (g = 0 et f = " + std::to_string(counts.spots) +
                       ") ; une tache isolée est un groupe.");
}

void checkDate(Day date, Day today, std::vector<std::string>& problems) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > daysInMonth(date.year, date.month) ||
      date.year < 1600) {
    char typed[48];
    std::snprintf(typed, sizeof typed, "%d/%d/%d", date.day, date.month, date.year);
    problems.push_back(std::string("Date : le ") + typed +
                       (date.year < 1600 ? " est avant 1600." : " n'existe pas."));
  } else if (date > today) {
    problems.push_back("Date : le " + dayText(date) + " est après aujourd'hui.");
  }
}

void checkTime(TimeOfDay time, std::vector<std::string>& problems) {
  if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59) {
    char typed[32];
    std::snprintf(typed, sizeof typed, "%d:%02d", time.hour, time.minute);
    problems.push_back(std::string("Heure TU : ") + typed + " n'existe pas ; de 0:00 à 23:59.");
  }
}

void checkScales(const Observation& observation, std::vector<std::string>& problems) {
  checkScale(observation.seeing, "Seeing", problems);
  checkScale(observation.transparency, "Transparence", problems);
}

void checkTally(const Tally& counts, std::vector<std::string>& problems) {
  if (counts.north.has_value() != counts.south.has_value()) {
    problems.push_back(std::string(counts.north ? "Sud" : "Nord") +
                       " : comptez les deux hémisphères, ou le disque entier seul.");
    return;
  }
  if (counts.split()) {
    checkCounts(*counts.north, "nord", problems);
    checkCounts(*counts.south, "sud", problems);
    // In long long: counts refused above as too large must not overflow here.
    const long long groups = 0LL + counts.north->groups + counts.south->groups;
    const long long spots = 0LL + counts.north->spots + counts.south->spots;
    if (groups != counts.disc.groups)
      problems.push_back("g disque : nord et sud font " + std::to_string(groups) + " groupes, le disque " +
                         std::to_string(counts.disc.groups) + ".");
    if (spots != counts.disc.spots)
      problems.push_back("f disque : nord et sud font " + std::to_string(spots) + " taches, le disque " +
                         std::to_string(counts.disc.spots) + ".");
  } else {
    checkCounts(counts.disc, "disque", problems);
  }
}

std::vector<std::string> checkObservation(const Observation& observation, Day today) {
  std::vector<std::string> problems;
  checkDate(observation.date, today, problems);
  checkTime(observation.time, problems);
  checkScales(observation, problems);
  checkTally(observation.counts, problems);
  return problems;
}

std::vector<std::string> checkUnobservedDay(const UnobservedDay& day, Day today) {
  std::vector<std::string> problems;
  checkDate(day.date, today, problems);
  if (day.time) checkTime(*day.time, problems);
  return problems;
}

std::vector<std::string> checkGroup(const Group& group) {
  std::vector<std::string> problems;
  if (group.number < 0) problems.push_back("Numéro : un nombre entier positif.");
  if (group.noaaRegion && *group.noaaRegion <= 0) problems.push_back("Région NOAA : un nombre entier positif.");
  if (group.spots < 0) problems.push_back("Taches : le nombre de taches ne peut être négatif.");
  if (group.areaMsh && *group.areaMsh < 0) problems.push_back("Aire : une aire ne peut être négative.");
  if (group.latitude && (*group.latitude < -90 || *group.latitude > 90))
    problems.push_back("B : une latitude de -90° à 90°.");
  if (group.longitude && (*group.longitude < 0 || *group.longitude >= 360))
    problems.push_back("L : une longitude de 0° à 360°.");
  if (group.zurichClass) {
    const char zurich = *group.zurichClass;
    if (zurich < 'A' || zurich > 'J')
      problems.push_back("Classe : une lettre de A à J.");
    else if ((zurich == 'A' || zurich == 'H' || zurich == 'J') && group.spots < 1)
      problems.push_back(std::string("Classe : un groupe de classe ") + zurich + " a au moins une tache.");
    else if (zurich == 'B' && group.spots < 2)
      problems.push_back("Classe : un groupe de classe B a au moins deux taches.");
  }
  return problems;
}

}  // namespace kavrel::journal
