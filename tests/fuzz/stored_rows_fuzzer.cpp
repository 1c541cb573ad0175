// The stored search rows as a damaged or hostile dictionary may hold them: a row block, a group
// of rows by sound count and the groups' directory, each parsed from arbitrary bytes. None may
// crash or read out of bounds, and whatever is accepted answers its accessors within bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/phonetic_index_block.h"
#include "engine/sound_count_groups.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

quorvi::engine::SymbolCatalog catalogOfTen() {
  quorvi::engine::SymbolCatalog catalog;
  for (const char* symbol : {"k", "t", "&#230;", "&#643;", "i", "&#720;", "s", "n", "l", "p"})
    catalog.add(symbol);
  return catalog;
}

void readBlock(std::string_view image) {
  static const quorvi::engine::SymbolCatalog catalog = catalogOfTen();
  quorvi::engine::IndexBlock block;
  if (!block.parse(image, catalog)) return;
  std::size_t bytes = 0;
  for (std::size_t row = 0; row < block.rows(); ++row) {
    bytes += block.caption(row).size() + block.text(row).size();
    if (!block.isRawText(row) && block.transcription(row, catalog).empty() &&
        !block.text(row).empty())
      fail("symbol ids without their symbols");
  }
  if (bytes > image.size()) fail("the rows hold more than the image");
}

void readGroup(std::string_view image, int count) {
  quorvi::engine::SoundCountGroup group;
  // The count of rows is read from the image itself: any size the parse then agrees with.
  std::uint32_t rows = 0;
  if (image.size() >= 12) std::memcpy(&rows, image.data() + 8, sizeof(rows));
  if (!group.parse(image, count, rows, 1u << 20)) return;
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (group.headword(i) > group.row(i)) fail("a headword after its row was accepted");
    if (i > 0 && group.row(i) <= group.row(i - 1)) fail("rows that do not rise were accepted");
    if (group.codes(i).size() > image.size()) fail("a row holds more than the image");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks what the rest is read as.
  const std::string_view image(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      readBlock(image);
      break;
    case 1:
      readGroup(image, data[0] / 3 % 8);
      break;
    default: {
      // The searches lay memory out by the directory's counts: none may pass the rows the
      // stored blocks hold.
      constexpr std::uint32_t kStoredRows = 1u << 20;
      quorvi::engine::SoundGroupDirectory directory;
      if (!directory.parse(image, kStoredRows)) break;
      if (directory.groupRows.size() != 256) fail("a directory of another size was accepted");
      if (directory.indexRows > kStoredRows)
        fail("a directory counting more rows than the index holds was accepted");
      std::uint64_t rows = 0;
      for (const std::uint32_t count : directory.groupRows) rows += count;
      if (rows > kStoredRows) fail("groups holding more rows than the index were accepted");
      break;
    }
  }
  return 0;
}
