#include "engine/closest_match.h"
#include "engine/pieces_in_order.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/sound_code.h"
#include "engine/sound_group_reader.h"
#include "engine/sound_rows.h"

namespace {

bool isStress(char c) {
  return c == sound::kPrimaryStress || c == sound::kSecondaryStress;
}

// True when `a` and `b` are equal once the codes `skip` accepts are left out of both.
bool equalSkipping(std::string_view a, std::string_view b, bool (*skip)(char)) {
  size_t i = 0, j = 0;
  while (true) {
    while (i < a.size() && skip(a[i])) ++i;
    while (j < b.size() && skip(b[j])) ++j;
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (a[i++] != b[j++]) return false;
  }
}

// Puts the rows of one sound count, found in table order, into key order: within a count
// the key differs only in three flags, so a stable distribution by them is a sort.
void orderGroup(std::vector<RankedRow>& out, std::size_t from) {
  const auto flags = [](const RankedRow& r) {
    return static_cast<unsigned>(((r.key >> 55) & 6u) | ((r.key >> 32) & 1u));
  };
  std::array<std::size_t, 9> starts{};
  for (std::size_t i = from; i < out.size(); ++i) ++starts[flags(out[i]) + 1];
  if (starts[1] == out.size() - from) return;  // all alike: already in order
  for (std::size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
  std::vector<RankedRow> ordered(out.size() - from);
  for (std::size_t i = from; i < out.size(); ++i) ordered[starts[flags(out[i])]++] = out[i];
  std::copy(ordered.begin(), ordered.end(), out.begin() + static_cast<std::ptrdiff_t>(from));
}

}  // namespace

std::uint64_t closenessKey(int tier, std::string_view typedCodes, int typedSounds, int sounds,
                           std::string_view codes, bool plainWord, std::uint32_t row) {
  // Only a row of as many sounds can hold the same ones.
  const bool same = sounds == typedSounds && equalSkipping(codes, typedCodes, sound::isMark);
  const bool sameLength = same && equalSkipping(codes, typedCodes, isStress);
  const std::uint64_t untyped = static_cast<std::uint64_t>(std::max(sounds - typedSounds, 0));
  return (static_cast<std::uint64_t>(tier) << 58) | (std::uint64_t{same ? 0u : 1u} << 57) |
         (std::uint64_t{sameLength ? 0u : 1u} << 56) | (untyped << 33) |
         (std::uint64_t{plainWord ? 0u : 1u} << 32) | row;
}

std::uint64_t closenessKey(int tier, std::string_view typedCodes, int typedSounds,
                           const SoundRows& rows, std::uint32_t row) {
  return closenessKey(tier, typedCodes, typedSounds, rows.soundCount(row), rows.codes(row),
                      rows.isPlainWord(row), row);
}

int soundCount(std::string_view codes) {
  return static_cast<int>(
      std::count_if(codes.begin(), codes.end(), [](char c) { return !sound::isMark(c); }));
}

std::vector<std::string> patternPieces(const std::string& pattern) {
  std::vector<std::string> pieces;
  std::string_view rest(pattern);
  while (!rest.empty()) {
    const size_t wildcard = rest.find(".*");
    const std::string_view piece = rest.substr(0, wildcard);
    if (!piece.empty()) pieces.push_back(sound::fromStored(piece));
    if (wildcard == std::string_view::npos) break;
    rest.remove_prefix(wildcard + 2);
  }
  return pieces;
}

namespace {

// The rows of one sound count in the index, in table order.
class IndexGroup {
 public:
  IndexGroup(const SoundRows& rows, int count)
      : rows_(rows),
        list_(rows.rowsWithSoundCount(count)),
        signatures_(rows.signaturesWithSoundCount(count)) {}
  std::size_t size() const { return list_.size(); }
  std::uint32_t row(std::size_t i) const { return list_[i]; }
  std::uint32_t headword(std::size_t i) const { return rows_.headword(list_[i]); }
  bool isPlainWord(std::size_t i) const { return rows_.isPlainWord(list_[i]); }
  std::string_view codes(std::size_t i) const { return rows_.codes(list_[i]); }
  bool mayHold(std::size_t i, std::uint64_t required) const {
    const std::uint64_t signature =
        signatures_.empty() ? rows_.signature(list_[i]) : signatures_[i];
    return (signature & required) == required;
  }

