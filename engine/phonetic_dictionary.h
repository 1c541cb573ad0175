// The dictionary engine: opens the encrypted word list, turns typed transcriptions into
// loose-match patterns, runs the searches and formats a full entry for display.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

class PhoneticDictionary {
 public:
  // Typed symbol (one or two, UTF-16) to its stored notation.
  using SymbolMap = std::map<std::u16string, std::string>;

  PhoneticDictionary();   // fills the symbol table if no one has yet, then initDB()
  ~PhoneticDictionary();  // sqlite3_close

  PhoneticDictionary(const PhoneticDictionary&) = delete;
  PhoneticDictionary& operator=(const PhoneticDictionary&) = delete;
  PhoneticDictionary(PhoneticDictionary&&) = delete;
  PhoneticDictionary& operator=(PhoneticDictionary&&) = delete;

  // Opens ./dict/words.db read-only, keys it and loads regexp.dll from the program's own
  // folder (never from the working directory). Returns isOpen_.
  bool initDB();

  // Engines constructed from now on load regexp.dll from `folder` instead of the program's
  // folder; empty restores that. For tests, whose executables sit in no runtime folder: a
  // program never calls it, and nothing outside the process (option, environment) reaches it.
  static void setModuleFolder(const std::string& folder);

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

  // The process's one symbol table: its 58 entries are assigned once, by the first engine's
  // constructor (or the first check or pattern asked for before any engine), under a once-flag,
  // so that engines constructed while others search never write it again. Fixed from then on.
  static const SymbolMap& symbolMap();
  // True when the whole text can be read as symbols of the table.
  static bool checkPhonetic(std::u16string text);
  // The loose-match pattern: stored notation of each symbol followed by ".*".
  static std::string buildPhoneticPattern(std::u16string text);

  bool isOpen() const { return isOpen_; }
  // The open connection (null when closed), for the learner's store of rows in memory.
  sqlite3* connection() const { return sqliteDB_; }
  // True when regexp.dll was loaded into the connection.
  bool hasRegexp() const { return hasRegexp_; }
  // The record of what the dictionary was built from, which the builder stores inside it
  // (table dict_build_stamp); empty when the dictionary is closed or has none.
  std::string buildStamp() const;
  // The SQL engine's message when the latest query operation stopped on an error (its
  // statement failed to prepare or a step failed partway); empty when it completed.
  const std::string& lastError() const { return lastError_; }

 private:
  // Runs one read statement with `text` bound to its single parameter and hands every row to
  // `onRow`. Records an error in lastError_.
  using RowHandler = void (*)(QStringList& results, sqlite3_stmt* row);
  void runQuery(const char* sql, const std::string& text, RowHandler onRow);
  void closeConnection();

  sqlite3* sqliteDB_ = nullptr;
  bool isOpen_ = false;
  QStringList results;
  bool hasRegexp_ = false;
  std::string lastError_;
  // Prepared statements by SQL text, kept for the engine's lifetime.
  std::vector<std::pair<const char*, sqlite3_stmt*>> statements_;

  static void assignSymbolMap();  // the 58 assignments, by key
  static SymbolMap symbolMap_;
};
