// A journal's observations as a network's rows (see from_journal.h).
#include "reseau/from_journal.h"

#include "common/sha256.h"
#include "journal/month.h"

namespace kavrel::reseau {

std::string instrumentOf(const journal::Observer& observer) {
  std::string text;
  if (observer.apertureMm) text = "R " + std::to_string(*observer.apertureMm);
  if (observer.focalLengthMm) text += (text.empty() ? "f " : "/") + std::to_string(*observer.focalLengthMm);
  const char* method = nullptr;
  switch (observer.method) {
    case journal::Method::Projection: method = "projection"; break;
    case journal::Method::FilterView: method = "filtre"; break;
    case journal::Method::Photograph: method = "photo"; break;
    case journal::Method::Unknown: break;
  }
  if (method) text += (text.empty() ? "" : " ") + std::string(method);
  return text;
}

std::vector<TableRow> rowsOfJournal(const std::vector<journal::Observation>& observations,
                                    const journal::Observer& observer) {
  std::vector<TableRow> rows;
  const std::string instrument = instrumentOf(observer);
  for (const journal::Observation& day : journal::observationsOfDays(observations)) {
    NetworkObservation row{observer.code, instrument, day.date, day.time, day.seeing, day.counts.disc,
                           day.counts.north, day.counts.south};
    rows.push_back({0, std::move(row)});
  }
  return rows;
}

std::string rowsChecksum(const std::vector<TableRow>& rows) {
  std::string text;
  const auto number = [&text](int value) { text += std::to_string(value) + ';'; };
  for (const TableRow& row : rows) {
    const NetworkObservation& o = row.observation;
    text += o.observer + ';' + o.instrument + ';';
    number(dayNumber(o.date));
    number(o.time ? o.time->hour * 60 + o.time->minute : -1);
    number(o.quality.value_or(-1));
    number(o.disc.groups);
    number(o.disc.spots);
    for (const auto& part : {o.north, o.south}) {
      number(part ? part->groups : -1);
      number(part ? part->spots : -1);
    }
    text += '\n';
  }
  return sha256Hex(text);
}

}  // namespace kavrel::reseau
