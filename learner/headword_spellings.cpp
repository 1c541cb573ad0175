#include "learner/headword_spellings.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace quorvi::learner {
namespace {

// The rows of a headword: one a pronunciation, in the table's order.
const char kHeadwordsSql[] = "SELECT w_caption FROM dict_word WHERE +w_phonetic IS NOT NULL";

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Slips between `a` and `b` (optimal string alignment distance), or limit + 1 when more.
int slipsBetween(std::string_view a, std::string_view b, int limit) {
  constexpr std::size_t kLongest = 255;
  const std::size_t n = b.size();
  if (n > kLongest || a.size() > kLongest) return limit + 1;
  std::array<int, kLongest + 1> rows[3];
  int* before = rows[0].data();
  int* previous = rows[1].data();
  int* current = rows[2].data();
  for (std::size_t j = 0; j <= n; ++j) previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<int>(i);
    int rowBest = current[0];
    for (std::size_t j = 1; j <= n; ++j) {
      const int change = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      int best = std::min({previous[j] + 1, current[j - 1] + 1, change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        best = std::min(best, before[j - 2] + 1);
      current[j] = best;
      rowBest = std::min(rowBest, best);
    }
    if (rowBest > limit) return limit + 1;
    int* oldest = before;
    before = previous;
    previous = current;
    current = oldest;
  }
  return previous[n];
}

// FNV-1a: short keys, no allocation.
std::size_t hashOf(std::string_view text) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

// How many letters one word has that the other lacks (the larger of the two): no fewer slips
// than that lead from one to the other. `counts` holds the first word's letters; it is left
// as it was.
int lettersApart(std::array<int, 256>& counts, std::size_t length, std::string_view other) {
  std::size_t matched = 0;
  for (const char c : other)
    if (counts[static_cast<unsigned char>(c)]-- > 0) ++matched;
  for (const char c : other) ++counts[static_cast<unsigned char>(c)];
  return static_cast<int>(std::max(other.size() - matched, length - matched));
}

}  // namespace

HeadwordSpellings::HeadwordSpellings(sqlite3* dictionary, std::string& error) {
  error.clear();
  sqlite3_stmt* statement = nullptr;
  if (dictionary == nullptr ||
      sqlite3_prepare_v2(dictionary, kHeadwordsSql, -1, &statement, nullptr) != SQLITE_OK) {
    error = dictionary != nullptr ? sqlite3_errmsg(dictionary) : "no dictionary";
    return;
  }
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    if (text == nullptr) continue;
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
    text_.append(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
  }
  if (rc != SQLITE_DONE) error = sqlite3_errstr(rc);
  sqlite3_finalize(statement);
  makeIndex();
}

HeadwordSpellings::HeadwordSpellings(const std::vector<std::string>& headwords) {
  for (const std::string& headword : headwords) {
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
    text_.append(headword);
  }
  makeIndex();
}

// The lower-case forms and the table by them, once every headword is read.
void HeadwordSpellings::makeIndex() {
  const std::size_t rows = starts_.size();
  starts_.push_back(static_cast<std::uint32_t>(text_.size()));
  lowerText_.resize(text_.size());
  std::transform(text_.begin(), text_.end(), lowerText_.begin(), lower);
  nextSameCase_.assign(rows, -1);
  std::size_t size = 16;
  while (size < rows * 2) size *= 2;
  slots_.assign(size, Slot{});
  for (std::uint32_t i = 0; i < rows; ++i) {
    const std::size_t hash = hashOf(lowerSpelling(i));
    const std::size_t slot = slotOf(lowerSpelling(i), hash);
    if (slots_[slot].first == kEmpty) {
      slots_[slot] = {i, static_cast<std::uint32_t>(hash)};
    } else {
      // Several rows of one headword are one spelling.
      std::int32_t last = -1;
      bool again = false;
      for (std::int32_t k = static_cast<std::int32_t>(slots_[slot].first); k >= 0 && !again;
           k = nextSameCase_[static_cast<std::size_t>(k)]) {
        again = spelling(static_cast<std::uint32_t>(k)) == spelling(i);
        last = k;
      }
      if (again) continue;
      nextSameCase_[static_cast<std::size_t>(last)] = static_cast<std::int32_t>(i);
    }
    unique_.push_back(i);
  }
}

std::size_t HeadwordSpellings::slotOf(std::string_view lowered, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const auto tag = static_cast<std::uint32_t>(hash);
  for (std::size_t slot = (hash >> 32) & mask;; slot = (slot + 1) & mask) {
    const Slot& at = slots_[slot];
    if (at.first == kEmpty || (at.hash == tag && lowerSpelling(at.first) == lowered)) return slot;
  }
}

std::string_view HeadwordSpellings::spelling(std::uint32_t index) const {
  return std::string_view(text_).substr(starts_[index], starts_[index + 1] - starts_[index]);
}

std::string_view HeadwordSpellings::lowerSpelling(std::uint32_t index) const {
  return std::string_view(lowerText_).substr(starts_[index], starts_[index + 1] - starts_[index]);
}

std::optional<std::uint32_t> HeadwordSpellings::find(std::string_view word) const {
  thread_local std::string lowered;
  lowered.assign(word);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), lower);
  if (slots_.empty()) return std::nullopt;
  const std::uint32_t first = slots_[slotOf(lowered, hashOf(lowered))].first;
  if (first == kEmpty) return std::nullopt;
  std::optional<std::uint32_t> lowerOne;
  for (std::int32_t i = static_cast<std::int32_t>(first); i >= 0;
       i = nextSameCase_[static_cast<std::size_t>(i)]) {
    const auto index = static_cast<std::uint32_t>(i);
    if (spelling(index) == word) return index;
    if (!lowerOne && spelling(index) == lowerSpelling(index)) lowerOne = index;
  }
  return lowerOne ? lowerOne : first;
}

std::optional<std::string> HeadwordSpellings::spellingOf(std::string_view word) const {
  const std::optional<std::uint32_t> index = find(word);
  return index ? std::optional<std::string>(spelling(*index)) : std::nullopt;
}

std::string HeadwordSpellings::closeSpelling(std::string_view word) const {
  std::string lowered(word);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), lower);
  if (lowered.empty()) return {};
  std::array<int, 256> counts{};
  for (const char c : lowered) ++counts[static_cast<unsigned char>(c)];
  int bestSlips = 3;
  std::optional<std::uint32_t> best;
  for (const std::uint32_t index : unique_) {
    const std::string_view candidate = lowerSpelling(index);
    const std::size_t gap = candidate.size() > lowered.size() ? candidate.size() - lowered.size()
                                                              : lowered.size() - candidate.size();
    if (gap >= static_cast<std::size_t>(bestSlips) || lettersApart(counts, lowered.size(), candidate) >= bestSlips)
      continue;
    const int slips = slipsBetween(lowered, candidate, bestSlips - 1);
    if (slips < bestSlips) {
      bestSlips = slips;
      best = index;
      if (slips <= 1) break;  // nothing closer but the word itself, which is no headword
    }
  }
  return best ? std::string(spelling(*best)) : std::string();
}

}  // namespace quorvi::learner
