// SHA-256 compression with the x86 SHA extensions. Only this function is compiled for the SHA
// and SSE4.1 instruction sets; the dispatch calls it only after checking the CPU.
#include "codec/sha256_internal.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define QUORVI_SHA_HW 1
#endif

namespace quorvi::codec::sha256_detail {

#ifdef QUORVI_SHA_HW

bool hardwareSupported() {
  // Not every compiler knows "sha" for __builtin_cpu_supports; ask CPUID leaf 7 directly.
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) return false;
  const bool sha = (ebx & (1u << 29)) != 0;
  return sha && __builtin_cpu_supports("sse4.1") != 0;
}

__attribute__((target("sha,sse4.1"))) void compressHardware(std::uint32_t h[8],
                                                            const std::uint8_t* data,
                                                            std::size_t blocks) {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);

  // The round instructions keep the state as the word pairs ABEF and CDGH.
  __m128i abcd = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h));
  __m128i efgh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + 4));
  abcd = _mm_shuffle_epi32(abcd, 0xb1);                // b a d c
  efgh = _mm_shuffle_epi32(efgh, 0x1b);                // h g f e
  __m128i state0 = _mm_alignr_epi8(abcd, efgh, 8);     // ABEF
  __m128i state1 = _mm_blend_epi16(efgh, abcd, 0xf0);  // CDGH

  for (; blocks > 0; --blocks, data += 64) {
    const __m128i saved0 = state0;
    const __m128i saved1 = state1;
    __m128i m[4];
    for (int g = 0; g < 16; ++g) {
      __m128i& current = m[g & 3];
      if (g < 4) {
        current = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)),
                                   byteSwap);
      }
      __m128i message = _mm_add_epi32(
          current, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kRoundConstants[4 * g])));
      state1 = _mm_sha256rnds2_epu32(state1, state0, message);
      if (g >= 3 && g < 15) {
        // Finish the schedule words of the next group: add W[t-7] and sigma1 of W[t-2].
        __m128i& next = m[(g + 1) & 3];
        next = _mm_add_epi32(next, _mm_alignr_epi8(current, m[(g + 3) & 3], 4));
        next = _mm_sha256msg2_epu32(next, current);
      }
      message = _mm_shuffle_epi32(message, 0x0e);
      state0 = _mm_sha256rnds2_epu32(state0, state1, message);
      if (g >= 1 && g < 13) {
        // Start the schedule words three groups ahead: W[t-16] + sigma0 of W[t-15].
        __m128i& ahead = m[(g + 3) & 3];
        ahead = _mm_sha256msg1_epu32(ahead, current);
      }
    }
    state0 = _mm_add_epi32(state0, saved0);
    state1 = _mm_add_epi32(state1, saved1);
  }

  const __m128i feba = _mm_shuffle_epi32(state0, 0x1b);
  const __m128i dchg = _mm_shuffle_epi32(state1, 0xb1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(h), _mm_blend_epi16(feba, dchg, 0xf0));   // a b c d
  _mm_storeu_si128(reinterpret_cast<__m128i*>(h + 4), _mm_alignr_epi8(dchg, feba, 8));  // e f g h
}

#else  // no SHA instructions on this architecture

bool hardwareSupported() {
  return false;
}
void compressHardware(std::uint32_t h[8], const std::uint8_t* data, std::size_t blocks) {
  compressPortable(h, data, blocks);
}

#endif

}  // namespace quorvi::codec::sha256_detail
