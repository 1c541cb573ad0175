// Every row of the dictionary in memory for the learner's search by sound: its headword and
// its transcription as sound codes (engine/sound_code.h), in the table's order, which is the
// order of usefulness (the first rows are the commonest words).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QStringList>

struct sqlite3;

class SoundRows {
 public:
  // Reads every row with a transcription. False (and empty) when the table cannot be read.
  bool load(sqlite3* db);
  bool loaded() const { return loaded_; }

  std::size_t size() const { return signatures_.size(); }
  const QString& caption(std::size_t row) const { return captions_[static_cast<qsizetype>(row)]; }
  std::string_view codes(std::size_t row) const {
    return std::string_view(codes_).substr(offsets_[row], offsets_[row + 1] - offsets_[row]);
  }
  std::uint64_t signature(std::size_t row) const { return signatures_[row]; }
  // The first row with the same headword: rows of one headword share it.
  std::uint32_t headword(std::size_t row) const { return headwords_[row]; }
  // How many sounds the transcription holds (marks aside), at most 255; and its first sound.
  int soundCount(std::size_t row) const { return soundCounts_[row]; }
  char firstSound(std::size_t row) const { return firstSounds_[row]; }
  // The rows of `count` sounds, and the rows whose first sound is `code`, in table order.
  std::span<const std::uint32_t> rowsWithSoundCount(int count) const;
  std::span<const std::uint32_t> rowsStartingWith(char code) const;
  // True for a headword of lower-case letters only (no name, number, or phrase).
  bool isPlainWord(std::size_t row) const { return plainWords_[row]; }

 private:
  void clear();
  void indexRows();
  // Rows grouped by a byte key (sound count, first sound): group k is
  // rows[starts[k]] .. rows[starts[k + 1]].
  struct Groups {
    std::vector<std::uint32_t> rows;
    std::array<std::uint32_t, 257> starts{};
    std::span<const std::uint32_t> group(unsigned key) const {
      return std::span<const std::uint32_t>(rows).subspan(starts[key], starts[key + 1] - starts[key]);
    }
  };
  template <typename Key>
  static Groups groupRows(std::size_t count, Key key);

  std::string codes_;
  std::vector<std::uint32_t> offsets_{0};
  std::vector<std::uint64_t> signatures_;
  std::vector<std::uint32_t> headwords_;
  std::vector<bool> plainWords_;
  std::vector<std::uint8_t> soundCounts_;
  std::vector<char> firstSounds_;
  Groups bySoundCount_;
  Groups byFirstSound_;
  QStringList captions_;
  bool loaded_ = false;
};
