#include "engine/spelling_rows.h"

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <tuple>
#include <vector>

#include "regexp/regexp_dialect.h"

namespace quorvi::engine {
namespace {

constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 1024 * 1024;
// Rows matched between two looks at the clock and at the stop flag.
constexpr std::uint32_t kCheckEvery = 512;

std::int64_t threadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::string pcreMessage(int errorCode) {
  PCRE2_UCHAR buffer[256];
  if (pcre2_get_error_message(errorCode, buffer, sizeof buffer) < 0) return "unknown error";
  return reinterpret_cast<const char*>(buffer);
}

// The pattern three times over, each JIT-compiled when the machine allows: as typed (a match
// anywhere), anchored at the start, and anchored at both ends (the whole headword). Anchoring
// at match time would leave the JIT for the interpreter.
class SpellingPattern {
 public:
  SpellingPattern() = default;
  ~SpellingPattern() {
    for (pcre2_code* code : codes_) pcre2_code_free(code);
    pcre2_match_data_free(data_);
    pcre2_match_context_free(context_);
    pcre2_jit_stack_free(jitStack_);
  }
  SpellingPattern(const SpellingPattern&) = delete;
  SpellingPattern& operator=(const SpellingPattern&) = delete;

  enum Form { kAnywhere, kAtStart, kWhole };

  // The module's message when the pattern does not compile; empty when it does.
  std::string compile(const std::string& pattern) {
    constexpr std::uint32_t kAnchors[] = {0, PCRE2_ANCHORED, PCRE2_ANCHORED | PCRE2_ENDANCHORED};
    for (int form = kAnywhere; form <= kWhole; ++form) {
      int errorCode = 0;
      PCRE2_SIZE errorOffset = 0;
      codes_[form] = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                   regexp::kCompileOptions | kAnchors[form], &errorCode,
                                   &errorOffset, nullptr);
      if (codes_[form] == nullptr) {
        char offset[32];
        std::snprintf(offset, sizeof offset, "%zu", static_cast<size_t>(errorOffset));
        return std::string("regexp: bad pattern at offset ") + offset + ": " +
               pcreMessage(errorCode);
      }
      // Without JIT the interpreter runs the same pattern, only slower.
      pcre2_jit_compile(codes_[form], PCRE2_JIT_COMPLETE);
    }
    data_ = pcre2_match_data_create(1, nullptr);
    context_ = pcre2_match_context_create(nullptr);
    jitStack_ = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (data_ == nullptr || context_ == nullptr) return "regexp: out of memory";
    regexp::applyMatchLimits(context_);
    if (jitStack_ != nullptr) pcre2_jit_stack_assign(context_, nullptr, jitStack_);
    return {};
  }

  // The result of pcre2_match for the headword.
  int match(Form form, std::string_view text) {
    return pcre2_match(codes_[form], reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0,
                       data_, context_);
  }
  PCRE2_SIZE matchStart() const { return pcre2_get_ovector_pointer(data_)[0]; }

 private:
  pcre2_code* codes_[3] = {nullptr, nullptr, nullptr};
  pcre2_match_data* data_ = nullptr;
  pcre2_match_context* context_ = nullptr;
  pcre2_jit_stack* jitStack_ = nullptr;
};

// The module's message for a failed match, empty for a match or no match.
std::string failedMatch(int rc) {
  if (rc >= 0 || rc == PCRE2_ERROR_NOMATCH) return {};
  if (regexp::reachedMatchLimit(rc))
    return "regexp: pattern too complex, backtracking limit reached (" + pcreMessage(rc) + ")";
  return "regexp: match failed: " + pcreMessage(rc);
}

char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// `text` starts with `lower` (lower-case ASCII), in any case.
bool startsWithFolded(std::string_view text, std::string_view lower) {
  if (text.size() < lower.size()) return false;
  for (size_t i = 0; i < lower.size(); ++i)
    if (asciiLower(text[i]) != lower[i]) return false;
  return true;
}

// A pattern of plain ASCII text, which the dialect reads as itself in any case: on an ASCII
// headword a comparison answers as PCRE2 does (only a few non-ASCII letters fold to ASCII
// ones, such as the Kelvin sign to k), and costs far less. Its lower-case form, or nothing.
std::optional<std::string> plainText(const std::string& pattern) {
  std::string lower;
  for (char c : pattern) {
    if (static_cast<unsigned char>(c) >= 0x80 || c < 0x20 ||
        std::string_view(".[]()*+?{}|\\^$").find(c) != std::string_view::npos)
      return std::nullopt;
    lower.push_back(asciiLower(c));
  }
  return lower;
}

// The ASCII letter or digit every match from the start begins with (in any case), or 0.
char firstLetter(const std::string& pattern) {
  if (pattern.find('|') != std::string::npos) return 0;
  const size_t at = pattern.starts_with('^') ? 1 : 0;
  if (at >= pattern.size()) return 0;
  const char c = pattern[at];
  const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  if (!alnum) return 0;
  if (at + 1 < pattern.size() &&
      std::string_view("*?{").find(pattern[at + 1]) != std::string_view::npos)
    return 0;
  return asciiLower(c);
}

}  // namespace

