#include "engine/working_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A list that grows from the allocator's room into mappings of its own, and past one huge
// page, keeps every value on each move; shrunk back, it gives the mappings back.
TEST(WorkingMemory, ListKeepsItsValuesAcrossMappedRoom) {
  std::vector<std::uint64_t, quorvi::engine::WorkingMemory<std::uint64_t>> list;
  for (std::uint64_t i = 0; i < (std::uint64_t{5} << 20) / sizeof(std::uint64_t); ++i)
    list.push_back(i * 2654435761u);
  for (std::uint64_t i = 0; i < list.size(); i += 1021) ASSERT_EQ(list[i], i * 2654435761u);
  list.resize(1000);
  list.shrink_to_fit();
  EXPECT_EQ(list[999], 999 * std::uint64_t{2654435761u});
}
