// AES-256 with the AES-NI instructions. Only these functions are compiled for the AES and
// SSE4.1 instruction sets; the dispatch calls them only after checking the CPU.
#include "codec/aes_internal.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUORVI_AES_HW 1
#define QUORVI_AES_TARGET __attribute__((target("aes,sse4.1")))
#endif

namespace quorvi::codec::aes_detail {

#ifdef QUORVI_AES_HW

bool hardwareSupported() {
  return __builtin_cpu_supports("aes") != 0 && __builtin_cpu_supports("sse4.1") != 0;
}

namespace {

QUORVI_AES_TARGET inline __m128i load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

QUORVI_AES_TARGET inline void store(std::uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// w0 ^ (w0 << 32) ^ (w0 << 64) ^ (w0 << 96): the running XOR of the four previous words.
QUORVI_AES_TARGET inline __m128i prefixXor(__m128i v) {
  v = _mm_xor_si128(v, _mm_slli_si128(v, 4));
  v = _mm_xor_si128(v, _mm_slli_si128(v, 8));
  return v;
}

template <int Rcon>
QUORVI_AES_TARGET inline __m128i nextEven(__m128i even, __m128i odd) {
  const __m128i assist = _mm_shuffle_epi32(_mm_aeskeygenassist_si128(odd, Rcon), 0xff);
  return _mm_xor_si128(prefixXor(even), assist);
}

QUORVI_AES_TARGET inline __m128i nextOdd(__m128i odd, __m128i even) {
  const __m128i assist = _mm_shuffle_epi32(_mm_aeskeygenassist_si128(even, 0), 0xaa);
  return _mm_xor_si128(prefixXor(odd), assist);
}

// The next even round key from the round constant, and the odd one after it unless the even
// one was the last (round key 14).
template <int Rcon>
QUORVI_AES_TARGET inline void nextPair(__m128i& k0, __m128i& k1, RoundKeys& rk, int& r) {
  k0 = nextEven<Rcon>(k0, k1);
  store(rk[r++], k0);
  if (r == 15) return;
  k1 = nextOdd(k1, k0);
  store(rk[r++], k1);
}

// Round keys 2 to 14, one pair per round constant. The constants are template arguments
// because the key-assist instruction takes an immediate.
template <int... Rcon>
QUORVI_AES_TARGET inline void expandRounds(__m128i k0, __m128i k1, RoundKeys& rk) {
  int r = 2;
  (nextPair<Rcon>(k0, k1, rk, r), ...);
}

QUORVI_AES_TARGET void expandKeyHardware(const std::uint8_t key[32], RoundKeys& rk) {
  const __m128i k0 = load(key);
  const __m128i k1 = load(key + 16);
  store(rk[0], k0);
  store(rk[1], k1);
  expandRounds<0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40>(k0, k1, rk);
}

QUORVI_AES_TARGET void prepareDecryptKeysHardware(RoundKeys& rk) {
  for (int r = 1; r < 14; ++r) store(rk[r], _mm_aesimc_si128(load(rk[r])));
}

QUORVI_AES_TARGET void cbcEncryptHardware(const RoundKeys& rk, const std::uint8_t iv[16],
                                          const std::uint8_t* in, std::uint8_t* out,
                                          std::size_t blocks) {
  __m128i k[15];
  for (int r = 0; r < 15; ++r) k[r] = load(rk[r]);
  __m128i chain = load(iv);
  for (std::size_t b = 0; b < blocks; ++b, in += 16, out += 16) {
    __m128i s = _mm_xor_si128(_mm_xor_si128(load(in), chain), k[0]);
    for (int r = 1; r < 14; ++r) s = _mm_aesenc_si128(s, k[r]);
    chain = _mm_aesenclast_si128(s, k[14]);
    store(out, chain);
  }
}

QUORVI_AES_TARGET void cbcDecryptHardware(const RoundKeys& rk, const std::uint8_t iv[16],
                                          const std::uint8_t* in, std::uint8_t* out,
                                          std::size_t blocks) {
  __m128i k[15];
  for (int r = 0; r < 15; ++r) k[r] = load(rk[r]);
  __m128i chain = load(iv);
  std::size_t b = 0;
  if (wideHardwareSupported()) {
    alignas(16) std::uint8_t wideChain[16];
    store(wideChain, chain);
    b = cbcDecryptWide(rk, wideChain, in, out, blocks);
    chain = load(wideChain);
    in += 16 * b;
    out += 16 * b;
  }
  constexpr std::size_t kLanes = 8;
  // CBC decryption is parallel: eight independent blocks keep the AES unit busy.
  for (; b + kLanes <= blocks; b += kLanes, in += 16 * kLanes, out += 16 * kLanes) {
    __m128i c[kLanes], s[kLanes];
    for (std::size_t i = 0; i < kLanes; ++i) {
      c[i] = load(in + 16 * i);
      s[i] = _mm_xor_si128(c[i], k[14]);
    }
    for (int r = 13; r > 0; --r)
      for (std::size_t i = 0; i < kLanes; ++i) s[i] = _mm_aesdec_si128(s[i], k[r]);
    for (std::size_t i = 0; i < kLanes; ++i) s[i] = _mm_aesdeclast_si128(s[i], k[0]);
    store(out, _mm_xor_si128(s[0], chain));
    for (std::size_t i = 1; i < kLanes; ++i) store(out + 16 * i, _mm_xor_si128(s[i], c[i - 1]));
    chain = c[kLanes - 1];
  }
  for (; b < blocks; ++b, in += 16, out += 16) {
    const __m128i c = load(in);
    __m128i s = _mm_xor_si128(c, k[14]);
    for (int r = 13; r > 0; --r) s = _mm_aesdec_si128(s, k[r]);
    s = _mm_aesdeclast_si128(s, k[0]);
    store(out, _mm_xor_si128(s, chain));
    chain = c;
  }
}

}  // namespace

const AesFunctions kHardwareAes = {expandKeyHardware, prepareDecryptKeysHardware,
                                   cbcEncryptHardware, cbcDecryptHardware};

#else  // no AES instructions on this architecture

bool hardwareSupported() {
  return false;
}
// Never chosen, as hardwareSupported() is false; the portable table is constant-initialized.
const AesFunctions kHardwareAes = kPortableAes;

#endif

}  // namespace quorvi::codec::aes_detail
