#include "engine/page_mapping.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

namespace quorvi::engine {

char* mapFromHugePage(std::size_t size, std::size_t hugeBytes) {
  // One huge page more, to start at a huge page's boundary.
  void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = roundUpTo(start, kHugePage);
  if (aligned > start) munmap(mapped, aligned - start);
  if (const std::uintptr_t tail = start + kHugePage - aligned; tail > 0)
    munmap(reinterpret_cast<void*>(aligned + size), tail);
  auto* base = reinterpret_cast<char*>(aligned);
  if (const std::size_t huge = std::min(size, hugeBytes); huge > 0)
    madvise(base, huge, MADV_HUGEPAGE);
  return base;
}

void mapPagesNow(void* bytes, std::size_t size) {
  constexpr std::uintptr_t kPage = 4096;
  // Only the pages wholly inside; a kernel without the call maps them as they are touched.
  const auto begin = roundUpTo(reinterpret_cast<std::uintptr_t>(bytes), kPage);
  const auto end = (reinterpret_cast<std::uintptr_t>(bytes) + size) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

}  // namespace quorvi::engine
