// Fills the result list from a learner's search: the exact matches, then, set apart by a
// heading row that cannot be picked, the near-sound matches in grey italics.
#pragma once

#include <QString>

#include "engine/search_outcome.h"

class QListWidget;

// Appends the rows of `outcome` to `list` (which the caller has emptied).
void appendResultRows(QListWidget* list, const SearchOutcome& outcome);
// Appends words [from, to) of `words`, whose near-sound matches start at `nearSoundFrom`, to
// a list that holds words [0, from) already: the heading row comes before word
// `nearSoundFrom`.
void appendResultRows(QListWidget* list, const HeadwordList& words, qsizetype nearSoundFrom,
                      qsizetype from, qsizetype to);

// The text of the heading row above the near-sound matches.
QString nearSoundHeadingText();

// True for the heading row above the near-sound matches.
bool isNearSoundHeading(const class QListWidgetItem* item);
