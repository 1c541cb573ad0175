// The groups by sound count (engine/sound_count_groups.h) made from the table's rows: what the
// dictionary builder stores, what its verify expects to find stored, and what the store of rows
// reads instead when a dictionary stores none (it was changed after it was built).
#pragma once

#include <atomic>
#include <vector>

#include "engine/sound_count_groups.h"

struct sqlite3;

namespace quorvi::engine {

struct SoundGroups {
  SoundGroupDirectory directory;
  std::vector<SoundGroupWriter> groups;  // by count, then band, as the directory counts them

  SoundGroupWriter& group(int count, int band) {
    return groups[static_cast<std::size_t>(count) * static_cast<std::size_t>(directory.bands) +
                  static_cast<std::size_t>(band)];
  }
};

// Reads every row the search statement reads, in its order, without the REGEXP function (so
// that no time budget of the module cuts it short), into `groups`. False when it cannot, or
// once `stop` is set.
bool makeSoundGroups(sqlite3* db, SoundGroups& groups, const std::atomic<bool>* stop = nullptr);

}  // namespace quorvi::engine