 private:
  const SoundRows& rows_;
  std::span<const std::uint32_t> list_;
  std::span<const std::uint64_t> signatures_;  // in the list's order, when laid out so
};

// The same rows as stored apart.
class StoredGroup {
 public:
  explicit StoredGroup(const quorvi::engine::SoundCountGroup& group) : group_(group) {}
  std::size_t size() const { return group_.size(); }
  std::uint32_t row(std::size_t i) const { return group_.row(i); }
  std::uint32_t headword(std::size_t i) const { return group_.headword(i); }
  bool isPlainWord(std::size_t i) const { return group_.isPlainWord(i); }
  std::string_view codes(std::size_t i) const { return group_.codes(i); }
  bool mayHold(std::size_t, std::uint64_t) const { return true; }

 private:
  const quorvi::engine::SoundCountGroup& group_;
};

// Appends the matches of the groups `groupOf(count)` gives (false: one cannot be read) from
// the typed sound count on, in key order, until `enough` headwords are found, or the next
// group would take the rows looked at past `budget` (`rowsIn(count)`: a group's size), or the
// pace of finding says the budget will not do.
// `onMatch` hears of every matching row. False when a group could not be read.
template <typename GroupOf, typename RowsIn, typename OnMatch>
bool collectFromGroups(GroupOf groupOf, RowsIn rowsIn, std::size_t budget, std::size_t rowCount,
                       const std::vector<std::string>& pieces, std::string_view typedCodes,
                       std::size_t enough, std::vector<RankedRow>& out, OnMatch onMatch) {
  std::uint64_t required = 0;
  for (const std::string& piece : pieces) required |= sound::signature(piece);
  const int typedSounds = soundCount(typedCodes);
  std::vector<bool> headwordSeen(rowCount, false);
  std::size_t headwords = 0;
  // A row holds at least the typed sounds; every row of more sounds ranks after every row of
  // fewer, so once enough headwords are found the longer rows need not be read.
  std::size_t looked = 0;
  for (int count = typedSounds; count <= 255 && headwords < enough; ++count) {
    looked += rowsIn(count);
    if (looked > budget) break;
    const std::size_t groupStart = out.size();
    const auto group = groupOf(count);
    if (!group) return false;
    for (std::size_t i = 0; i < group->size(); ++i) {
      if (!group->mayHold(i, required) || !holdsInOrder(group->codes(i), pieces)) continue;
      const std::uint32_t row = group->row(i);
      onMatch(row);
      out.push_back({closenessKey(0, typedCodes, typedSounds, count, group->codes(i),
                                  group->isPlainWord(i), row),
                     row});
      if (!headwordSeen[group->headword(i)]) {
        headwordSeen[group->headword(i)] = true;
        ++headwords;
      }
    }
    orderGroup(out, groupStart);
    // Once an eighth of the budget is looked at, give up early when even four times the pace
    // so far would not find enough within the budget: a rare sequence of sounds.
    if (budget != SIZE_MAX && looked >= budget / 8 &&
        static_cast<double>(headwords) * 4 * static_cast<double>(budget) <
            static_cast<double>(enough) * static_cast<double>(looked))
      break;
  }
  return true;
}

}  // namespace

void collectExactRows(const SoundRows& rows, const std::vector<std::string>& pieces,
                      std::string_view typedCodes, std::size_t enough, std::vector<RankedRow>& out,
                      std::vector<bool>& matched) {
  collectFromGroups(
      [&rows](int count) { return std::optional<IndexGroup>(std::in_place, rows, count); },
      [](int) { return std::size_t{0}; }, SIZE_MAX, rows.size(), pieces, typedCodes, enough, out,
      [&matched](std::uint32_t row) { matched[row] = true; });
}

bool collectExactRows(quorvi::engine::SoundGroupReader& groups,
                      const std::vector<std::string>& pieces, std::string_view typedCodes,
                      std::size_t enough, std::size_t rowBudget, std::vector<RankedRow>& out) {
  return collectFromGroups(
      [&groups](int count) {
        const quorvi::engine::SoundCountGroup* group = groups.group(count);
        return group ? std::optional<StoredGroup>(std::in_place, *group) : std::nullopt;
      },
      [&groups](int count) { return std::size_t{groups.groupRows(count)}; }, rowBudget,
      groups.indexRows(), pieces, typedCodes, enough, out, [](std::uint32_t) {});
}
