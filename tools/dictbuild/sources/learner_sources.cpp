#include "learner_sources.h"

#include <cctype>

#include "cedict_reader.h"
#include "word_fragments.h"

namespace quorvi::dictbuild {
namespace {

void loadNames(const std::string& path, std::unordered_set<std::string>& out, std::ostream& log) {
  std::string error;
  if (!path.empty() && !loadNameList(path, out, error))
    log << "build: optional source unreadable: " << error << "; its names are left out\n";
}

// Lower-case words only: the list writes a word capitalised when most of its uses open a
// sentence, which says nothing about its forms.
void attestSpokenWords(const SpokenFrequencies& spoken, BritishWordList& british) {
  const KnownWord known = [&](const std::string& w) { return british.contains(w); };
  for (const auto& [word, count] : spoken.counts)
    if (!word.empty() && std::islower(static_cast<unsigned char>(word[0])) &&
        !british.listsAsWord(word) && !isFragment(word, known))
      british.attest(word);
}

}  // namespace

void loadLearnerSources(const OptionalSourceFiles& files, LearnerSources& out, std::ostream& log) {
  std::string error;
  if (!files.spokenFrequencies.empty() &&
      !loadSpokenFrequencies(files.spokenFrequencies, out.spoken, error)) {
    log << "build: optional source unreadable: " << error
        << "; no headwords are taken from the spoken list\n";
    out.spoken = {};
  }
  std::vector<CedictEntry> cedict;
  error.clear();
  if (!files.cedict.empty() && !loadCedict(files.cedict, cedict, error))
    log << "build: optional source unreadable: " << error
        << "; names get no Chinese transliteration\n";
  out.cedictNames = CedictNames(cedict);
  loadNames(files.maleNames, out.givenNames.male, log);
  loadNames(files.femaleNames, out.givenNames.female, log);
  attestSpokenWords(out.spoken, out.british);
}

}  // namespace quorvi::dictbuild
