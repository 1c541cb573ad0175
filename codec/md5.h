// MD5 (RFC 1321). The page codec uses it only to turn a page number into a page IV.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvi::codec {

struct Md5Context {
  std::uint32_t state[4] = {};     // chaining words
  std::uint32_t bitCount[2] = {};  // message length in bits, low word first
  std::uint8_t buffer[64] = {};    // pending data
};

void md5Init(Md5Context& context);
void md5Update(Md5Context& context, const void* data, std::size_t count);
void md5Final(Md5Context& context, std::uint8_t digest[16]);

// Digest of exactly 16 bytes in one padded block, without buffering (the page IV input).
void md5Of16Bytes(const std::uint8_t data[16], std::uint8_t digest[16]);

}  // namespace quorvi::codec
