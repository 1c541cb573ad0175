// The dictionary engine as the window uses it: the engine (engine/dictionary_engine.h) with the
// results of its searches and entries in the toolkit's list, and a full entry formatted for
// display.
#pragma once

#include <string>

#include <QString>
#include <QStringList>

#include "engine/dictionary_engine.h"

class PhoneticDictionary : public DictionaryEngine {
 public:
  PhoneticDictionary();  // fills the symbol table if no one has yet, then initDB()

  const QStringList& getResults() const { return results; }

  // Headwords whose spelling matches the regular expression (UTF-8).
  // limitMode 0: at most 100 rows; 1: all rows.
  void searchByCaption(const std::string& utf8Pattern, int limitMode);
  // Headwords whose transcription holds the typed symbols in order (UTF-16 code units).
  void searchByPhonetic(const std::u16string& typed, int limitMode);
  // Three lines per row of the headword (UTF-8): headword, [transcription], explanation.
  const QStringList& entryText(const std::string& utf8Headword);
  // The same, and when no headword is spelled in the typed case, the headword in lower case,
  // capitalised or in capitals (the first of them found).
  const QStringList& entryTextInAnyCase(const std::string& utf8Headword);

  // Stored notation back to phonetic symbols: the sixteen known references only.
  static std::u16string decodePhoneticEntities(const QString& stored);

 private:
  QStringList results;
};
