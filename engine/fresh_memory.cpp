#include "engine/fresh_memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace quorvi::engine {

void mapPagesNow(void* bytes, std::size_t size) {
  constexpr std::uintptr_t kPage = 4096;
  // Only the pages wholly inside; a few pages are not worth the call. A kernel without the
  // call leaves the pages to be mapped as they are touched.
  const auto begin = (reinterpret_cast<std::uintptr_t>(bytes) + kPage - 1) & ~(kPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(bytes) + size) & ~(kPage - 1);
  if (end >= begin + 4 * kPage)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

}  // namespace quorvi::engine
