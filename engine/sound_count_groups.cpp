#include "engine/sound_count_groups.h"

#include <algorithm>

#include "engine/image_bytes.h"
#include "engine/phonetic_index_store.h"
#include "engine/sound_code.h"

namespace quorvi::engine {
namespace {

constexpr std::uint32_t kDirectoryMagic = 0x33445351;  // "QSD3"
constexpr std::uint32_t kGroupMagic = 0x33475351;      // "QSG3"

bool endsRise(const std::vector<std::uint32_t>& ends, std::size_t total) {
  std::uint32_t previous = 0;
  for (const std::uint32_t end : ends) {
    if (end < previous) return false;
    previous = end;
  }
  return previous == total;
}

// Printable ASCII holding `count` sounds besides marks (255: at least as many).
bool codesOfCount(std::string_view codes, int count) {
  int sounds = 0;
  for (const char c : codes) {
    if (c <= 0x20 || c >= 0x7F) return false;
    if (!sound::isMark(c)) ++sounds;
  }
  return count == 255 ? sounds >= 255 : sounds == count;
}

}  // namespace

void SoundCountGroup::append(std::uint32_t row, std::uint32_t headword, bool plainWord,
                             std::string_view codes, std::string_view caption) {
  rows_.push_back(row);
  headwords_.push_back(headword);
  plainWords_.push_back(plainWord ? 1 : 0);
  codes_.append(codes);
  codeEnds_.push_back(static_cast<std::uint32_t>(codes_.size()));
  captions_.append(caption);
  captionEnds_.push_back(static_cast<std::uint32_t>(captions_.size()));
}

std::size_t SoundCountGroup::find(std::uint32_t row) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
  return at != rows_.end() && *at == row ? static_cast<std::size_t>(at - rows_.begin()) : size();
}

std::string SoundCountGroup::serialise(int count) const {
  std::string out;
  put(out, kGroupMagic);
  put(out, static_cast<std::uint32_t>(count));
  put(out, static_cast<std::uint32_t>(size()));
  put(out, static_cast<std::uint32_t>(codes_.size()));
  put(out, static_cast<std::uint32_t>(captions_.size()));
  putAll(out, rows_);
  putAll(out, headwords_);
  putAll(out, plainWords_);
  putAll(out, codeEnds_);
  putAll(out, captionEnds_);
  out.append(codes_);
  return out.append(captions_);
}

bool SoundCountGroup::parse(std::string_view image, int count, std::uint32_t expectedRows,
                            std::uint32_t indexRows) {
  *this = SoundCountGroup();
  ImageReader reader(image);
  std::uint32_t magic = 0, storedCount = 0, rows = 0, codeBytes = 0, captionBytes = 0;
  if (!reader.get(magic) || magic != kGroupMagic || !reader.get(storedCount) ||
      storedCount != static_cast<std::uint32_t>(count) || !reader.get(rows) ||
      rows != expectedRows || !reader.get(codeBytes) || !reader.get(captionBytes) ||
      !reader.getAll(rows_, rows) || !reader.getAll(headwords_, rows) ||
      !reader.getAll(plainWords_, rows) || !reader.getAll(codeEnds_, rows) ||
      !reader.getAll(captionEnds_, rows) || !reader.getBytes(codes_, codeBytes) ||
      !reader.getBytes(captions_, captionBytes) || !reader.atEnd() ||
      !endsRise(codeEnds_, codeBytes) || !endsRise(captionEnds_, captionBytes)) {
    *this = SoundCountGroup();
    return false;
  }
  for (std::size_t i = 0; i < rows; ++i) {
    const bool ok = rows_[i] < indexRows && (i == 0 || rows_[i] > rows_[i - 1]) &&
                    headwords_[i] <= rows_[i] && plainWords_[i] <= 1 &&
                    codesOfCount(codes(i), count);
    if (!ok) {
      *this = SoundCountGroup();
      return false;
    }
  }
  return true;
}

std::string SoundGroupDirectory::serialise() const {
  std::string out;
  put(out, kDirectoryMagic);
  put(out, indexRows);
  putAll(out, groupRows);
  return out;
}

bool SoundGroupDirectory::parse(std::string_view image, std::uint32_t storedRows) {
  ImageReader reader(image);
  std::uint32_t magic = 0;
  std::uint64_t total = 0;
  const bool ok = reader.get(magic) && magic == kDirectoryMagic && reader.get(indexRows) &&
                  reader.getAll(groupRows, 256) && reader.atEnd();
  for (const std::uint32_t rows : groupRows) total += rows;
  return ok && indexRows == storedRows && total <= indexRows;
}

std::vector<std::pair<std::int64_t, std::string>> soundGroupBlobs(const IndexImage& image) {
  std::vector<SoundCountGroup> groups(256);
  SoundGroupDirectory directory;
  directory.indexRows = image.rowCount;
  std::uint32_t row = 0;
  for (const IndexBlock& block : image.blocks)
    for (std::size_t i = 0; i < block.rows(); ++i, ++row) {
      if (!block.hasCaption(i)) continue;
      const int count = block.soundCount(i);
      groups[static_cast<std::size_t>(count)].append(row, block.headword(i), block.isPlainWord(i),
                                                     block.soundCodes(i), block.caption(i));
      ++directory.groupRows[static_cast<std::size_t>(count)];
    }
  std::vector<std::pair<std::int64_t, std::string>> blobs;
  blobs.emplace_back(kSoundGroupDirectoryKey, directory.serialise());
  for (int count = 0; count < 256; ++count)
    if (groups[static_cast<std::size_t>(count)].size() != 0)
      blobs.emplace_back(soundGroupKey(count),
                         groups[static_cast<std::size_t>(count)].serialise(count));
  return blobs;
}

}  // namespace quorvi::engine