std::optional<SearchOutcome> searchSpellingRows(std::shared_ptr<const RowStore> store,
                                                const std::string& utf8Pattern,
                                                std::ptrdiff_t limit, const std::atomic<bool>* stop,
                                                std::int64_t budgetNs) {
  const RowStore& rows = *store;
  SearchOutcome outcome;
  SpellingPattern pattern;
  if (std::string error = pattern.compile(utf8Pattern); !error.empty()) return queryStopped(error);

  // Rows by tier: the whole headword matches, a match from its start, a match elsewhere.
  std::vector<std::uint32_t> whole, atStart, elsewhere;
  const auto enough = [limit](const std::vector<std::uint32_t>& tier) {
    return limit >= 0 && tier.size() >= static_cast<size_t>(limit);
  };
  const std::optional<std::string> plain = plainText(utf8Pattern);
  const char first = firstLetter(utf8Pattern);
  std::string error;
  const std::int64_t deadline = threadCpuNs() + budgetNs;
  const std::uint32_t rowCount = rows.rowCount();
  for (std::uint32_t row = 0; row < rowCount; ++row) {
    if (row % kCheckEvery == 0 && row != 0) {
      if (stop != nullptr && stop->load(std::memory_order_relaxed)) return std::nullopt;
      if (threadCpuNs() > deadline) {
        error = "regexp: pattern too costly, the search used up its time of matching";
        break;
      }
    }
    // Each headword once, at its first row.
    const RowStore::Row stored = rows.rowInTable(row);
    if (stored.group->headword(stored.index) != row) continue;
    const std::string_view caption = stored.caption();
    // Once the cap is full of matches elsewhere, only a match from the start can still rank.
    const bool anywhere = !enough(elsewhere);
    if (plain && isAscii(caption)) {
      if (anywhere) {
        const auto found = std::search(caption.begin(), caption.end(), plain->begin(), plain->end(),
                                       [](char a, char b) { return asciiLower(a) == b; });
        if (found == caption.end()) continue;
        if (found != caption.begin()) {
          elsewhere.push_back(row);
          continue;
        }
      } else if (!startsWithFolded(caption, *plain)) {
        continue;
      }
      (caption.size() == plain->size() ? whole : atStart).push_back(row);
      continue;
    }
    if (!anywhere && first != 0 && !caption.empty() &&
        static_cast<unsigned char>(caption[0]) < 0x80 && asciiLower(caption[0]) != first)
      continue;
    int rc =
        pattern.match(anywhere ? SpellingPattern::kAnywhere : SpellingPattern::kAtStart, caption);
    if (rc < 0) {
      error = failedMatch(rc);
      if (!error.empty()) break;
      continue;
    }
    // The leftmost match starts at 0 whenever some match does.
    if (anywhere && pattern.matchStart() != 0) {
      elsewhere.push_back(row);
      continue;
    }
    rc = pattern.match(SpellingPattern::kWhole, caption);
    error = failedMatch(rc);
    if (!error.empty()) break;
    (rc >= 0 ? whole : atStart).push_back(row);
  }
  if (stop != nullptr && stop->load(std::memory_order_relaxed)) return std::nullopt;

  // The spelling as typed first (the whole tier only), then plain words, then the table's order.
  const auto rank = [&](std::vector<std::uint32_t>& tier, bool byTypedSpelling) {
    const auto key = [&](std::uint32_t row) {
      const RowStore::Row stored = rows.rowInTable(row);
      const bool typed = byTypedSpelling && stored.caption() == utf8Pattern;
      return std::make_tuple(!typed, !stored.group->isPlainWord(stored.index), row);
    };
    std::stable_sort(tier.begin(), tier.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
  };
  rank(whole, true);
  rank(atStart, false);

  outcome.words = HeadwordList(store);
  for (const std::vector<std::uint32_t>* tier : {&whole, &atStart, &elsewhere})
    for (std::uint32_t row : *tier) {
      if (limit >= 0 && outcome.words.size() >= limit) break;
      outcome.words.appendRow(rows.placeInTable(row));
    }
  outcome.nearSoundFrom = outcome.words.size();
  if (!error.empty()) {
    SearchOutcome stopped = queryStopped(error);
    stopped.words = std::move(outcome.words);
    stopped.nearSoundFrom = stopped.words.size();
    return stopped;
  }
  if (outcome.words.isEmpty()) outcome.reason = EmptyListReason::NoMatch;
  return outcome;
}

}  // namespace quorvi::engine
