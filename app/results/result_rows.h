// Fills the result list from a learner's search: the rows in their order, the near-sound
// matches in grey italics wherever they rank; those that follow the last exact match are
// also set apart by a heading row that cannot be picked and has no menu.
#pragma once

#include <cstdint>
#include <span>

#include <QString>

#include "engine/search_outcome.h"

class QListWidget;

// Appends the rows of `outcome` to `list` (which the caller has emptied).
void appendResultRows(QListWidget* list, const SearchOutcome& outcome);
// Which words are near-sound matches: every one from `from` on, and before it those
// `marked` flags.
struct NearSoundRows {
  qsizetype from = 0;
  std::span<const std::uint8_t> marked = {};
  bool contains(qsizetype i) const {
    return i >= from || (i >= 0 && static_cast<std::size_t>(i) < marked.size() &&
                         marked[static_cast<std::size_t>(i)]);
  }
};

// Appends words [from, to) of `words` to a list that holds words [0, from) already: the
// heading row comes before word `near.from`.
void appendResultRows(QListWidget* list, const HeadwordList& words, NearSoundRows near,
                      qsizetype from, qsizetype to);

// The text of the heading row above the near-sound matches.
QString nearSoundHeadingText();

// True for the heading row above the near-sound matches.
bool isNearSoundHeading(const class QListWidgetItem* item);
