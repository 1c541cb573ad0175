// Fills the result list from a learner's search: the exact matches, then, set apart by a
// heading row that cannot be picked, the near-sound matches in grey italics.
#pragma once

#include <QString>

#include "engine/search_outcome.h"

class QListWidget;

// Appends the rows of `outcome` to `list` (which the caller has emptied).
void appendResultRows(QListWidget *list, const SearchOutcome &outcome);

// The text of the heading row above the near-sound matches.
QString nearSoundHeadingText();

// True for the heading row above the near-sound matches.
bool isNearSoundHeading(const class QListWidgetItem *item);
