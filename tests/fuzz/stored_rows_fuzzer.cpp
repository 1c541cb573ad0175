// The stored rows as a damaged or hostile dictionary may hold them: a group of rows by sound
// count and the groups' directory, each parsed from arbitrary bytes. None may crash or read out
// of bounds, and whatever is accepted answers its accessors within bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/sound_alignment.h"
#include "engine/sound_count_groups.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void readGroup(std::string_view image, int count) {
  quorvi::engine::SoundCountGroup group;
  // The count of rows is read from the image itself: any size the parse then agrees with.
  std::uint32_t rows = 0;
  if (image.size() >= 12) std::memcpy(&rows, image.data() + 8, sizeof(rows));
  if (!group.parse(image, count, 0, rows, 1024)) return;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (group.row(i) >= 1024) fail("a row past its band was accepted");
    if (group.headword(i) > group.row(i)) fail("a headword after its row was accepted");
    if (i > 0 && group.row(i) <= group.row(i - 1) &&
        !(group.row(i) == group.row(i - 1) && group.isAmerican(i) && !group.isAmerican(i - 1)))
      fail("rows that do not rise were accepted");
    if (group.isAmerican(i) && !group.caption(i).empty())
      fail("an American entry with text of its own was accepted");
    for (const std::uint8_t token : group.tokens(i))
      if (token >= sound::kTokenValues) fail("a token past the cost tables was accepted");
    if (quorvi::engine::soundCount(group.tokens(i)) != count)
      fail("a row of another sound count was accepted");
    bytes += group.tokens(i).size() + group.caption(i).size();
  }
  if (bytes > image.size()) fail("the rows hold more than the image");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks what the rest is read as.
  const std::string_view image(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    readGroup(image, data[0] / 2 % 8);
    return 0;
  }
  // The store lays memory out by the directory's counts: never past what the stored bytes
  // (here the image's own size) can hold.
  quorvi::engine::SoundGroupDirectory directory;
  const auto storedBytes = static_cast<double>(image.size()) * 64;
  if (!directory.parse(image, storedBytes)) return 0;
  if (directory.groupRows.size() !=
      static_cast<std::size_t>(quorvi::engine::kMaxSoundCount + 1) * directory.bands)
    fail("a directory of another size was accepted");
  std::uint64_t rows = 0;
  for (const std::uint32_t count : directory.groupRows) rows += count;
  if (rows != directory.entries()) fail("groups that do not add up to the table were accepted");
  if (static_cast<double>(rows) * quorvi::engine::SoundGroupDirectory::kFixedRowBytes > storedBytes)
    fail("more rows than the stored bytes hold were accepted");
  return 0;
}
