// The REGEXP dialect: how a pattern is compiled and how far one match may go. The module and
// the engine's in-memory search rows both follow it, so a pattern answers alike on both paths
// and a pattern that the module stops is stopped there too.
#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <pcre2.h>

#include <cstdint>

namespace quorvi::regexp {

// UTF-8, any case; bytes that are not UTF-8 never match instead of failing the pattern.
inline constexpr std::uint32_t kCompileOptions =
    PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_CASELESS;

// Bounds on one match. A headword or transcription is short, so honest patterns stay far
// below these; a pattern that backtracks catastrophically reaches them within milliseconds.
inline constexpr std::uint32_t kMatchLimit = 1000000;
inline constexpr std::uint32_t kDepthLimit = 2000;
inline constexpr std::uint32_t kHeapLimitKiB = 20 * 1024;

// Applies the bounds above to a match context.
inline void applyMatchLimits(pcre2_match_context* context) {
  pcre2_set_match_limit(context, kMatchLimit);
  pcre2_set_depth_limit(context, kDepthLimit);
  pcre2_set_heap_limit(context, kHeapLimitKiB);
}

// True for the results of pcre2_match that mean a bound was reached.
inline bool reachedMatchLimit(int rc) {
  return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
         rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT;
}

}  // namespace quorvi::regexp
