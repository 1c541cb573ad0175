#include "engine/sound_count_groups.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/image_bytes.h"
#include "engine/sound_alignment.h"
#include "engine/unicode_text.h"

namespace quorvi::engine {
namespace {

constexpr std::uint32_t kDirectoryMagic = 0x39445351;  // "QSD9"
constexpr std::uint32_t kGroupMagic = 0x39475351;      // "QSG9"

// Per byte: whether it is a token of a sound the aligner knows (a length only on a single
// vowel).
const std::array<bool, 256> kIsSoundToken = [] {
  std::array<bool, 256> sounds{};
  for (int byte = 0; byte < 256; ++byte) {
    const auto t = static_cast<std::uint8_t>(byte);
    const sound::Token base = sound::baseToken(t);
    const bool lengthened = (t & sound::kLongToken) != 0;
    sounds[static_cast<std::size_t>(byte)] =
        t < sound::kTokenValues && base != sound::kNoToken && base < sound::kTokenKinds &&
        (!lengthened || (sound::isVowelToken(t) && sound::codesOf(t) == 1));
  }
  return sounds;
}();

}  // namespace

bool isPlainWordCaption(std::string_view caption) {
  const std::u32string text = codePointsOfUtf8(caption);
  return std::all_of(text.cbegin(), text.cend(), isLowerCase);
}

int soundCount(std::span<const std::uint8_t> tokens) {
  return static_cast<int>(std::min<std::size_t>(tokens.size(), kMaxSoundCount));
}

void SoundGroupWriter::append(std::uint32_t row, std::uint32_t headword, bool plainWord,
                              std::span<const std::uint8_t> tokens, std::string_view caption) {
  rows_.push_back(row);
  headwords_.push_back(headword);
  flags_.push_back(plainWord ? SoundCountGroup::kPlainWord : 0);
  tokens_.insert(tokens_.end(), tokens.begin(), tokens.end());
  tokenEnds_.push_back(static_cast<std::uint32_t>(tokens_.size()));
  captions_.append(caption);
  captionEnds_.push_back(static_cast<std::uint32_t>(captions_.size()));
}

void SoundGroupWriter::appendAmerican(std::uint32_t row, std::uint32_t headword, bool plainWord,
                                      std::span<const std::uint8_t> tokens) {
  americanIndexes_.push_back(static_cast<std::uint32_t>(rows_.size()));
  britishPlaces_.push_back(0);
  append(row, headword, plainWord, tokens, {});
  flags_.back() |= SoundCountGroup::kAmerican;
}

std::string SoundGroupWriter::serialise(int count) const {
  std::string out;
  put(out, kGroupMagic);
  put(out, static_cast<std::uint32_t>(count));
  put(out, static_cast<std::uint32_t>(size()));
  put(out, static_cast<std::uint32_t>(tokens_.size()));
  put(out, static_cast<std::uint32_t>(captions_.size()));
  put(out, static_cast<std::uint32_t>(americanIndexes_.size()));
  putAll(out, rows_);
  putAll(out, headwords_);
  putAll(out, captionEnds_);
  putAll(out, britishPlaces_);
  if (count == kMaxSoundCount) putAll(out, tokenEnds_);
  putAll(out, flags_);
  putAll(out, tokens_);
  return out.append(captions_);
}

void SoundCountGroup::clear() {
  *this = SoundCountGroup();
}

std::uint32_t SoundCountGroup::britishPlace(std::size_t i) const {
  const auto at = std::lower_bound(americanIndexes_.begin(), americanIndexes_.end(), i);
  return word(britishPlacesAt_, static_cast<std::size_t>(at - americanIndexes_.begin()));
}

bool SoundCountGroup::parse(std::string_view image, int count, int band, std::uint32_t expectedRows,
                            std::uint32_t tableRows) {
  auto memory = std::make_unique<GroupMemory>(false);
  char* copy = memory->take<char>(image.size());
  if (!image.empty()) std::memcpy(copy, image.data(), image.size());
  if (!parse({copy, image.size()}, count, band, expectedRows, tableRows, *memory)) return false;
  ownMemory_ = std::move(memory);
  return true;
}

bool SoundCountGroup::parse(std::string_view image, int count, int band, std::uint32_t expectedRows,
                            std::uint32_t tableRows, GroupMemory& memory) {
  clear();
  const std::size_t bytes = image.size();
  ImageReader reader(image);
  std::uint32_t magic = 0, storedCount = 0, rows = 0, tokenBytes = 0, captionBytes = 0,
                american = 0;
  const bool lastCount = count == kMaxSoundCount;
  // Each column where it starts, once the one before it was there in full.
  const auto column = [&](std::size_t& at, std::size_t size) {
    at = bytes - reader.rest();
    return reader.skip(size);
  };
  bool ok = count >= 0 && count <= kMaxSoundCount && reader.get(magic) && magic == kGroupMagic &&
            reader.get(storedCount) && storedCount == static_cast<std::uint32_t>(count) &&
            reader.get(rows) && rows == expectedRows && reader.get(tokenBytes) &&
            reader.get(captionBytes) && reader.get(american) && american <= rows &&
            (lastCount || tokenBytes == std::uint64_t{rows} * static_cast<std::uint32_t>(count)) &&
            column(rowsAt_, std::size_t{4} * rows) && column(headwordsAt_, std::size_t{4} * rows) &&
            column(captionEndsAt_, std::size_t{4} * rows) &&
            column(britishPlacesAt_, std::size_t{4} * american) &&
            (!lastCount || column(tokenEndsAt_, std::size_t{4} * rows)) && column(flagsAt_, rows) &&
            column(tokensAt_, tokenBytes) && column(captionsAt_, captionBytes) && reader.atEnd();
  if (ok) {
    image_ = image.data();
    size_ = rows;
    count_ = count;
    // Ends that rise to the column's size.
    const auto endsRise = [&](std::size_t at, std::size_t total) {
      std::uint32_t previous = 0;
      for (std::size_t i = 0; i < size_; ++i) {
        const std::uint32_t end = word(at, i);
        if (end < previous) return false;
        previous = end;
      }
      return previous == total;
    };
    ok = endsRise(captionEndsAt_, captionBytes) &&
         (!lastCount || endsRise(tokenEndsAt_, tokenBytes));
  }
  // The rows' tokens lie end to end: each a sound the aligner knows.
  if (ok) {
    const auto* all = reinterpret_cast<const std::uint8_t*>(image_) + tokensAt_;
    ok = std::all_of(all, all + tokenBytes, [](std::uint8_t t) { return kIsSoundToken[t]; });
  }
  static_assert(sound::kOther == 41 && sound::kTokenKinds == 42, "the kinds of a row in 40 bits");
  std::uint32_t* kindsLow = nullptr;
  std::uint8_t* kindsHigh = nullptr;
  if (ok) {
    kindsLow_ = kindsLow = memory.take<std::uint32_t>(rows);
    kindsHigh_ = kindsHigh = memory.take<std::uint8_t>(rows);
  }
  for (std::size_t i = 0; ok && i < rows; ++i) {
    const std::span<const std::uint8_t> sounds = tokens(i);
    const std::uint64_t kinds = sound::kindsOf(sounds.data(), sounds.size());
    kindsLow[i] = static_cast<std::uint32_t>(kinds >> 1);
    kindsHigh[i] = static_cast<std::uint8_t>(kinds >> 33);
    const std::uint32_t rowOf = row(i);
    // A row's American entry may follow its British one; it has no text of its own.
    const bool rises = i == 0 || rowOf > row(i - 1) ||
                       (rowOf == row(i - 1) && isAmerican(i) && !isAmerican(i - 1));
    ok = rowOf < tableRows && bandOf(rowOf) == band && rises && headword(i) <= rowOf &&
         flag(i) <= (kPlainWord | kAmerican) && (!isAmerican(i) || caption(i).empty()) &&
         sounds.size() <= sound::TypedSounds::kMaxRow && soundCount(sounds) == count;
    if (ok && isAmerican(i)) americanIndexes_.push_back(static_cast<std::uint32_t>(i));
  }
  ok = ok && americanIndexes_.size() == american;
  if (!ok) clear();
  return ok;
}

std::string SoundGroupDirectory::serialise() const {
  std::string out;
  put(out, kDirectoryMagic);
  put(out, tableRows);
  put(out, americanRows);
  put(out, static_cast<std::uint32_t>(bands));
  putAll(out, groupRows);
  return out;
}

bool SoundGroupDirectory::parse(std::string_view image, double storedBytes) {
  ImageReader reader(image);
  std::uint32_t magic = 0, storedBands = 0;
  std::uint64_t total = 0;
  const bool ok = reader.get(magic) && magic == kDirectoryMagic && reader.get(tableRows) &&
                  reader.get(americanRows) && reader.get(storedBands) &&
                  storedBands == static_cast<std::uint32_t>(bandsFor(tableRows)) &&
                  reader.getAll(groupRows, (kMaxSoundCount + 1) * storedBands) && reader.atEnd();
  if (!ok) return false;
  bands = static_cast<int>(storedBands);
  for (const std::uint32_t rows : groupRows) total += rows;
  // A place in the store is a row's number with a bit to spare (closest_match.h).
  return total == entries() && entries() < 0x80000000u &&
         static_cast<double>(total) * kFixedRowBytes <= storedBytes;
}

}  // namespace quorvi::engine
