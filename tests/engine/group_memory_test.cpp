#include "engine/group_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using quorvi::engine::GroupMemory;

// What is taken is aligned, writable whole and never shared with another take: within the
// reserved range, past it (a take larger than what is left), and from a group's own memory.
TEST(GroupMemory, TakesAlignedRoomThatNoOtherTakeShares) {
  for (const bool hugePages : {true, false}) {
    GroupMemory memory(hugePages);
    memory.reserve(100000);
    std::vector<std::pair<char*, std::size_t>> taken;
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{0}, std::size_t{70000},
                                    std::size_t{50000}, std::size_t{3} << 20, std::size_t{13}}) {
      char* room = memory.take<char>(bytes);
      ASSERT_NE(room, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(room) % 16, 0u);
      std::memset(room, static_cast<int>(taken.size() + 1), bytes);
      taken.emplace_back(room, bytes);
    }
    auto* words = memory.take<std::uint32_t>(1000);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(words) % alignof(std::uint32_t), 0u);
    for (std::size_t t = 0; t < taken.size(); ++t)
      for (std::size_t i = 0; i < taken[t].second; i += 4093)
        ASSERT_EQ(taken[t].first[i], static_cast<char>(t + 1)) << "take " << t << " byte " << i;
  }
}
