#pragma once
// The British word lists Debian ships, read once into one set of spellings: which words, and
// which forms of them (worked, algorithms, bigger), are real English.
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "hunspell_checker.h"

namespace quorvi::dictbuild {

struct WordListSources {
  // One word a line (Debian's wbritish-large).
  std::string wordsFile = "/usr/share/dict/british-english-large";
  // A hunspell dictionary; its affix file is the same path ending in ".aff" (hunspell-en-gb).
  std::string hunspellDictionary = "/usr/share/hunspell/en_GB.dic";
};

class BritishWordList {
 public:
  // The spelling as it stands, in any source: "worked" yes, "Worked" only if listed so.
  bool contains(const std::string& word) const {
    return listed_.count(word) != 0 || spelledOut_.count(word) != 0;
  }
  // The spelling in the plain word list (in the hunspell forms when there is no plain list).
  // Hunspell's affix rules accept more than English uses ("genuinenesses", "gooder"); the
  // plain list names words one by one.
  bool listsAsWord(const std::string& word) const {
    return listed_.empty() ? spelledOut_.count(word) != 0 : listed_.count(word) != 0;
  }
  // Whether `form` is a real form of `lemma`: listed, or a spelling hunspell accepts ("realized"
  // beside realised). Without hunspell's library at hand, any spelling its affix rules spell out.
  // (Hunspell's stems are no test of the lemma: they run back to the root, summarize to
  // summary, and take singed for a form of sing.)
  bool confirmsForm(const std::string& form, const std::string& /*lemma*/) const {
    if (listed_.count(form)) return true;
    return hunspell_ ? hunspell_->spell(form) : spelledOut_.count(form) != 0;
  }
  bool empty() const { return listed_.empty() && spelledOut_.empty(); }
  size_t size() const { return listed_.size() + spelledOut_.size(); }
  // The words of the plain list(s), without the forms spelled out by affix rules.
  const std::unordered_set<std::string>& listedWords() const { return listed_; }
  const std::unordered_set<std::string>& spelledOutWords() const { return spelledOut_; }
  // The files that were read, and one line per source that could not be.
  const std::vector<std::string>& filesRead() const { return read_; }
  const std::vector<std::string>& problems() const { return problems_; }

  // Whether a British word list itself has the spelling: words taken in from other sources
  // (attest) aside, so that an American spelling heard in films is never taken for British.
  bool britishListHas(const std::string& word) const {
    return listsAsWord(word) && !attested_.count(word);
  }

  // A word of a plain list; a form spelled out by affix rules; a word another source vouches
  // for (listed from then on, but not as British).
  void add(std::string word) { listed_.insert(std::move(word)); }
  void attest(const std::string& word) {
    if (listed_.insert(word).second) attested_.insert(word);
  }
  void addSpelledOut(const std::string& word) {
    if (!listed_.count(word)) spelledOut_.insert(word);
  }
  void noteRead(const std::string& file) { read_.push_back(file); }
  void useHunspell(std::shared_ptr<const HunspellChecker> checker) {
    hunspell_ = std::move(checker);
  }
  void noteProblem(const std::string& text) { problems_.push_back(text); }

 private:
  std::unordered_set<std::string> listed_;
  std::unordered_set<std::string> spelledOut_;  // not in listed_
  std::unordered_set<std::string> attested_;    // in listed_ through attest alone
  std::shared_ptr<const HunspellChecker> hunspell_;
  std::vector<std::string> read_;
  std::vector<std::string> problems_;
};

// Reads every source that is present; a missing or unreadable one is noted in problems()
// and the others are still read. The list is empty when no source could be read.
BritishWordList britishWordList(const WordListSources& sources = {});

// The files britishWordList reads, for the rebuild stamp.
std::vector<std::string> britishWordListFiles(const WordListSources& sources = {});

}  // namespace quorvi::dictbuild
