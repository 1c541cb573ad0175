#include "engine/working_memory.h"

#include <sys/mman.h>

#include <new>

#include "engine/page_mapping.h"

namespace quorvi::engine {
namespace {

// A list this long is mapped in huge pages; the last one is at least half used.
constexpr std::size_t kLeastMapped = std::size_t{1} << 20;

}  // namespace

void* takeWorkingMemory(std::size_t bytes) {
  if (bytes < kLeastMapped) return ::operator new(bytes);
  char* mapped = mapFromHugePage(roundUpTo(bytes, kHugePage), roundUpTo(bytes, kHugePage));
  if (mapped == nullptr) throw std::bad_alloc();
  return mapped;
}

void giveBackWorkingMemory(void* taken, std::size_t bytes) noexcept {
  if (bytes < kLeastMapped)
    ::operator delete(taken);
  else
    munmap(taken, roundUpTo(bytes, kHugePage));
}

}  // namespace quorvi::engine
