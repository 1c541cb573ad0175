// 32- and 64-bit words read from and written to bytes in a fixed order, whatever the
// machine's own: little-endian for AES and MD5, big-endian for SHA-256 and the journal fields.
#pragma once

#include <cstdint>

namespace quorvi::codec {

inline std::uint32_t loadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint32_t loadBe32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

inline void storeLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void storeBe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

inline void storeBe64(std::uint8_t* p, std::uint64_t v) {
  storeBe32(p, static_cast<std::uint32_t>(v >> 32));
  storeBe32(p + 4, static_cast<std::uint32_t>(v));
}

}  // namespace quorvi::codec
