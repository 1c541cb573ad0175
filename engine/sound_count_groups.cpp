#include "engine/sound_count_groups.h"

#include <algorithm>

#include <QString>

#include "engine/image_bytes.h"
#include "engine/sound_code.h"

namespace quorvi::engine {
namespace {

constexpr std::uint32_t kDirectoryMagic = 0x34445351;  // "QSD4"
constexpr std::uint32_t kGroupMagic = 0x34475351;      // "QSG4"

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

bool isPlainWordCaption(std::string_view caption) {
  const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLower(); });
}

void SoundCountGroup::append(std::uint32_t row, std::uint32_t headword, bool plainWord,
                             std::string_view codes) {
  rows_.push_back(row);
  headwords_.push_back(headword);
  plainWords_.push_back(plainWord ? 1 : 0);
  codes_.append(codes);
  codeEnds_.push_back(static_cast<std::uint32_t>(codes_.size()));
}

std::string SoundCountGroup::serialise(int count) const {
  std::string out;
  put(out, kGroupMagic);
  put(out, static_cast<std::uint32_t>(count));
  put(out, static_cast<std::uint32_t>(size()));
  put(out, static_cast<std::uint32_t>(codes_.size()));
  putAll(out, rows_);
  putAll(out, headwords_);
  putAll(out, plainWords_);
  putAll(out, codeEnds_);
  return out.append(codes_);
}

bool SoundCountGroup::parse(std::string_view image, int count, std::uint32_t expectedRows,
                            std::uint32_t indexRows) {
  *this = SoundCountGroup();
  ImageReader reader(image);
  std::uint32_t magic = 0, storedCount = 0, rows = 0, codeBytes = 0;
  if (!reader.get(magic) || magic != kGroupMagic || !reader.get(storedCount) ||
      storedCount != static_cast<std::uint32_t>(count) || !reader.get(rows) ||
      rows != expectedRows || !reader.get(codeBytes) ||
      !reader.getAll(rows_, rows) || !reader.getAll(headwords_, rows) ||
      !reader.getAll(plainWords_, rows) || !reader.getAll(codeEnds_, rows) ||
      !reader.getBytes(codes_, codeBytes) || !reader.atEnd() || !endsRise(codeEnds_, codeBytes)) {
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

void SoundGroups::append(std::uint32_t row, std::uint32_t headword, std::string_view caption,
                         std::string_view phonetic) {
  const std::string codes = sound::fromStored(phonetic);
  const auto sounds = std::count_if(codes.begin(), codes.end(),
                                    [](char c) { return !sound::isMark(c); });
  const auto count = static_cast<std::size_t>(std::min<std::ptrdiff_t>(sounds, 255));
  groups[count].append(row, headword, isPlainWordCaption(caption), codes);
  ++directory.groupRows[count];
}

std::vector<std::pair<std::int64_t, std::string>> soundGroupBlobs(const SoundGroups& groups) {
  std::vector<std::pair<std::int64_t, std::string>> blobs;
  blobs.emplace_back(kSoundGroupDirectoryKey, groups.directory.serialise());
  for (int count = 0; count < 256; ++count)
    if (groups.groups[static_cast<std::size_t>(count)].size() != 0)
      blobs.emplace_back(soundGroupKey(count),
                         groups.groups[static_cast<std::size_t>(count)].serialise(count));
  return blobs;
}

}  // namespace quorvi::engine
