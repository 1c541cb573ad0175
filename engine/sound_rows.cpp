#include "engine/sound_rows.h"

#include <sqlite3.h>

#include <algorithm>

#include <QHash>

#include "engine/sound_code.h"

namespace {

const char kRowsSql[] =
    "SELECT w_caption, w_phonetic FROM dict_word WHERE w_phonetic IS NOT NULL "
    "AND w_caption IS NOT NULL";

}  // namespace

void SoundRows::clear() {
  codes_.clear();
  offsets_.assign(1, 0);
  signatures_.clear();
  headwords_.clear();
  plainWords_.clear();
  soundCounts_.clear();
  firstSounds_.clear();
  bySoundCount_ = Groups();
  byFirstSound_ = Groups();
  captions_.clear();
  loaded_ = false;
}

bool SoundRows::load(sqlite3* db) {
  clear();
  sqlite3_stmt* statement = nullptr;
  if (db == nullptr ||
      sqlite3_prepare_v2(db, kRowsSql, -1, &statement, nullptr) != SQLITE_OK)
    return false;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    const auto* caption = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    const auto* stored = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const std::string codes = sound::fromStored(
        std::string_view(stored, static_cast<size_t>(sqlite3_column_bytes(statement, 1))));
    codes_ += codes;
    if (codes_.size() > UINT32_MAX) break;
    offsets_.push_back(static_cast<std::uint32_t>(codes_.size()));
    signatures_.push_back(sound::signature(codes));
    const std::string sounds = sound::withoutMarks(codes);
    soundCounts_.push_back(static_cast<std::uint8_t>(std::min<size_t>(sounds.size(), 255)));
    firstSounds_.push_back(sounds.empty() ? '\0' : sounds[0]);
    captions_.append(QString::fromUtf8(caption, sqlite3_column_bytes(statement, 0)));
  }
  sqlite3_finalize(statement);
  if (rc != SQLITE_DONE) {
    clear();
    return false;
  }
  QHash<QString, std::uint32_t> firstRows;
  firstRows.reserve(captions_.size());
  headwords_.reserve(signatures_.size());
  for (qsizetype i = 0; i < captions_.size(); ++i) {
    auto first = firstRows.constFind(captions_[i]);
    if (first == firstRows.cend())
      first = firstRows.insert(captions_[i], static_cast<std::uint32_t>(i));
    headwords_.push_back(*first);
    plainWords_.push_back(std::all_of(captions_[i].cbegin(), captions_[i].cend(),
                                      [](QChar c) { return c.isLower(); }));
  }
  indexRows();
  loaded_ = true;
  return true;
}

// A counting sort by `key(row)`, which keeps the table's order within each group.
template <typename Key>
SoundRows::Groups SoundRows::groupRows(std::size_t count, Key key) {
  Groups groups;
  for (std::size_t i = 0; i < count; ++i) ++groups.starts[key(i) + 1];
  for (std::size_t k = 1; k < groups.starts.size(); ++k) groups.starts[k] += groups.starts[k - 1];
  groups.rows.resize(count);
  std::array<std::uint32_t, 257> next = groups.starts;
  for (std::size_t i = 0; i < count; ++i) groups.rows[next[key(i)]++] = static_cast<std::uint32_t>(i);
  return groups;
}

void SoundRows::indexRows() {
  bySoundCount_ = groupRows(size(), [this](std::size_t row) -> unsigned { return soundCounts_[row]; });
  byFirstSound_ = groupRows(size(), [this](std::size_t row) -> unsigned {
    return static_cast<unsigned char>(firstSounds_[row]);
  });
}

std::span<const std::uint32_t> SoundRows::rowsWithSoundCount(int count) const {
  if (count < 0 || count > 255) return {};
  return bySoundCount_.group(static_cast<unsigned>(count));
}

std::span<const std::uint32_t> SoundRows::rowsStartingWith(char code) const {
  return byFirstSound_.group(static_cast<unsigned char>(code));
}
