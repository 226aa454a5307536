// An observer's list of groups made of arbitrary bytes, read as Disque's spots, a list
// naming its columns or a list dated on a day's first row (the header tells which), then
// placed in Carrington longitude at an hour taken from the bytes.
//
// Whatever the bytes, the reading ends; a file none of the lists is refused at line 1 and
// keeps nothing; every refusal names a line of the file and says why in UTF-8; every group
// kept is on a real day the list covers, at a latitude on the Sun, a distance on the
// visible disc and a longitude within 0..360, and once placed every group with a distance
// has its longitude.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/calendar_date.h"
#include "fuzz_support.h"
#include "journal/group_list.h"

using kavrel::fuzz::isUtf8;
using kavrel::fuzz::require;
namespace journal = kavrel::journal;

namespace {

bool realDay(journal::Day day) {
  return day.year >= 1 && day.year <= 9999 && day.month >= 1 && day.month <= 12 && day.day >= 1 &&
         day.day <= kavrel::daysInMonth(day.year, day.month);
}

void requireSound(const journal::GroupList& list, long long lines) {
  for (const journal::Refusal& refusal : list.refusals) {
    require(refusal.line >= 1 && refusal.line <= lines);
    require(isUtf8(refusal.message) && !refusal.message.empty());
  }
  require(std::is_sorted(list.days.begin(), list.days.end()));
  require(std::adjacent_find(list.days.begin(), list.days.end()) == list.days.end());
  for (const journal::ListedGroup& group : list.groups) {
    require(realDay(group.date) && std::binary_search(list.days.begin(), list.days.end(), group.date));
    require(group.line >= 2 && group.line <= lines);
    require(group.latitude >= -90 && group.latitude <= 90);
    require(!group.longitude || (*group.longitude >= 0 && *group.longitude < 360));
    require(!group.centralMeridianDistance ||
            (*group.centralMeridianDistance >= -180 && *group.centralMeridianDistance <= 180));
    require(group.dayFraction >= 0 && group.dayFraction < 1);
    require(!group.spots || *group.spots >= 0);
    require(!group.areaMsh || *group.areaMsh >= 0);
    require(isUtf8(group.mcintoshClass));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte is the usual hour, in 10-minute steps.
  const double usual = (data[0] % 144) / 144.0;
  const std::string_view text = kavrel::fuzz::bytesAsText(data + 1, size - 1);
  const long long lines = 1 + std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
  journal::GroupList list = journal::readGroupList(text);
  require(isUtf8(journal::groupListKindText(list.kind)));
  if (!list.recognised) {
    require(list.groups.empty() && list.days.empty());
    require(list.refusals.size() == 1 && list.refusals.front().line == 1);
    return 0;
  }
  require(journal::isGroupList(text));
  requireSound(list, lines);
  const std::size_t read = list.groups.size();
  journal::placeGroups(list, usual);
  requireSound(list, lines);
  require(list.groups.size() <= read);
  for (const journal::ListedGroup& group : list.groups) {
    require(group.longitude || !group.centralMeridianDistance);
    require(group.timeGiven || group.dayFraction == usual);
  }
  return 0;
}
