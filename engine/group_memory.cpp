#include "engine/group_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "engine/page_mapping.h"

namespace quorvi::engine {

GroupMemory::~GroupMemory() {
  for (const Block& block : blocks_) {
    if (block.size == 0)
      std::free(block.base);
    else
      munmap(block.base, block.size);
  }
}

bool GroupMemory::mapRange(std::size_t bytes) {
  const std::size_t size = roundUpTo(bytes, kHugePage);
  blocks_.reserve(blocks_.size() + 1);
  char* base = mapFromHugePage(size, hugeLeft_);
  if (base == nullptr) return false;
  hugeLeft_ -= std::min(size, hugeLeft_);
  blocks_.push_back({base, size});
  next_ = base;
  end_ = base + size;
  return true;
}

void GroupMemory::reserve(std::size_t bytes) {
  if (hugePages_ && blocks_.empty() && bytes > 0) mapRange(bytes);
}

void* GroupMemory::takeBytes(std::size_t bytes) {
  bytes = roundUpTo(std::max<std::size_t>(bytes, 1), kAlignment);
  if (!hugePages_) {
    blocks_.reserve(blocks_.size() + 1);
    auto* taken = static_cast<char*>(std::malloc(bytes));
    if (taken == nullptr) throw std::bad_alloc();
    blocks_.push_back({taken, 0});
    return taken;
  }
  // What is left of the range before stays untouched, and so takes no memory.
  if (bytes > static_cast<std::size_t>(end_ - next_) && !mapRange(bytes)) throw std::bad_alloc();
  void* taken = next_;
  next_ += bytes;
  return taken;
}

}  // namespace quorvi::engine
