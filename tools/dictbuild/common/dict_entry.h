#pragma once
// One row of the dictionary as the builder assembles it.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

struct DictEntry {
  std::string caption;                    // headword as spelled (UTF-8)
  std::vector<std::string> explainLines;  // joined with "<br/>" when written
  std::string transcription;              // raw transcription from an imported file, if any
  std::string phonetic;                   // stored notation, filled by the transcription step
  double frequency = 0;                   // higher is more useful
  int senseCount = 0;
  int anchor = -1;  // inflected forms: index of the entry of their lemma
  bool imported = false;
  bool leftOut = false;  // found wrong (a made-up form): written nowhere, explained by nothing
  // An abbreviation said as the word it stands for (Sr ˈsiːniə, Mt maʊnt) whose transcription
  // is that word's: senses read letter by letter (an element's symbol) go, with their Chinese,
  // into `letterReadLines`, written as a row of their own with the spelling's reading.
  bool saidAsWord = false;
  std::vector<std::string> letterReadLines = {};
};

}  // namespace quorvi::dictbuild
