// The search by spelling over the headwords the store of rows holds in memory (engine/row_store.h,
// in the table's order, which is the order of usefulness), matched with the REGEXP module's
// dialect and bounds rather than by a statement over every row.
//
// The list is ranked: the words the whole pattern matches (the word itself), then the words it
// matches from their start, then the rest; within the first two, the spelling as typed first,
// plain lower-case words before names and phrases, then the table's order; the rest in the
// table's order. The capped list is the start of the uncapped one.
//
// Pure and thread-safe over a complete store: the window runs it on a worker.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/row_store.h"
#include "engine/search_outcome.h"

namespace quorvi::engine {

// Bound on one search's processor time (the module bounds each of its statements alike).
inline constexpr std::int64_t kSpellingBudgetNs = 1000000000;

// Matches `utf8Pattern` against every headword of `store`, which must be complete; `limit` < 0:
// every match. A pattern that does not compile, a match past the dialect's bounds
// and a search past its processor time are reported as the module reports them, with the words
// found before. Nothing when `stop` was set while it ran.
std::optional<SearchOutcome> searchSpellingRows(std::shared_ptr<const RowStore> store,
                                                const std::string& utf8Pattern,
                                                std::ptrdiff_t limit,
                                                const std::atomic<bool>* stop = nullptr,
                                                std::int64_t budgetNs = kSpellingBudgetNs);

}  // namespace quorvi::engine
