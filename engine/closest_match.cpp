#include "engine/closest_match.h"
#include "engine/pieces_in_order.h"

#include <algorithm>
#include <array>

#include "engine/sound_code.h"
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

std::uint64_t closenessKey(int tier, std::string_view typedCodes, int typedSounds,
                           const SoundRows& rows, std::uint32_t row) {
  const int sounds = rows.soundCount(row);
  // Only a row of as many sounds can hold the same ones.
  const bool same =
      sounds == typedSounds && equalSkipping(rows.codes(row), typedCodes, sound::isMark);
  const bool sameLength = same && equalSkipping(rows.codes(row), typedCodes, isStress);
  const std::uint64_t untyped = static_cast<std::uint64_t>(std::max(sounds - typedSounds, 0));
  return (static_cast<std::uint64_t>(tier) << 58) | (std::uint64_t{same ? 0u : 1u} << 57) |
         (std::uint64_t{sameLength ? 0u : 1u} << 56) | (untyped << 33) |
         (std::uint64_t{rows.isPlainWord(row) ? 0u : 1u} << 32) | row;
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

void collectExactRows(const SoundRows& rows, const std::vector<std::string>& pieces,
                      std::string_view typedCodes, std::size_t enough, std::vector<RankedRow>& out,
                      std::vector<bool>& matched) {
  std::uint64_t required = 0;
  for (const std::string& piece : pieces) required |= sound::signature(piece);
  const int typedSounds = soundCount(typedCodes);
  std::vector<bool> headwordSeen(rows.size(), false);
  std::size_t headwords = 0;
  // A row holds at least the typed sounds; every row of more sounds ranks after every row of
  // fewer, so once enough headwords are found the longer rows need not be read.
  for (int count = typedSounds; count <= 255 && headwords < enough; ++count) {
    const std::size_t groupStart = out.size();
    for (const std::uint32_t row : rows.rowsWithSoundCount(count)) {
      if ((rows.signature(row) & required) != required) continue;
      if (!holdsInOrder(rows.codes(row), pieces)) continue;
      matched[row] = true;
      out.push_back({closenessKey(0, typedCodes, typedSounds, rows, row), row});
      if (!headwordSeen[rows.headword(row)]) {
        headwordSeen[rows.headword(row)] = true;
        ++headwords;
      }
    }
    orderGroup(out, groupStart);
  }
}
