// Every row of the dictionary in memory for the learner's search by sound: its headword and
// its transcription as sound codes (engine/sound_code.h), in the table's order, which is the
// order of usefulness (the first rows are the commonest words).
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
  std::string_view codes(std::size_t row) const { return index_->soundCodes(row); }
  std::uint64_t signature(std::size_t row) const { return index_->soundSignature(row); }
  // The first row with the same headword: rows of one headword share it.
  std::uint32_t headword(std::size_t row) const { return index_->headword(row); }
  // How many sounds the transcription holds (marks aside), at most 255; and its first sound.
  int soundCount(std::size_t row) const { return index_->soundCount(row); }
  char firstSound(std::size_t row) const { return index_->firstSound(row); }
  // The rows of `count` sounds, and the rows whose first sound is `code`, in table order.
  // A row whose headword is NULL is in neither: the search never lists it.
  std::span<const std::uint32_t> rowsWithSoundCount(int count) const {
    return index_ ? index_->rowsWithSoundCount(count) : std::span<const std::uint32_t>();
  }
  // The signatures of rowsWithSoundCount(count) and of rowsStartingWith(code), in the same
  // order, once the index has laid them out so (PhoneticIndex::prepareGroupSignatures); empty
  // before.
  std::span<const std::uint64_t> signaturesWithSoundCount(int count) const {
    return index_ ? index_->signaturesWithSoundCount(count) : std::span<const std::uint64_t>();
  }
  std::span<const std::uint64_t> signaturesStartingWith(char code) const {
    return index_ ? index_->signaturesStartingWith(code) : std::span<const std::uint64_t>();
  }
  // The tokens of rowsWithSoundCount(count), in the same order, once laid out
  // (PhoneticIndex::tokensWithSoundCount); no offsets before.
  PhoneticIndex::GroupTokens tokensWithSoundCount(int count) const {
    return index_ ? index_->tokensWithSoundCount(count) : PhoneticIndex::GroupTokens();
  }
  std::span<const std::uint32_t> rowsStartingWith(char code) const {
    return index_ ? index_->rowsStartingWith(code) : std::span<const std::uint32_t>();
  }
  // True for a headword of lower-case letters only (no name, number, or phrase).
  bool isPlainWord(std::size_t row) const { return index_->isPlainWord(row); }

 private:
  std::shared_ptr<const PhoneticIndex> index_;
};
