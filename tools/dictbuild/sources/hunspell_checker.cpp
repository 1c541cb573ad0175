#include "hunspell_checker.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace quorvi::dictbuild {
namespace {

bool readable(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && std::ifstream(path).good();
}

}  // namespace

HunspellChecker::HunspellChecker(const std::string& dicPath) {
  const std::string affPath = std::filesystem::path(dicPath).replace_extension(".aff").string();
  // Hunspell reports no error of its own for a missing file: it then accepts nothing.
  for (const std::string& path : {affPath, dicPath})
    if (!readable(path)) {
      error_ = "cannot read " + path;
      return;
    }
  hunspell_ = std::make_unique<Hunspell>(affPath.c_str(), dicPath.c_str());
}

HunspellChecker::~HunspellChecker() = default;

bool HunspellChecker::spell(const std::string& word) const {
  return hunspell_ && !word.empty() && hunspell_->spell(word);
}

std::vector<std::string> HunspellChecker::stems(const std::string& word) const {
  if (!spell(word)) return {};
  return hunspell_->stem(word);
}

bool HunspellChecker::isFormOf(const std::string& form, const std::string& stem) const {
  const std::vector<std::string> found = stems(form);
  return std::find(found.begin(), found.end(), stem) != found.end();
}

}  // namespace quorvi::dictbuild
