// Table-driven AES-256: byte-wise key schedule, rotated T-tables for encryption and the
// equivalent inverse cipher (FIPS-197 5.3.5) for decryption, CBC over whole blocks.
#include <cstring>

#include "codec/aes_internal.h"
#include "codec/byte_order.h"
#include "codec/aes_tables.h"

namespace quorvi::codec::aes_detail {

namespace {

using namespace aes_tables;

inline std::uint8_t b0(std::uint32_t w) { return static_cast<std::uint8_t>(w); }
inline std::uint8_t b1(std::uint32_t w) { return static_cast<std::uint8_t>(w >> 8); }
inline std::uint8_t b2(std::uint32_t w) { return static_cast<std::uint8_t>(w >> 16); }
inline std::uint8_t b3(std::uint32_t w) { return static_cast<std::uint8_t>(w >> 24); }

// Round keys as words, loaded once per CBC pass.
struct KeyWords {
  std::uint32_t w[15][4];
  explicit KeyWords(const RoundKeys& rk) {
    for (int r = 0; r < 15; ++r)
      for (int c = 0; c < 4; ++c) w[r][c] = loadLe32(&rk[r][4 * c]);
  }
};

inline void encryptBlock(const KeyWords& k, std::uint32_t s[4]) {
  std::uint32_t s0 = s[0] ^ k.w[0][0], s1 = s[1] ^ k.w[0][1], s2 = s[2] ^ k.w[0][2], s3 = s[3] ^ k.w[0][3];
  for (int r = 1; r < 14; ++r) {
    const std::uint32_t t0 = kTe0[b0(s0)] ^ kTe1[b1(s1)] ^ kTe2[b2(s2)] ^ kTe3[b3(s3)] ^ k.w[r][0];
    const std::uint32_t t1 = kTe0[b0(s1)] ^ kTe1[b1(s2)] ^ kTe2[b2(s3)] ^ kTe3[b3(s0)] ^ k.w[r][1];
    const std::uint32_t t2 = kTe0[b0(s2)] ^ kTe1[b1(s3)] ^ kTe2[b2(s0)] ^ kTe3[b3(s1)] ^ k.w[r][2];
    const std::uint32_t t3 = kTe0[b0(s3)] ^ kTe1[b1(s0)] ^ kTe2[b2(s1)] ^ kTe3[b3(s2)] ^ k.w[r][3];
    s0 = t0; s1 = t1; s2 = t2; s3 = t3;
  }
  s[0] = packColumn(kSbox[b0(s0)], kSbox[b1(s1)], kSbox[b2(s2)], kSbox[b3(s3)]) ^ k.w[14][0];
  s[1] = packColumn(kSbox[b0(s1)], kSbox[b1(s2)], kSbox[b2(s3)], kSbox[b3(s0)]) ^ k.w[14][1];
  s[2] = packColumn(kSbox[b0(s2)], kSbox[b1(s3)], kSbox[b2(s0)], kSbox[b3(s1)]) ^ k.w[14][2];
  s[3] = packColumn(kSbox[b0(s3)], kSbox[b1(s0)], kSbox[b2(s1)], kSbox[b3(s2)]) ^ k.w[14][3];
}

// Equivalent inverse cipher: round keys 1..13 already went through InvMixColumns.
inline void decryptBlock(const KeyWords& k, std::uint32_t s[4]) {
  std::uint32_t s0 = s[0] ^ k.w[14][0], s1 = s[1] ^ k.w[14][1], s2 = s[2] ^ k.w[14][2], s3 = s[3] ^ k.w[14][3];
  for (int r = 13; r > 0; --r) {
    const std::uint32_t t0 = kTd0[b0(s0)] ^ kTd1[b1(s3)] ^ kTd2[b2(s2)] ^ kTd3[b3(s1)] ^ k.w[r][0];
    const std::uint32_t t1 = kTd0[b0(s1)] ^ kTd1[b1(s0)] ^ kTd2[b2(s3)] ^ kTd3[b3(s2)] ^ k.w[r][1];
    const std::uint32_t t2 = kTd0[b0(s2)] ^ kTd1[b1(s1)] ^ kTd2[b2(s0)] ^ kTd3[b3(s3)] ^ k.w[r][2];
    const std::uint32_t t3 = kTd0[b0(s3)] ^ kTd1[b1(s2)] ^ kTd2[b2(s1)] ^ kTd3[b3(s0)] ^ k.w[r][3];
    s0 = t0; s1 = t1; s2 = t2; s3 = t3;
  }
  s[0] = packColumn(kInvSbox[b0(s0)], kInvSbox[b1(s3)], kInvSbox[b2(s2)], kInvSbox[b3(s1)]) ^ k.w[0][0];
  s[1] = packColumn(kInvSbox[b0(s1)], kInvSbox[b1(s0)], kInvSbox[b2(s3)], kInvSbox[b3(s2)]) ^ k.w[0][1];
  s[2] = packColumn(kInvSbox[b0(s2)], kInvSbox[b1(s1)], kInvSbox[b2(s0)], kInvSbox[b3(s3)]) ^ k.w[0][2];
  s[3] = packColumn(kInvSbox[b0(s3)], kInvSbox[b1(s2)], kInvSbox[b2(s1)], kInvSbox[b3(s0)]) ^ k.w[0][3];
}

}  // namespace

void expandKeyPortable(const std::uint8_t key[32], RoundKeys& roundKeys) {
  // The schedule as a flat run of 240 bytes: the 4 x 8 key matrix, then each new 4-byte word is
  // the word 32 bytes back XORed with the previous word (rotated, substituted and offset by a
  // round constant at the start of every 32 bytes, substituted half-way through).
  std::uint8_t* w = &roundKeys[0][0];
  std::memcpy(w, key, 32);
  int rcon = 0;
  for (int i = 32; i < 240; i += 4) {
    std::uint8_t t0 = w[i - 4], t1 = w[i - 3], t2 = w[i - 2], t3 = w[i - 1];
    if (i % 32 == 0) {
      const std::uint8_t first = t0;
      t0 = static_cast<std::uint8_t>(kSbox[t1] ^ kRcon[rcon++]);
      t1 = kSbox[t2];
      t2 = kSbox[t3];
      t3 = kSbox[first];
    } else if (i % 32 == 16) {
      t0 = kSbox[t0];
      t1 = kSbox[t1];
      t2 = kSbox[t2];
      t3 = kSbox[t3];
    }
    w[i] = w[i - 32] ^ t0;
    w[i + 1] = w[i - 31] ^ t1;
    w[i + 2] = w[i - 30] ^ t2;
    w[i + 3] = w[i - 29] ^ t3;
  }
}

void prepareDecryptKeysPortable(RoundKeys& roundKeys) {
  for (int r = 1; r < 14; ++r) {
    for (int c = 0; c < 4; ++c) {
      const std::uint8_t* col = &roundKeys[r][4 * c];
      storeLe32(&roundKeys[r][4 * c], kInvMix0[col[0]] ^ kInvMix1[col[1]] ^ kInvMix2[col[2]] ^ kInvMix3[col[3]]);
    }
  }
}

void cbcEncryptPortable(const RoundKeys& roundKeys, const std::uint8_t iv[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks) {
  const KeyWords k(roundKeys);
  std::uint32_t chain[4] = {loadLe32(iv), loadLe32(iv + 4), loadLe32(iv + 8), loadLe32(iv + 12)};
  for (std::size_t b = 0; b < blocks; ++b, in += 16, out += 16) {
    for (int c = 0; c < 4; ++c) chain[c] ^= loadLe32(in + 4 * c);
    encryptBlock(k, chain);
    for (int c = 0; c < 4; ++c) storeLe32(out + 4 * c, chain[c]);
  }
}

void cbcDecryptPortable(const RoundKeys& roundKeys, const std::uint8_t iv[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks) {
  const KeyWords k(roundKeys);
  std::uint32_t chain[4] = {loadLe32(iv), loadLe32(iv + 4), loadLe32(iv + 8), loadLe32(iv + 12)};
  for (std::size_t b = 0; b < blocks; ++b, in += 16, out += 16) {
    // Read the whole ciphertext block before writing, so in == out works.
    std::uint32_t cipherText[4] = {loadLe32(in), loadLe32(in + 4), loadLe32(in + 8), loadLe32(in + 12)};
    std::uint32_t s[4] = {cipherText[0], cipherText[1], cipherText[2], cipherText[3]};
    decryptBlock(k, s);
    for (int c = 0; c < 4; ++c) {
      storeLe32(out + 4 * c, s[c] ^ chain[c]);
      chain[c] = cipherText[c];
    }
  }
}

}  // namespace quorvi::codec::aes_detail
