// The memory a store's groups of rows are read into (engine/row_store.h): taken in order from
// one range mapped for them all, its first 8 MiB backed by huge pages where the kernel can, and
// given back only with the store (engine/page_mapping.h says why huge pages: on a virtual
// machine the first touch of a small page is the larger part of reading a group). Never zeroed:
// the reader fills what it takes.
#pragma once

#include <cstddef>
#include <vector>

namespace quorvi::engine {

class GroupMemory {
 public:
  // Huge pages for no more than this: a short search reads less, and past it small pages keep
  // the memory a whole store takes to what it holds.
  static constexpr std::size_t kHugeBytes = std::size_t{8} << 20;

  // `hugePages` false: each take its own allocation, for a group on its own.
  explicit GroupMemory(bool hugePages = true) : hugePages_(hugePages) {}
  ~GroupMemory();
  GroupMemory(const GroupMemory&) = delete;
  GroupMemory& operator=(const GroupMemory&) = delete;

  // Maps, before anything is taken, the range that what is taken fills from its start: at
  // least `bytes`. Untouched, it takes no memory; what passes it is mapped as it is taken.
  void reserve(std::size_t bytes);
  // Room for `count` values of T, aligned for it; throws std::bad_alloc when none is left.
  // One thread at a time (the store's reader).
  template <typename T>
  T* take(std::size_t count) {
    static_assert(alignof(T) <= kAlignment);
    return static_cast<T*>(takeBytes(count * sizeof(T)));
  }

 private:
  static constexpr std::size_t kAlignment = 16;
  void* takeBytes(std::size_t bytes);
  // Maps a range of at least `bytes` and takes from it from now on; false when it cannot.
  bool mapRange(std::size_t bytes);

  struct Block {
    char* base;
    std::size_t size;  // 0: allocated with malloc
  };
  bool hugePages_;
  std::size_t hugeLeft_ = kHugeBytes;
  std::vector<Block> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
};

}  // namespace quorvi::engine
