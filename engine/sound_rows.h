// Every row of the dictionary in memory for the learner's search by sound: its headword and
// its sounds (in the store, by sound count), in the table's order, which is the order of
// usefulness (the first rows are the commonest words).
//
// The rows are those of the engine's phonetic index (engine/phonetic_index.h), which keeps
// them for both searches by sound: read from the compact copy the dictionary builder stores,
// or built from the table's rows when there is none. This is a view of them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include <QString>

#include "engine/phonetic_index.h"

class SoundRows {
 public:
  SoundRows() = default;
  // `index` must have all its rows read (PhoneticIndex::loadAllRows).
  explicit SoundRows(std::shared_ptr<const PhoneticIndex> index) : index_(std::move(index)) {}

  bool loaded() const { return index_ != nullptr; }

  std::size_t size() const { return index_ ? index_->rowCount() : 0; }
  QString caption(std::size_t row) const { return index_->caption(row); }
  // The first row with the same headword: rows of one headword share it.
  std::uint32_t headword(std::size_t row) const { return index_->headword(row); }
  // True for a headword of lower-case letters only (no name, number, or phrase).
  bool isPlainWord(std::size_t row) const { return index_->isPlainWord(row); }
  // The rows with a headword by sound count (at most 255), in table order within a count, with
  // their sounds as tokens: what the ranking reads. A row whose headword is NULL is not there:
  // the search never lists it.
  const quorvi::engine::SoundStore& store() const {
    static const quorvi::engine::SoundStore none;
    return index_ ? index_->soundStore() : none;
  }

 private:
  std::shared_ptr<const PhoneticIndex> index_;
};
