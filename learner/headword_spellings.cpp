#include "learner/headword_spellings.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace quorvi::learner {
namespace {

// The rows of a headword: one a pronunciation, in the table's order.
const char kHeadwordsSql[] = "SELECT w_caption FROM dict_word WHERE +w_phonetic IS NOT NULL";

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// Slips between `a` and `b` (optimal string alignment distance), or more than `limit` as
// limit + 1.
int slipsBetween(std::string_view a, std::string_view b, int limit) {
  if (static_cast<int>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit)
    return limit + 1;
  const std::size_t n = b.size();
  constexpr std::size_t kLongest = 255;
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
    if (text != nullptr)
      add(std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0))));
  }
  if (rc != SQLITE_DONE) error = sqlite3_errstr(rc);
  sqlite3_finalize(statement);
}

HeadwordSpellings::HeadwordSpellings(const std::vector<std::string>& headwords) {
  for (const std::string& headword : headwords) add(headword);
}

void HeadwordSpellings::add(std::string_view word) {
  const std::string lower = lowerCase(word);
  const auto found = byLowerCase_.find(lower);
  if (found != byLowerCase_.end()) {
    // Several rows of one headword are one spelling.
    std::int32_t last = -1;
    for (std::int32_t i = static_cast<std::int32_t>(found->second); i >= 0; i = nextSameCase_[static_cast<std::size_t>(i)]) {
      if (headword(static_cast<std::uint32_t>(i)) == word) return;
      last = i;
    }
    nextSameCase_[static_cast<std::size_t>(last)] = static_cast<std::int32_t>(starts_.size());
  } else {
    byLowerCase_.emplace(lower, static_cast<std::uint32_t>(starts_.size()));
  }
  starts_.push_back(static_cast<std::uint32_t>(text_.size()));
  text_.append(word);
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  nextSameCase_.push_back(-1);
}

std::string_view HeadwordSpellings::headword(std::uint32_t index) const {
  return std::string_view(text_).substr(starts_[index], ends_[index] - starts_[index]);
}

std::optional<std::string> HeadwordSpellings::spellingOf(std::string_view word) const {
  const std::string lower = lowerCase(word);
  const auto found = byLowerCase_.find(lower);
  if (found == byLowerCase_.end()) return std::nullopt;
  std::optional<std::string> lowerOne;
  for (std::int32_t i = static_cast<std::int32_t>(found->second); i >= 0; i = nextSameCase_[static_cast<std::size_t>(i)]) {
    const std::string_view spelling = headword(static_cast<std::uint32_t>(i));
    if (spelling == word) return std::string(word);
    if (spelling == lower) lowerOne = std::string(spelling);
  }
  if (lowerOne) return lowerOne;
  return std::string(headword(found->second));
}

std::string HeadwordSpellings::closeSpelling(std::string_view word) const {
  const std::string lower = lowerCase(word);
  if (lower.empty()) return {};
  int bestSlips = 3;
  std::size_t best = starts_.size();
  for (std::size_t i = 0; i < starts_.size() && bestSlips > 1; ++i) {
    const std::string_view candidate = headword(static_cast<std::uint32_t>(i));
    const std::size_t gap = candidate.size() > lower.size() ? candidate.size() - lower.size()
                                                            : lower.size() - candidate.size();
    if (gap >= static_cast<std::size_t>(bestSlips)) continue;
    const int slips = slipsBetween(lower, lowerCase(candidate), bestSlips - 1);
    if (slips < bestSlips) {
      bestSlips = slips;
      best = i;
    }
  }
  return best < starts_.size() ? std::string(headword(static_cast<std::uint32_t>(best))) : std::string();
}

}  // namespace quorvi::learner
