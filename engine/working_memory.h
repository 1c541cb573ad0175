// The memory of a search's long lists of rows. A Return lists tens of thousands of rows, and
// its ranking keeps, sorts and merges them in lists of megabytes. Fresh memory traps into the
// kernel once a page on its first touch (engine/page_mapping.h), and the allocator gives a
// long list's pages back to the system between searches, so each Return would pay thousands of
// traps: a list from a MiB up is a mapping of its own in huge pages instead, unmapped when the
// list goes. Shorter lists come from the allocator as before.
#pragma once

#include <cstddef>

namespace quorvi::engine {

// At least `bytes` of room aligned for any value; throws std::bad_alloc when there is none.
void* takeWorkingMemory(std::size_t bytes);
// Gives back what takeWorkingMemory(bytes) took.
void giveBackWorkingMemory(void* taken, std::size_t bytes) noexcept;

template <typename T>
struct WorkingMemory {
  using value_type = T;

  WorkingMemory() = default;
  template <typename U>
  explicit WorkingMemory(const WorkingMemory<U>&) noexcept {}

  T* allocate(std::size_t count) { return static_cast<T*>(takeWorkingMemory(count * sizeof(T))); }
  void deallocate(T* taken, std::size_t count) noexcept {
    giveBackWorkingMemory(taken, count * sizeof(T));
  }
  friend bool operator==(const WorkingMemory&, const WorkingMemory&) { return true; }
};

}  // namespace quorvi::engine
