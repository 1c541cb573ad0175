// The dictionary engine in the standard library's types: it opens the encrypted word list,
// holds the phonetic symbol table and runs the statements. PhoneticDictionary
// (engine/phonetic_dictionary.h) puts the toolkit's lists on it for the window; a search on the
// command line runs on this alone, without loading the toolkit.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class DictionaryEngine {
 public:
  // Typed symbol (one or two, UTF-16) to its stored notation.
  using SymbolMap = std::map<std::u16string, std::string>;
  // Where the engine's lines go ("initDB(): Error" and the like), one at a time, without an
  // end of line.
  using LogLine = void (*)(const char* line);

  // Fills the symbol table if no one has yet, then initDB(); a failure is logged to `log`.
  explicit DictionaryEngine(LogLine log);
  ~DictionaryEngine();  // sqlite3_close

  DictionaryEngine(const DictionaryEngine&) = delete;
  DictionaryEngine& operator=(const DictionaryEngine&) = delete;
  DictionaryEngine(DictionaryEngine&&) = delete;
  DictionaryEngine& operator=(DictionaryEngine&&) = delete;

  // Opens ./dict/words.db read-only, keys it and loads regexp.dll from the program's own
  // folder (never from the working directory). Returns isOpen_.
  bool initDB();

  // Engines constructed from now on load regexp.dll from `folder` instead of the program's
  // folder; empty restores that. For tests, whose executables sit in no runtime folder: a
  // program never calls it, and nothing outside the process (option, environment) reaches it.
  static void setModuleFolder(const std::string& folder);

  // The headwords (UTF-8) the statements of the spelling and the sound search give, in the
  // SQL engine's order; limitMode 0: at most 100 rows, 1: all rows. The sound search's text is
  // read by the symbol table (nothing found when it cannot be).
  std::vector<std::string> headwordsBySpelling(const std::string& utf8Pattern, int limitMode);
  std::vector<std::string> headwordsBySound(const std::u16string& typed, int limitMode);

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

 protected:
  // Runs one read statement with `text` bound to its single parameter and hands every row to
  // `onRow` with `sink`. Records an error in lastError_ (cleared first).
  using RowHandler = void (*)(void* sink, sqlite3_stmt* row);
  void runQuery(const char* sql, const std::string& text, void* sink, RowHandler onRow);
  // The specified statements, by limitMode.
  static const char* spellingSql(int limitMode);
  static const char* soundSql(int limitMode);
  // Clears lastError_ and says whether a query may run (the engine is open).
  bool startQuery();
  void log(const char* line) const { log_(line); }

 private:
  void closeConnection();

  LogLine log_;
  sqlite3* sqliteDB_ = nullptr;
  bool isOpen_ = false;
  bool hasRegexp_ = false;
  std::string lastError_;
  // Prepared statements by SQL text, kept for the engine's lifetime.
  std::vector<std::pair<const char*, sqlite3_stmt*>> statements_;

  static void assignSymbolMap();  // the 58 assignments, by key
  static SymbolMap symbolMap_;
};
