#include "checked_inflections.h"

namespace quorvi::dictbuild {

InflectionSummary addCheckedInflections(WordNetData& data, const WordListSources& sources,
                                        std::ostream& log) {
  return addCheckedInflections(data, britishWordList(sources), log);
}

InflectionSummary addCheckedInflections(WordNetData& data, const BritishWordList& list,
                                        std::ostream& log) {
  for (const std::string& problem : list.problems())
    log << "build: British word list: " << problem << "\n";
  if (list.empty()) {
    log << (list.problems().empty() ? "build: no British word list given"
                                    : "build: no British word list could be read")
        << ": word forms made by rule are kept unchecked "
           "(the dictionary may list made-up forms such as \"sheeps\" and lacks regular forms the "
           "lists would confirm); install wbritish-large or hunspell-en-gb\n";
    return addInflections(data, list);  // an empty list checks nothing
  }
  InflectionSummary summary = addInflections(data, list);
  log << "word forms: " << summary.madeKept << " made by rule and found in "
      << list.filesRead().size() << " British word list(s), " << summary.madeDropped
      << " made-up ones left out (";
  for (size_t i = 0; i < summary.droppedExamples.size(); ++i)
    log << (i ? ", " : "") << summary.droppedExamples[i];
  log << (summary.madeDropped > summary.droppedExamples.size() ? ", ...)" : ")");
  log << "; " << summary.listedWithoutLemma
      << " forms of WordNet's exception lists name no WordNet headword and are left out\n";
  return summary;
}

}  // namespace quorvi::dictbuild
