// Memory a reader is about to fill whole: not zeroed first, and its pages mapped in one call,
// where touching each page as the filling reaches it would trap into the kernel once a page
// (on a virtual machine the larger part of reading a group of rows).
#pragma once

#include <cstddef>
#include <memory>

namespace quorvi::engine {

void mapPagesNow(void* bytes, std::size_t size);

template <typename T>
std::unique_ptr<T[]> freshArray(std::size_t count) {
  auto array = std::make_unique_for_overwrite<T[]>(count);
  mapPagesNow(array.get(), count * sizeof(T));
  return array;
}

}  // namespace quorvi::engine
