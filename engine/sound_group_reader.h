// Reads the stored groups of rows by sound count (engine/sound_count_groups.h) from the
// dictionary, each once, when a search first needs it, or all of them for the whole load.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sound_count_groups.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quorvi::engine {

class SoundGroupReader {
 public:
  SoundGroupReader() = default;
  ~SoundGroupReader();
  SoundGroupReader(const SoundGroupReader&) = delete;
  SoundGroupReader& operator=(const SoundGroupReader&) = delete;

  // Reads the directory of an index whose stored blocks hold `storedRows` rows. False when
  // the dictionary stores no readable groups.
  bool open(sqlite3* db, std::uint32_t storedRows);
  bool isOpen() const { return statement_ != nullptr; }
  std::uint32_t indexRows() const { return directory_.indexRows; }
  // How many rows the group of `count` sounds holds, before it is read.
  std::uint32_t groupRows(int count) const {
    return count < 0 || count > 255 ? 0 : directory_.groupRows[static_cast<std::size_t>(count)];
  }
  // The group of `count` sounds (empty when it holds no row); null when it is damaged, cannot
  // be read, or the reader is closed. A search may keep it after the reader lets it go.
  std::shared_ptr<const SoundCountGroup> group(int count);
  // Lets every group go, and the statement; the directory stays.
  void close();

 private:
  sqlite3_stmt* statement_ = nullptr;
  SoundGroupDirectory directory_;
  std::vector<std::shared_ptr<const SoundCountGroup>> groups_ =
      std::vector<std::shared_ptr<const SoundCountGroup>>(256);
  std::vector<std::uint8_t> damaged_ = std::vector<std::uint8_t>(256, 0);
};

}  // namespace quorvi::engine
