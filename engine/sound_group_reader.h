// Reads the stored groups of rows by sound count (engine/sound_count_groups.h) from the
// dictionary, each once, when a search first needs it.
#pragma once

#include <cstdint>
#include <utility>
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

  // Reads the directory. False when the dictionary stores no readable groups.
  bool open(sqlite3* db);
  std::uint32_t indexRows() const { return directory_.indexRows; }
  // How many rows the group of `count` sounds holds, before it is read.
  std::uint32_t groupRows(int count) const {
    return count < 0 || count > 255 ? 0 : directory_.groupRows[static_cast<std::size_t>(count)];
  }
  // The group of `count` sounds; nullptr when it is damaged or cannot be read.
  const SoundCountGroup* group(int count);
  // The group already read that holds `row`, and the row's position in it.
  std::pair<const SoundCountGroup*, std::size_t> findRead(std::uint32_t row) const;
  void close();

 private:
  sqlite3_stmt* statement_ = nullptr;
  SoundGroupDirectory directory_;
  std::vector<SoundCountGroup> groups_ = std::vector<SoundCountGroup>(256);
  std::vector<std::uint8_t> state_ = std::vector<std::uint8_t>(256, 0);  // 0 unread, 1 read, 2 bad
};

}  // namespace quorvi::engine
