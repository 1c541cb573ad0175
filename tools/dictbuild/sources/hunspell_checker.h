#pragma once
// Hunspell's own reading of a dictionary (libhunspell): whether it accepts a spelling, and the
// stems it finds in it ("worked" -> work), the affix rules applied as hunspell applies them.
#include <memory>
#include <string>
#include <vector>

class Hunspell;

namespace quorvi::dictbuild {

class HunspellChecker {
 public:
  // Opens `dicPath` with the affix file beside it (same path ending in ".aff"). Not ready,
  // with `error()` saying why, when either cannot be read.
  explicit HunspellChecker(const std::string& dicPath);
  ~HunspellChecker();
  HunspellChecker(const HunspellChecker&) = delete;
  HunspellChecker& operator=(const HunspellChecker&) = delete;

  bool ready() const { return hunspell_ != nullptr; }
  const std::string& error() const { return error_; }
  // Whether hunspell accepts the spelling as it stands (case as hunspell rules it).
  bool spell(const std::string& word) const;
  // The stems hunspell finds in the spelling; empty when it rejects it.
  std::vector<std::string> stems(const std::string& word) const;
  // Whether `form` is a spelling hunspell accepts as a form of `stem`: "worked" of work, not
  // "worded" of work.
  bool isFormOf(const std::string& form, const std::string& stem) const;

 private:
  std::unique_ptr<Hunspell> hunspell_;
  std::string error_;
};

}  // namespace quorvi::dictbuild
