// The transcriptions of the whole dictionary in memory, in the order in which the search
// statement reads them, so that a search by sound does not walk the table's pages.
//
// It answers exactly what "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?" answers
// for the patterns buildPhoneticPattern makes (pieces of stored notation, each followed by
// ".*"): the same rows in the same order. Plain transcriptions are matched here; any other is
// matched by PCRE2 with the REGEXP module's options.
//
// The rows come from the compact copy the dictionary builder stores, read a block at a time
// as a search needs them, or, in a dictionary without one, from the table itself.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/phonetic_index_store.h"
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
  // load() for the stored copy only: a few kilobytes. False when there is none.
  bool openStored(sqlite3* db);
  // load() from the table's rows only. `stop` ends it early (false).
  bool loadFromRows(sqlite3* db, const std::atomic<bool>* stop = nullptr);
  // Stops reading the stored copy (its connection is closing): parts not read stay unread.
  void closeStored();
  // Reads the `parts` (BlockPart bits) of every block not read yet, then, with the sound part,
  // groups the rows for the learner's search; the row accessors below need it. False when a
  // stored block is damaged or `stop` is set. One thread may run it while another searches:
  // each part of a block is read once, by whichever needs it first.
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
  std::string transcription(size_t row) const {
    return block(row).transcription(offset(row), image_.catalog);
  }

  // The learner's view of the rows (see engine/sound_rows.h), after loadAllRows(); empty for
  // every row after releaseSoundCodes().
  std::string_view soundCodes(size_t row) const { return block(row).soundCodes(offset(row)); }
  // Once soundStore() is made, lets the rows' sound codes go: the store holds what the search
  // reads, and the window keeps nothing twice. False (and nothing let go) before.
  bool releaseSoundCodes();
  // The per-row facts are kept in columns of the whole index, for the searches' inner loops.
  std::uint32_t headword(size_t row) const { return facts_.headwords[row]; }
  int soundCount(size_t row) const { return facts_.soundCounts[row]; }
  bool isPlainWord(size_t row) const {
    return (facts_.flags[row] & quorvi::engine::IndexBlock::kPlainWord) != 0;
  }
  bool hasCaption(size_t row) const {
    return (facts_.flags[row] & quorvi::engine::IndexBlock::kNoCaption) == 0;
  }
  // The rows with a headword by sound count, each with its sounds as tokens: made with the
  // sound part (loadAllRows), empty before.
  const quorvi::engine::SoundStore& soundStore() const;

 private:
  const quorvi::engine::IndexBlock& block(size_t row) const {
    return image_.blocks[row >> blockShift_];
  }
  size_t offset(size_t row) const { return row & (blockRows_ - 1); }
  // Reads the `parts` of block `number` not read yet.
  bool ensureBlock(size_t number, unsigned parts);
  void setBlockRows(std::uint32_t blockRows);
  // Gathers the blocks' per-row facts into columns (rows built from the table) and groups the
  // rows by sound count, once.
  void groupRows();

  quorvi::engine::IndexImage image_;
  std::mutex blockMutex_;  // guards reading blocks: their parts, blocksRead_, stored_
  size_t blocksRead_ = 0;  // blocks with every part read
  quorvi::engine::StoredIndexReader stored_;
  std::uint32_t blockRows_ = quorvi::engine::kIndexBlockRows;
  unsigned blockShift_ = 0;
  bool loaded_ = false;
  bool reachedMatchLimit_ = false;
  std::mutex groupMutex_;                 // guards facts_ and store_ while they are made
  quorvi::engine::RowFactColumns facts_;  // filled as blocks are read, or when grouping
  bool factsInColumns_ = false;
  quorvi::engine::SoundStore store_;
  std::atomic<bool> storeReady_ = false;
};
