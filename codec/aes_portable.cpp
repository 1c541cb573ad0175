// Table-driven AES-256: byte-wise key schedule, rotated T-tables for encryption and the
// equivalent inverse cipher (FIPS-197 5.3.5) for decryption, CBC over whole blocks.
#include <cstring>

#include "codec/aes_internal.h"
#include "codec/byte_order.h"
#include "codec/aes_tables.h"

namespace quorvi::codec::aes_detail {

namespace {

using namespace aes_tables;

inline std::uint8_t b0(std::uint32_t w) {
  return static_cast<std::uint8_t>(w);
}
inline std::uint8_t b1(std::uint32_t w) {
  return static_cast<std::uint8_t>(w >> 8);
}
inline std::uint8_t b2(std::uint32_t w) {
  return static_cast<std::uint8_t>(w >> 16);
}
inline std::uint8_t b3(std::uint32_t w) {
  return static_cast<std::uint8_t>(w >> 24);
}

// Round keys as words, loaded once per CBC pass.
struct KeyWords {
  std::uint32_t w[15][4];
  explicit KeyWords(const RoundKeys& rk) {
    for (int r = 0; r < 15; ++r)
      for (int c = 0; c < 4; ++c) w[r][c] = loadLe32(&rk[r][4 * c]);
  }
};

// The rounds both directions share, from round key `First` towards the other end. Column c
// of a round takes byte j of column c + j * Step: Step 1 is ShiftRows, Step 3 its inverse.
template <int First, int Step, const WordTable& T0, const WordTable& T1, const WordTable& T2,
          const WordTable& T3, const ByteTable& Box>
inline void cipherBlock(const KeyWords& k, std::uint32_t s[4]) {
  constexpr int kLast = 14 - First;
  constexpr int kNext = First < kLast ? 1 : -1;
  std::uint32_t x[4];
  for (int c = 0; c < 4; ++c) x[c] = s[c] ^ k.w[First][c];
  const auto at = [&x](int c, int j) { return x[(c + j * Step) & 3]; };
  for (int r = First + kNext; r != kLast; r += kNext) {
    std::uint32_t t[4];
    for (int c = 0; c < 4; ++c)
      t[c] = T0[b0(at(c, 0))] ^ T1[b1(at(c, 1))] ^ T2[b2(at(c, 2))] ^ T3[b3(at(c, 3))] ^ k.w[r][c];
    for (int c = 0; c < 4; ++c) x[c] = t[c];
  }
  for (int c = 0; c < 4; ++c)
    s[c] = packColumn(Box[b0(at(c, 0))], Box[b1(at(c, 1))], Box[b2(at(c, 2))], Box[b3(at(c, 3))]) ^
           k.w[kLast][c];
}

inline void encryptBlock(const KeyWords& k, std::uint32_t s[4]) {
  cipherBlock<0, 1, kTe0, kTe1, kTe2, kTe3, kSbox>(k, s);
}

// Equivalent inverse cipher: round keys 1..13 already went through InvMixColumns.
inline void decryptBlock(const KeyWords& k, std::uint32_t s[4]) {
  cipherBlock<14, 3, kTd0, kTd1, kTd2, kTd3, kInvSbox>(k, s);
}

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
      storeLe32(&roundKeys[r][4 * c],
                kInvMix0[col[0]] ^ kInvMix1[col[1]] ^ kInvMix2[col[2]] ^ kInvMix3[col[3]]);
    }
  }
}

void cbcEncryptPortable(const RoundKeys& roundKeys, const std::uint8_t iv[16],
                        const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  const KeyWords k(roundKeys);
  std::uint32_t chain[4] = {loadLe32(iv), loadLe32(iv + 4), loadLe32(iv + 8), loadLe32(iv + 12)};
  for (std::size_t b = 0; b < blocks; ++b, in += 16, out += 16) {
    for (int c = 0; c < 4; ++c) chain[c] ^= loadLe32(in + 4 * c);
    encryptBlock(k, chain);
    for (int c = 0; c < 4; ++c) storeLe32(out + 4 * c, chain[c]);
  }
}

void cbcDecryptPortable(const RoundKeys& roundKeys, const std::uint8_t iv[16],
                        const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  const KeyWords k(roundKeys);
  std::uint32_t chain[4] = {loadLe32(iv), loadLe32(iv + 4), loadLe32(iv + 8), loadLe32(iv + 12)};
  for (std::size_t b = 0; b < blocks; ++b, in += 16, out += 16) {
    // Read the whole ciphertext block before writing, so in == out works.
    std::uint32_t cipherText[4] = {loadLe32(in), loadLe32(in + 4), loadLe32(in + 8),
                                   loadLe32(in + 12)};
    std::uint32_t s[4] = {cipherText[0], cipherText[1], cipherText[2], cipherText[3]};
    decryptBlock(k, s);
    for (int c = 0; c < 4; ++c) {
      storeLe32(out + 4 * c, s[c] ^ chain[c]);
      chain[c] = cipherText[c];
    }
  }
}

}  // namespace

const AesFunctions kPortableAes = {expandKeyPortable, prepareDecryptKeysPortable,
                                   cbcEncryptPortable, cbcDecryptPortable};

}  // namespace quorvi::codec::aes_detail
