// Fresh memory mapped so that its first touch is cheap. Mapping a page of fresh memory traps
// into the kernel on its first touch, and on a virtual machine that trap costs more than most
// of what a search does with the page; a huge page takes one trap where small pages take 512.
#pragma once

#include <cstddef>

namespace quorvi::engine {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

constexpr std::size_t roundUpTo(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

// Maps `size` bytes, a multiple of kHugePage, from a huge page's boundary, the first
// `hugeBytes` of them advised as huge pages (a kernel without them maps small ones as they are
// touched). Untouched, the range takes no memory. Nullptr when it cannot be mapped.
char* mapFromHugePage(std::size_t size, std::size_t hugeBytes);

// Maps the pages wholly inside `bytes` now, in one call, where touching each would trap once a
// page.
void mapPagesNow(void* bytes, std::size_t size);

}  // namespace quorvi::engine
