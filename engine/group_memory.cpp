#include "engine/group_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace quorvi::engine {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

}  // namespace

GroupMemory::~GroupMemory() {
  for (const Block& block : blocks_) {
    if (block.size == 0)
      std::free(block.base);
    else
      munmap(block.base, block.size);
  }
}

bool GroupMemory::mapRange(std::size_t bytes) {
  const std::size_t size = roundUp(bytes, kHugePage);
  blocks_.reserve(blocks_.size() + 1);
  // One huge page more, to start at a huge page's boundary.
  void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) return false;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = roundUp(start, kHugePage);
  if (aligned > start) munmap(mapped, aligned - start);
  if (const std::uintptr_t tail = start + kHugePage - aligned; tail > 0)
    munmap(reinterpret_cast<void*>(aligned + size), tail);
  auto* base = reinterpret_cast<char*>(aligned);
  // A kernel without huge pages maps small ones as they are touched.
  if (const std::size_t huge = std::min(size, hugeLeft_); huge > 0) {
    madvise(base, huge, MADV_HUGEPAGE);
    hugeLeft_ -= huge;
  }
  blocks_.push_back({base, size});
  next_ = base;
  end_ = base + size;
  return true;
}

void GroupMemory::reserve(std::size_t bytes) {
  if (hugePages_ && blocks_.empty() && bytes > 0) mapRange(bytes);
}

void* GroupMemory::takeBytes(std::size_t bytes) {
  bytes = roundUp(std::max<std::size_t>(bytes, 1), kAlignment);
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

void mapPagesNow(void* bytes, std::size_t size) {
  constexpr std::uintptr_t kPage = 4096;
  // Only the pages wholly inside; a kernel without the call maps them as they are touched.
  const auto begin = roundUp(reinterpret_cast<std::uintptr_t>(bytes), kPage);
  const auto end = (reinterpret_cast<std::uintptr_t>(bytes) + size) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

}  // namespace quorvi::engine
