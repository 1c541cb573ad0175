#include "engine/table_sound_groups.h"

#include <sqlite3.h>

#include <array>
#include <string_view>

#include <QHash>
#include <QString>

#include "engine/sound_alignment.h"
#include "engine/sound_code.h"

namespace quorvi::engine {
namespace {

// The rows the search statement reads with the empty pattern, which accepts exactly the rows
// whose transcription is not NULL, in the same table access and order: the unary + keeps the
// condition off any index, as a REGEXP condition is.
const char kRowsSql[] = "SELECT w_caption, w_phonetic FROM dict_word WHERE +w_phonetic IS NOT NULL";

std::string_view columnBytes(sqlite3_stmt* statement, int column) {
  const char* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return value
             ? std::string_view(value, static_cast<size_t>(sqlite3_column_bytes(statement, column)))
             : std::string_view();
}

}  // namespace

bool makeSoundGroups(sqlite3* db, SoundGroups& groups, const std::atomic<bool>* stop) {
  groups = SoundGroups();
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, kRowsSql, -1, &statement, nullptr) != SQLITE_OK) return false;
  // The first row of each headword, by its text as the learner's search shows it.
  QHash<QString, std::uint32_t> firstRows;
  // By count and band, every band a table can take; cut to the bands the rows took.
  std::vector<SoundCountGroup> all(static_cast<std::size_t>(kMaxSoundCount + 1) * kMaxBands);
  std::uint32_t row = 0;
  std::array<std::uint8_t, sound::TypedSounds::kMaxRow> tokens;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (stop != nullptr && *stop) break;
    // A row whose headword is NULL is in no group, and takes no number: no search lists it.
    if (sqlite3_column_type(statement, 0) == SQLITE_NULL) continue;
    std::string_view caption = columnBytes(statement, 0);
    caption = caption.substr(0, caption.find('\0'));
    const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    auto first = firstRows.constFind(text);
    if (first == firstRows.cend()) first = firstRows.insert(text, row);
    const std::size_t n = std::min(
        sound::tokenize(sound::fromStored(columnBytes(statement, 1)), tokens.data(), tokens.size()),
        tokens.size());
    const std::span<const std::uint8_t> sounds(tokens.data(), n);
    all[static_cast<std::size_t>(soundCount(sounds)) * kMaxBands +
        static_cast<std::size_t>(bandOf(row))]
        .append(row, *first, isPlainWordCaption(caption), sounds, caption);
    ++row;
  }
  sqlite3_finalize(statement);
  if (rc != SQLITE_DONE) return false;
  groups.directory = SoundGroupDirectory(row);
  for (int count = 0; count <= kMaxSoundCount; ++count)
    for (int band = 0; band < groups.directory.bands; ++band) {
      SoundCountGroup& group = all[static_cast<std::size_t>(count) * kMaxBands + band];
      groups.directory.rowsOf(count, band) = static_cast<std::uint32_t>(group.size());
      groups.groups.push_back(std::move(group));
    }
  return true;
}

}  // namespace quorvi::engine
