#include "form_labels.h"

namespace quorvi::dictbuild {
namespace {

const char* const kFormLabels[] = {
    "plural of ",
    "third person singular of ",
    "past tense of ",
    "past participle of ",
    "past tense and past participle of ",
    "present participle of ",
    "comparative of ",
    "superlative of ",
};

}  // namespace

std::string formLabelLemma(const std::string& line) {
  for (const char* label : kFormLabels) {
    const std::string l = label;
    if (line.size() <= l.size() || line.compare(0, l.size(), l) != 0) continue;
    std::string lemma = line.substr(l.size());
    // The Chinese that says the same follows: "past tense of see / see的过去式".
    if (const size_t slash = lemma.find(" / "); slash != std::string::npos) lemma.resize(slash);
    // A form of one pronunciation names the sense it belongs to: "plural of use (noun)".
    if (const size_t open = lemma.rfind(" ("); open != std::string::npos && lemma.back() == ')')
      lemma.resize(open);
    return lemma;
  }
  return {};
}

bool labelsPluralOf(const std::vector<std::string>& lines, const std::string& lemma) {
  const std::string label = "plural of " + lemma;
  for (const std::string& line : lines)
    if (line.compare(0, label.size(), label) == 0 &&
        (line.size() == label.size() || line[label.size()] == ' '))
      return true;
  return false;
}

}  // namespace quorvi::dictbuild
