// The rows whose transcription holds the typed sounds in order (what the loose pattern of
// the search by sound finds), each with a key that puts the closest first: the same sounds
// (stress and length marks aside) first, then the fewest sounds the learner did not type,
// then the table's order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SoundRows;
namespace quorvi::engine {
class SoundGroupReader;
}

struct RankedRow {
  std::uint64_t key;  // smaller comes first
  std::uint32_t row;
};

// The key of a row for what was typed (codes without stress marks), below the rank `tier`
// (0 for rows found as typed, the allowances used for near-sound rows): the same sounds
// first, among them those with the same long vowels; then the fewest sounds the learner did
// not type; then plain lower-case words ahead of names, numbers and phrases; then the row.
std::uint64_t closenessKey(int tier, std::string_view typedCodes, int typedSounds,
                           const SoundRows& rows, std::uint32_t row);
// The same for a row of `sounds` sounds, `codes`, and a plain word or not.
std::uint64_t closenessKey(int tier, std::string_view typedCodes, int typedSounds, int sounds,
                           std::string_view codes, bool plainWord, std::uint32_t row);
// The sounds in `codes`, marks aside.
int soundCount(std::string_view codes);

// The loose pattern "piece.*piece.*" as pieces of codes.
std::vector<std::string> patternPieces(const std::string& pattern);

// Appends the rows matching `pieces` and marks them in `matched` (sized to the rows): all of
// them, or at least the closest `enough` headwords' (SIZE_MAX: all). They come in key order.
void collectExactRows(const SoundRows& rows, const std::vector<std::string>& pieces,
                      std::string_view typedCodes, std::size_t enough, std::vector<RankedRow>& out,
                      std::vector<bool>& matched);
// The same rows from the groups stored by sound count (engine/sound_group_reader.h), reading
// only the groups it needs, and none that would take the rows looked at past `rowBudget` or
// that the pace of finding so far says would not find enough within it (then fewer than
// `enough` headwords may be found); nothing is marked. False when a group
// cannot be read.
bool collectExactRows(quorvi::engine::SoundGroupReader& groups,
                      const std::vector<std::string>& pieces, std::string_view typedCodes,
                      std::size_t enough, std::size_t rowBudget, std::vector<RankedRow>& out);
