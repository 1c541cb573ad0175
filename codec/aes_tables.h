// AES lookup tables, generated at compile time from the field arithmetic of GF(2^8) with the
// polynomial x^8 + x^4 + x^3 + x + 1. The values are the published ones; generating them keeps
// typing errors out of 4 KiB of hexadecimal.
//
// Words pack one state column with row 0 in the lowest byte, so a column is a little-endian
// load of four consecutive state bytes and no byte swapping is needed anywhere.
#pragma once

#include <array>
#include <cstdint>

namespace quorvi::codec::aes_tables {

using ByteTable = std::array<std::uint8_t, 256>;
using WordTable = std::array<std::uint32_t, 256>;

constexpr std::uint8_t xtime(std::uint8_t x) {
  return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1b : 0x00));
}

constexpr std::uint8_t gfMul(std::uint8_t a, std::uint8_t b) {
  std::uint8_t product = 0;
  while (b != 0) {
    if (b & 1) product ^= a;
    a = xtime(a);
    b >>= 1;
  }
  return product;
}

constexpr std::uint32_t rotl8(std::uint32_t word) {
  return (word << 8) | (word >> 24);
}

constexpr ByteTable makeSbox() {
  // Powers of the generator 3 walk the whole multiplicative group; the inverse of 3^i is 3^(255-i).
  std::array<std::uint8_t, 256> power{};
  std::uint8_t p = 1;
  for (int i = 0; i < 255; ++i) {
    power[i] = p;
    p = static_cast<std::uint8_t>(p ^ xtime(p));
  }
  ByteTable sbox{};
  for (int i = 0; i < 256; ++i) {
    std::uint8_t inverse = 0;
    if (i != 0) {
      for (int e = 0; e < 255; ++e) {
        if (power[e] == i) {
          inverse = power[(255 - e) % 255];
          break;
        }
      }
    }
    std::uint8_t s = inverse;
    std::uint8_t r = inverse;
    for (int k = 0; k < 4; ++k) {
      r = static_cast<std::uint8_t>((r << 1) | (r >> 7));
      s ^= r;
    }
    sbox[i] = static_cast<std::uint8_t>(s ^ 0x63);
  }
  return sbox;
}

constexpr ByteTable invert(const ByteTable& table) {
  ByteTable inverse{};
  for (int i = 0; i < 256; ++i) inverse[table[i]] = static_cast<std::uint8_t>(i);
  return inverse;
}

constexpr std::uint32_t packColumn(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2,
                                   std::uint8_t r3) {
  return static_cast<std::uint32_t>(r0) | (static_cast<std::uint32_t>(r1) << 8) |
         (static_cast<std::uint32_t>(r2) << 16) | (static_cast<std::uint32_t>(r3) << 24);
}

constexpr WordTable rotateTable(const WordTable& table) {
  WordTable rotated{};
  for (int i = 0; i < 256; ++i) rotated[i] = rotl8(table[i]);
  return rotated;
}

inline constexpr ByteTable kSbox = makeSbox();
inline constexpr ByteTable kInvSbox = invert(kSbox);

// SubBytes + MixColumns for the byte in row 0; tables 1..3 are the same rotated by one row each.
constexpr WordTable makeTe0() {
  WordTable t{};
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t s = kSbox[i];
    t[i] = packColumn(gfMul(s, 2), s, s, gfMul(s, 3));
  }
  return t;
}

// InvMixColumns of a lone byte in row 0 (column 14, 9, 13, 11).
constexpr WordTable makeInvMix0() {
  WordTable t{};
  for (int i = 0; i < 256; ++i) {
    const auto b = static_cast<std::uint8_t>(i);
    t[i] = packColumn(gfMul(b, 14), gfMul(b, 9), gfMul(b, 13), gfMul(b, 11));
  }
  return t;
}

// InvSubBytes + InvMixColumns for the byte in row 0.
constexpr WordTable makeTd0() {
  const WordTable mix = makeInvMix0();
  WordTable t{};
  for (int i = 0; i < 256; ++i) t[i] = mix[kInvSbox[i]];
  return t;
}

inline constexpr WordTable kTe0 = makeTe0();
inline constexpr WordTable kTe1 = rotateTable(kTe0);
inline constexpr WordTable kTe2 = rotateTable(kTe1);
inline constexpr WordTable kTe3 = rotateTable(kTe2);

inline constexpr WordTable kTd0 = makeTd0();
inline constexpr WordTable kTd1 = rotateTable(kTd0);
inline constexpr WordTable kTd2 = rotateTable(kTd1);
inline constexpr WordTable kTd3 = rotateTable(kTd2);

// Used once per decrypting key set-up to move round keys 1..13 into the equivalent inverse cipher.
inline constexpr WordTable kInvMix0 = makeInvMix0();
inline constexpr WordTable kInvMix1 = rotateTable(kInvMix0);
inline constexpr WordTable kInvMix2 = rotateTable(kInvMix1);
inline constexpr WordTable kInvMix3 = rotateTable(kInvMix2);

// Round constants for the AES-256 key schedule (seven are used).
inline constexpr std::array<std::uint8_t, 7> kRcon = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40};

static_assert(kSbox[0x00] == 0x63 && kSbox[0x01] == 0x7c && kSbox[0x53] == 0xed &&
              kSbox[0xff] == 0x16);
static_assert(kInvSbox[0x00] == 0x52 && kInvSbox[0x63] == 0x00);
static_assert(kTe0[0x00] == 0xa56363c6u);  // 2*63=c6, 63, 63, 3*63=a5
static_assert(kTd0[0x00] == 0x50a7f451u);

}  // namespace quorvi::codec::aes_tables
