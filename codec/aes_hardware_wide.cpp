// CBC decryption with the VAES instructions: AES rounds on two blocks per instruction, sixteen
// independent blocks in flight. CBC decryption has no chain between the block decryptions,
// only in the final XOR with the ciphertext before each block. Only this function is compiled
// for VAES and AVX2; the dispatch calls it only after checking the CPU.
#include "codec/aes_internal.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define QUORVI_AES_WIDE 1
#define QUORVI_AES_WIDE_TARGET __attribute__((target("vaes,avx2,aes,sse4.1")))
#endif

namespace quorvi::codec::aes_detail {

#ifdef QUORVI_AES_WIDE

namespace {

// Not every compiler knows "vaes" for __builtin_cpu_supports; ask CPUID leaf 7 directly.
bool cpuHasVaes() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) return false;
  return (ecx & bit_VAES) != 0;
}

}  // namespace

bool wideHardwareSupported() {
  static const bool supported =
      cpuHasVaes() && __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("aes") != 0;
  return supported;
}

namespace {

QUORVI_AES_WIDE_TARGET inline __m256i load2(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

}  // namespace

QUORVI_AES_WIDE_TARGET std::size_t cbcDecryptWide(const RoundKeys& rk, std::uint8_t chainBlock[16],
                                                  const std::uint8_t* in, std::uint8_t* out,
                                                  std::size_t blocks) {
  constexpr std::size_t kLanes = 8;  // registers of two blocks each
  constexpr std::size_t kGroup = 2 * kLanes;
  __m256i k[15];
  for (int r = 0; r < 15; ++r)
    k[r] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rk[r])));
  __m128i chain = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chainBlock));
  std::size_t b = 0;
  for (; b + kGroup <= blocks; b += kGroup, in += 16 * kGroup, out += 16 * kGroup) {
    // Everything is read before anything is written: in and out may be the same.
    __m256i s[kLanes], previous[kLanes];
    previous[0] = _mm256_set_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), chain);
    for (std::size_t i = 1; i < kLanes; ++i) previous[i] = load2(in + 32 * i - 16);
    for (std::size_t i = 0; i < kLanes; ++i) s[i] = _mm256_xor_si256(load2(in + 32 * i), k[14]);
    chain = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * (kGroup - 1)));
    for (int r = 13; r > 0; --r)
      for (std::size_t i = 0; i < kLanes; ++i) s[i] = _mm256_aesdec_epi128(s[i], k[r]);
    for (std::size_t i = 0; i < kLanes; ++i) {
      s[i] = _mm256_xor_si256(_mm256_aesdeclast_epi128(s[i], k[0]), previous[i]);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32 * i), s[i]);
    }
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(chainBlock), chain);
  return b;
}

#else  // no VAES on this architecture

bool wideHardwareSupported() {
  return false;
}
std::size_t cbcDecryptWide(const RoundKeys&, std::uint8_t[16], const std::uint8_t*, std::uint8_t*,
                           std::size_t) {
  return 0;
}

#endif

}  // namespace quorvi::codec::aes_detail
