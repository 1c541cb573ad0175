// The transcriptions of the whole dictionary in memory, in the order in which the search
// statement reads them, so that a search by sound does not walk the table's pages.
//
// It answers exactly what "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?" answers
// for the patterns buildPhoneticPattern makes (pieces of stored notation, each followed by
// ".*"): the same rows in the same order. Plain transcriptions are matched here; any other is
// matched by PCRE2 with the REGEXP module's options.
//
// The rows come from the compact copy the dictionary builder stores, read a block at a time
// as a search needs them, or, in a dictionary without one, from the table itself. The same
// index keeps the learner's rows: read from the stored groups by sound count (a search that
// wants a screenful reads the few it needs; the whole load reads them all) and laid out once
// as the store the learner's search ranks (engine/sound_store.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/phonetic_index_store.h"
#include "engine/sound_group_reader.h"
#include "engine/sound_store.h"

struct sqlite3;

class PhoneticIndex {
 public:
  PhoneticIndex() = default;
  ~PhoneticIndex();
  PhoneticIndex(const PhoneticIndex&) = delete;
  PhoneticIndex& operator=(const PhoneticIndex&) = delete;

  // Opens the stored copy (its rows are read when needed) or reads every row through the
  // REGEXP module's statement. False when it can do neither. `db` must outlive the index.
  bool load(sqlite3* db);
  // load() for the stored copy only: a few kilobytes. False when there is none, or it lacks
  // its groups by sound count.
  bool openStored(sqlite3* db);
  // load() from the table's rows only. `stop` ends it early (false).
  bool loadFromRows(sqlite3* db, const std::atomic<bool>* stop = nullptr);
  // Stops reading the stored copy (its connection is closing): parts not read stay unread.
  void closeStored();
  // Reads the block `parts` (BlockPart bits) of every block not read yet, then, with the sound
  // part, every group by sound count, and lays the learner's rows out as one store; the row
  // accessors below need it. False when a stored block or group is damaged or `stop` is set.
  // One thread may run it while another searches: each part of a block and each group is read
  // once, by whichever needs it first.
  bool loadAllRows(const std::atomic<bool>* stop = nullptr,
                   unsigned parts = quorvi::engine::kAllParts);

  // Appends the headwords whose transcription matches `pattern`, at most `limit` (0: all).
  // False when `pattern` is not of the form this index answers, a stored block is damaged, or
  // a match reached the REGEXP dialect's bounds (then `results` may hold some rows already).
  bool search(const std::string& pattern, int limit, QStringList& results);
  // True when the last search stopped because a match reached the dialect's bounds: the
  // statement, which stops with the module's message, answers that search instead.
  bool reachedMatchLimit() const { return reachedMatchLimit_; }

  // Rows in the statement's order, after loadAllRows().
  size_t rowCount() const { return image_.rowCount; }
  std::string_view captionUtf8(size_t row) const { return block(row).caption(offset(row)); }
  QString caption(size_t row) const;
  // With the pattern part read.
  std::string transcription(size_t row) const {
    return block(row).transcription(offset(row), image_.catalog);
  }
  // The transcription as sound codes (engine/sound_code.h), made from it on request: the
  // searches read the store's tokens. With the pattern part read.
  std::string soundCodes(size_t row) const;

  // The learner's facts of each row, in columns of the whole index for the searches' inner
  // loops: made with the store.
  std::uint32_t headword(size_t row) const { return facts_.headwords[row]; }
  bool isPlainWord(size_t row) const {
    return (facts_.flags[row] & quorvi::engine::RowFactColumns::kPlainWord) != 0;
  }
  bool hasCaption(size_t row) const {
    return (facts_.flags[row] & quorvi::engine::RowFactColumns::kNoCaption) == 0;
  }
  // The rows with a headword by sound count, each with its sounds as tokens: made with the
  // sound part (loadAllRows), empty before.
  const quorvi::engine::SoundStore& soundStore() const;

  // True while the stored groups may answer a search that wants a screenful: the rows come
  // from a stored copy and the store is not made yet.
  bool answersFromStoredGroups() const {
    return loaded_ && !builtFromRows_ && !storeReady_.load(std::memory_order_acquire);
  }
  // The stored group of `count` sounds, read on first use (and kept for the store); null when
  // it cannot be read, or once the store is made.
  std::shared_ptr<const quorvi::engine::SoundCountGroup> storedSoundGroup(int count);
  // Its size, as the stored directory says, before it is read.
  std::uint32_t storedSoundGroupRows(int count);
  // A row's headword, reading its block's headwords if no search has; nothing when the block
  // cannot be read.
  std::optional<QString> readCaption(size_t row);

 private:
  const quorvi::engine::IndexBlock& block(size_t row) const {
    return image_.blocks[row >> blockShift_];
  }
  size_t offset(size_t row) const { return row & (blockRows_ - 1); }
  // Reads the `parts` of block `number` not read yet.
  bool ensureBlock(size_t number, unsigned parts);
  void setBlockRows(std::uint32_t blockRows);
  // Lays the groups by sound count (read from the stored copy, or made from the table's rows)
  // out as the store and the fact columns, once, and lets the groups go. False when a stored
  // group cannot be read or `stop` is set.
  bool makeStore(const std::atomic<bool>* stop);

  quorvi::engine::IndexImage image_;
  std::mutex blockMutex_;  // guards reading blocks: their parts, blocksRead_, stored_
  size_t blocksRead_ = 0;  // blocks with both parts read
  quorvi::engine::StoredIndexReader stored_;
  std::uint32_t blockRows_ = quorvi::engine::kIndexBlockRows;
  unsigned blockShift_ = 0;
  bool loaded_ = false;
  bool builtFromRows_ = false;  // image_ holds the groups, made from the table's rows
  bool reachedMatchLimit_ = false;
  std::mutex groupMutex_;  // guards groups_: held for one group's reading at a time
  quorvi::engine::SoundGroupReader groups_;
  std::mutex storeMutex_;                 // guards facts_ and store_ while they are made
  quorvi::engine::RowFactColumns facts_;  // made with the store
  quorvi::engine::SoundStore store_;
  std::atomic<bool> storeReady_ = false;
};
