// MD5 as in RFC 1321: little-endian words, four rounds of sixteen steps.
#include "codec/md5.h"

#include <bit>
#include <cstring>

#include "codec/byte_order.h"

namespace quorvi::codec {

namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr std::uint32_t kInitial[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

void transform(std::uint32_t state[4], const std::uint8_t block[64]) {
  std::uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = loadLe32(block + 4 * i);
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 64; ++i) {
    const int round = i / 16;
    std::uint32_t f;
    int index;
    switch (round) {
      case 0:
        f = (b & c) | (~b & d);
        index = i;
        break;
      case 1:
        f = (d & b) | (~d & c);
        index = (5 * i + 1) & 15;
        break;
      case 2:
        f = b ^ c ^ d;
        index = (3 * i + 5) & 15;
        break;
      default:
        f = c ^ (b | ~d);
        index = (7 * i) & 15;
        break;
    }
    const std::uint32_t next = b + std::rotl(a + f + kSine[i] + x[index], kShift[round][i & 3]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void md5Init(Md5Context& context) {
  std::memcpy(context.state, kInitial, sizeof kInitial);
  context.bitCount[0] = 0;
  context.bitCount[1] = 0;
}

void md5Update(Md5Context& context, const void* data, std::size_t count) {
  if (data == nullptr || count == 0) return;
  auto bytes = static_cast<const std::uint8_t*>(data);
  std::size_t used = (context.bitCount[0] >> 3) & 63;
  const std::uint64_t bits =
      (static_cast<std::uint64_t>(context.bitCount[1]) << 32 | context.bitCount[0]) +
      static_cast<std::uint64_t>(count) * 8;
  context.bitCount[0] = static_cast<std::uint32_t>(bits);
  context.bitCount[1] = static_cast<std::uint32_t>(bits >> 32);
  if (used > 0) {
    const std::size_t take = count < 64 - used ? count : 64 - used;
    std::memcpy(context.buffer + used, bytes, take);
    used += take;
    bytes += take;
    count -= take;
    if (used < 64) return;
    transform(context.state, context.buffer);
  }
  for (; count >= 64; count -= 64, bytes += 64) transform(context.state, bytes);
  std::memcpy(context.buffer, bytes, count);
}

void md5Final(Md5Context& context, std::uint8_t digest[16]) {
  std::uint8_t lengthField[8];
  storeLe32(lengthField, context.bitCount[0]);
  storeLe32(lengthField + 4, context.bitCount[1]);
  const std::size_t used = (context.bitCount[0] >> 3) & 63;
  static constexpr std::uint8_t kPadding[64] = {0x80};
  md5Update(context, kPadding, used < 56 ? 56 - used : 120 - used);
  md5Update(context, lengthField, 8);
  for (int i = 0; i < 4; ++i) storeLe32(digest + 4 * i, context.state[i]);
  md5Init(context);
}

void md5Of16Bytes(const std::uint8_t data[16], std::uint8_t digest[16]) {
  std::uint8_t block[64] = {};
  std::memcpy(block, data, 16);
  block[16] = 0x80;
  block[56] = 128;  // 16 bytes = 128 bits, little-endian
  std::uint32_t state[4] = {kInitial[0], kInitial[1], kInitial[2], kInitial[3]};
  transform(state, block);
  for (int i = 0; i < 4; ++i) storeLe32(digest + 4 * i, state[i]);
}

}  // namespace quorvi::codec
