#include "engine/sound_store.h"

#include <algorithm>

#include "engine/sound_alignment.h"

namespace quorvi::engine {

SoundStore::SoundStore(const Source& source) {
  const auto countOf = [&source](std::size_t row) {
    return static_cast<unsigned>(
        std::clamp(source.soundCount(source.context, row), 0, kMaxSoundCount));
  };
  // A counting sort by sound count keeps the table's order within each count.
  for (std::size_t row = 0; row < source.rows; ++row)
    if (source.listed(source.context, row)) ++starts_[countOf(row) + 1];
  for (std::size_t c = 1; c < starts_.size(); ++c) starts_[c] += starts_[c - 1];
  rows_.resize(starts_.back());
  std::array<std::uint32_t, kMaxSoundCount + 2> next = starts_;
  for (std::size_t row = 0; row < source.rows; ++row)
    if (source.listed(source.context, row))
      rows_[next[countOf(row)]++] = static_cast<std::uint32_t>(row);

  // A row has no more tokens than codes: reserved once, the tokens are never moved (a vector
  // grown by doubling, then shrunk, would hold them up to three times over while the window's
  // rows are read). What the marks and glides leave unused is a few hundred kilobytes.
  std::size_t codeBytes = 0;
  for (const std::uint32_t row : rows_) codeBytes += source.codes(source.context, row).size();
  tokens_.reserve(codeBytes);
  tokenStarts_.reserve(rows_.size() + 1);
  kinds_.reserve(rows_.size());
  std::array<std::uint8_t, sound::TypedSounds::kMaxRow> tokens;
  for (const std::uint32_t row : rows_) {
    tokenStarts_.push_back(static_cast<std::uint32_t>(tokens_.size()));
    const std::size_t n =
        std::min(sound::tokenize(source.codes(source.context, row), tokens.data(), tokens.size()),
                 tokens.size());
    tokens_.insert(tokens_.end(), tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(n));
    kinds_.push_back(sound::kindsOf(tokens.data(), n));
  }
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
