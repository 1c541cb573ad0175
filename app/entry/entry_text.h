#pragma once

#include <QString>

class PhoneticDictionary;

// The entry of `word` as the entry pane shows it: the engine's lines joined with line feeds,
// each row's British transcription labelled 英 (UK) with its American one (美, US) on the line
// after it, the learner-levels line in the interface language. Empty when the dictionary has
// no entry.
QString entryForDisplay(PhoneticDictionary& dictionary, const QString& word);
