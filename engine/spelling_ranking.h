// Orders the headwords a spelling pattern found: the word equal to the pattern first, then
// words that start with it, then the rest; within each, plain lower-case words ahead of
// capitalised words and phrases, then the table's order. Each headword once.
#pragma once

#include <QString>
#include <QStringList>

// The text every match of `pattern` starts with when it is anchored ("^lond" gives "lond"),
// or that it plainly spells out; `whole` tells whether that text is all of the pattern.
QString literalPrefix(const QString& pattern, bool& whole);

QStringList rankSpellingMatches(const QStringList& found, const QString& pattern, qsizetype limit);
