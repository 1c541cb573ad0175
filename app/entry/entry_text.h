#pragma once

#include <QString>

class PhoneticDictionary;

// The entry of `word` as the entry pane shows it: the engine's lines joined with line feeds,
// the learner-levels line in the interface language. Empty when the dictionary has no entry.
QString entryForDisplay(PhoneticDictionary& dictionary, const QString& word);
