#include "engine/sound_store.h"

#include <algorithm>

#include "engine/sound_alignment.h"
#include "engine/sound_count_groups.h"

namespace quorvi::engine {

SoundStore::SoundStore(std::span<const SoundCountGroup* const> groups) {
  const std::size_t counts = std::min<std::size_t>(groups.size(), kMaxSoundCount + 1);
  // A row has no more tokens than codes: reserved once, the tokens are never moved (a vector
  // grown by doubling, then shrunk, would hold them up to three times over while the window's
  // rows are read). What the marks and glides leave unused is a few hundred kilobytes.
  std::size_t rows = 0, codeBytes = 0;
  for (std::size_t c = 0; c < counts; ++c) {
    if (groups[c] == nullptr) continue;
    rows += groups[c]->size();
    for (std::size_t i = 0; i < groups[c]->size(); ++i) codeBytes += groups[c]->codes(i).size();
  }
  rows_.reserve(rows);
  tokens_.reserve(codeBytes);
  tokenStarts_.reserve(rows + 1);
  kinds_.reserve(rows);
  std::array<std::uint8_t, sound::TypedSounds::kMaxRow> tokens;
  for (std::size_t c = 0; c <= kMaxSoundCount; ++c) {
    starts_[c] = static_cast<std::uint32_t>(rows_.size());
    if (c >= counts || groups[c] == nullptr) continue;
    const SoundCountGroup& group = *groups[c];
    for (std::size_t i = 0; i < group.size(); ++i) {
      rows_.push_back(group.row(i));
      tokenStarts_.push_back(static_cast<std::uint32_t>(tokens_.size()));
      const std::size_t n =
          std::min(sound::tokenize(group.codes(i), tokens.data(), tokens.size()), tokens.size());
      tokens_.insert(tokens_.end(), tokens.begin(),
                     tokens.begin() + static_cast<std::ptrdiff_t>(n));
      kinds_.push_back(sound::kindsOf(tokens.data(), n));
    }
  }
  starts_[kMaxSoundCount + 1] = static_cast<std::uint32_t>(rows_.size());
  tokenStarts_.push_back(static_cast<std::uint32_t>(tokens_.size()));
}

SoundStore::Count SoundStore::withCount(int count) const {
  if (count < 0 || count > kMaxSoundCount || tokenStarts_.empty()) return {};
  const std::uint32_t first = starts_[static_cast<std::size_t>(count)];
  const std::uint32_t rows = starts_[static_cast<std::size_t>(count) + 1] - first;
  return {std::span<const std::uint32_t>(rows_).subspan(first, rows), tokens_.data(),
          std::span<const std::uint32_t>(tokenStarts_).subspan(first, rows + 1),
          std::span<const std::uint64_t>(kinds_).subspan(first, rows)};
}

}  // namespace quorvi::engine
