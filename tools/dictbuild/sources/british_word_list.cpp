#include "british_word_list.h"

#include <filesystem>

#include "hunspell_expander.h"
#include "line_reader.h"

namespace quorvi::dictbuild {
namespace {

constexpr size_t kMaxLineBytes = 4096;

std::string affixFileOf(const std::string& dicPath) {
  std::filesystem::path p(dicPath);
  return p.replace_extension(".aff").string();
}

void readWordsFile(const std::string& path, BritishWordList& list) {
  LineReader reader(path, kMaxLineBytes);
  if (!reader.isOpen()) {
    list.noteProblem("cannot read " + path + " (Debian package wbritish-large)");
    return;
  }
  std::string line;
  while (reader.next(line))
    if (!line.empty()) list.add(line);
  if (reader.tooLong()) {
    list.noteProblem(path + ": line " + std::to_string(reader.lineNumber()) +
                     " is too long; read up to it");
    return;
  }
  list.noteRead(path);
}

void readHunspell(const std::string& dicPath, BritishWordList& list) {
  std::string error;
  if (!expandHunspell(
          dicPath, affixFileOf(dicPath), [&](const std::string& w) { list.addSpelledOut(w); },
          error)) {
    list.noteProblem(error + " (Debian package hunspell-en-gb)");
    return;
  }
  list.noteRead(dicPath);
  auto checker = std::make_shared<const HunspellChecker>(dicPath);
  if (checker->ready())
    list.useHunspell(std::move(checker));
  else
    list.noteProblem(checker->error() + " (hunspell's library could not read it)");
}

}  // namespace

BritishWordList britishWordList(const WordListSources& sources) {
  BritishWordList list;
  if (!sources.wordsFile.empty()) readWordsFile(sources.wordsFile, list);
  if (!sources.hunspellDictionary.empty()) readHunspell(sources.hunspellDictionary, list);
  return list;
}

std::vector<std::string> britishWordListFiles(const WordListSources& sources) {
  std::vector<std::string> files;
  if (!sources.wordsFile.empty()) files.push_back(sources.wordsFile);
  if (!sources.hunspellDictionary.empty()) {
    files.push_back(sources.hunspellDictionary);
    files.push_back(affixFileOf(sources.hunspellDictionary));
  }
  return files;
}

}  // namespace quorvi::dictbuild
