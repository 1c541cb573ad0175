#include "engine/table_sound_groups.h"

#include <sqlite3.h>

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/learner_input.h"
#include "engine/sound_alignment.h"
#include "engine/sound_code.h"
#include "engine/unicode_text.h"

namespace quorvi::engine {
namespace {

// The rows the search statement reads with the empty pattern, which accepts exactly the rows
// whose transcription is not NULL, in the same table access and order: the unary + keeps the
// condition off any index, as a REGEXP condition is.
const char kRowsSql[] = "SELECT w_caption, w_phonetic FROM dict_word WHERE +w_phonetic IS NOT NULL";
// The same rows with their American transcriptions, where the dictionary stores them.
const char kRowsWithAmericanSql[] =
    "SELECT w_caption, w_phonetic, w_phonetic_us, w_us_by_machine FROM dict_word"
    " WHERE +w_phonetic IS NOT NULL";

// Whether the American transcriptions espeak-ng made (no source had the word) give entries:
// they are the data's lesser trust, and with them the learners' lists were found no better,
// with 63% more American entries to weigh.
constexpr bool kMachineMadeAmericanEntries = false;

std::string_view columnBytes(sqlite3_stmt* statement, int column) {
  const char* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return value
             ? std::string_view(value, static_cast<size_t>(sqlite3_column_bytes(statement, column)))
             : std::string_view();
}

using Tokens = std::array<std::uint8_t, sound::TypedSounds::kMaxRow>;

// The tokens of table symbols, at most kMaxRow of them.
std::size_t tokensOf(std::u16string_view symbols, Tokens& tokens) {
  return std::min(sound::tokenize(sound::fromSymbols(symbols), tokens.data(), tokens.size()),
                  tokens.size());
}

// The American sounds of a row, read as a learner's typed text is, when a search would not
// find the row by them through its British sounds: they differ from the British ones in more
// than the American hearing of a typed text undoes (americanAsBritish) and a vowel's length,
// which costs a search almost nothing; none otherwise.
std::size_t americanOnlySounds(std::string_view ipa, std::span<const std::uint8_t> british,
                               Tokens& tokens) {
  if (ipa.empty()) return 0;
  const std::u16string symbols = readLearnerInput(utf16FromUtf8(ipa)).symbols;
  if (symbols.empty()) return 0;
  const auto same = [&](std::u16string_view heard) {
    Tokens as;
    const std::size_t n = tokensOf(heard, as);
    return std::equal(
        as.begin(), as.begin() + static_cast<std::ptrdiff_t>(n), british.begin(), british.end(),
        [](std::uint8_t a, std::uint8_t b) { return sound::baseToken(a) == sound::baseToken(b); });
  };
  if (same(symbols) || same(americanAsBritish(symbols, false)) ||
      same(americanAsBritish(symbols, true)))
    return 0;
  return tokensOf(symbols, tokens);
}

}  // namespace

bool makeSoundGroups(sqlite3* db, SoundGroups& groups, const std::atomic<bool>* stop) {
  groups = SoundGroups();
  sqlite3_stmt* statement = nullptr;
  // A dictionary built before the American transcriptions has only the British.
  const bool american =
      sqlite3_prepare_v2(db, kRowsWithAmericanSql, -1, &statement, nullptr) == SQLITE_OK;
  if (!american && sqlite3_prepare_v2(db, kRowsSql, -1, &statement, nullptr) != SQLITE_OK)
    return false;
  // The first row of each headword, by its text as the learner's search shows it.
  std::unordered_map<std::string, std::uint32_t> firstRows;
  // By count and band, every band a table can take; cut to the bands the rows took.
  std::vector<SoundGroupWriter> all(static_cast<std::size_t>(kMaxSoundCount + 1) * kMaxBands);
  std::uint32_t row = 0;
  std::uint32_t americanRows = 0;
  // Where each row's British entry is in `all`, for its American entry's place.
  std::vector<std::uint32_t> slotOfRow, indexOfRow;
  Tokens tokens, americanTokens;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (stop != nullptr && *stop) break;
    // A row whose headword is NULL is in no group, and takes no number: no search lists it.
    if (sqlite3_column_type(statement, 0) == SQLITE_NULL) continue;
    std::string_view caption = columnBytes(statement, 0);
    caption = caption.substr(0, caption.find('\0'));
    const std::uint32_t first = firstRows.try_emplace(std::string(caption), row).first->second;
    const std::size_t n = std::min(
        sound::tokenize(sound::fromStored(columnBytes(statement, 1)), tokens.data(), tokens.size()),
        tokens.size());
    const std::span<const std::uint8_t> sounds(tokens.data(), n);
    const bool plainWord = isPlainWordCaption(caption);
    const auto slotOf = [&](std::span<const std::uint8_t> of) {
      return static_cast<std::size_t>(soundCount(of)) * kMaxBands +
             static_cast<std::size_t>(bandOf(row));
    };
    SoundGroupWriter& group = all[slotOf(sounds)];
    slotOfRow.push_back(static_cast<std::uint32_t>(slotOf(sounds)));
    indexOfRow.push_back(static_cast<std::uint32_t>(group.size()));
    group.append(row, first, plainWord, sounds, caption);
    if (american && (kMachineMadeAmericanEntries || sqlite3_column_int(statement, 3) == 0)) {
      const std::size_t m = americanOnlySounds(columnBytes(statement, 2), sounds, americanTokens);
      if (m != 0) {
        const std::span<const std::uint8_t> heard(americanTokens.data(), m);
        all[slotOf(heard)].appendAmerican(row, first, plainWord, heard);
        ++americanRows;
      }
    }
    ++row;
  }
  sqlite3_finalize(statement);
  if (rc != SQLITE_DONE) return false;
  groups.directory = SoundGroupDirectory(row);
  groups.directory.americanRows = americanRows;
  // Where each group of `all` starts among the places of the store.
  std::vector<std::uint32_t> starts(all.size(), 0);
  std::uint32_t place = 0;
  for (int count = 0; count <= kMaxSoundCount; ++count)
    for (int band = 0; band < groups.directory.bands; ++band) {
      const std::size_t at = static_cast<std::size_t>(count) * kMaxBands + band;
      starts[at] = place;
      place += static_cast<std::uint32_t>(all[at].size());
    }
  for (int count = 0; count <= kMaxSoundCount; ++count)
    for (int band = 0; band < groups.directory.bands; ++band) {
      SoundGroupWriter& group = all[static_cast<std::size_t>(count) * kMaxBands + band];
      group.setBritishPlaces(
          [&](std::uint32_t of) { return starts[slotOfRow[of]] + indexOfRow[of]; });
      groups.directory.rowsOf(count, band) = static_cast<std::uint32_t>(group.size());
      groups.groups.push_back(std::move(group));
    }
  return true;
}

}  // namespace quorvi::engine
