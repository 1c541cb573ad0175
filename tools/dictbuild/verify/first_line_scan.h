#pragma once
// The first lines a learner reads for the most heard words: none may be an acronym, a title, an
// element or a pointer to another headword, and each entry's first row must have Chinese.
#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

enum class FirstLineFault { None, NoChinese, Acronym, Title, Element, CrossReference };
inline constexpr size_t kFirstLineFaultKinds = 6;

// The fault of an entry's first row (its explanation, lines joined by "<br/>"): its first line
// of Chinese, form labels ("past tense of fire / fire的过去式") passed over, judged by
// `otherSenseOfLine`; NoChinese when no line holds Chinese a learner reads as the meaning. A row
// headed by an element's symbol that opens with the element's bare name ("n. 镤" for Pa) is an
// element too.
FirstLineFault firstLineFault(std::string_view explanation, std::string_view caption = {});

struct FirstLineScan {
  size_t top = 0;    // the first `top` words of the spoken list, fragments passed over
  size_t words = 0;  // of them, those with an entry
  std::array<size_t, kFirstLineFaultKinds> faults{};
  std::vector<std::string> examples;  // "word (kind): first line", the most heard first
  size_t faulty() const;
};

// The first row of the entry a learner opens for a heard word.
struct HeardRow {
  std::string caption;
  std::string explanation;
};

// `firstRowOf` gives the first row of the entry a learner opens for a word as the list spells
// it (none when there is no entry); `isHeadword` is asked in lower case.
std::vector<FirstLineScan> scanFirstLines(
    const SpokenFrequencies& spoken, const std::function<bool(const std::string&)>& isHeadword,
    const std::function<std::optional<HeardRow>(const std::string&)>& firstRowOf,
    const std::vector<size_t>& tops);

// "first lines of the spoken top 5,000: 0 at fault (of 4981 entries)" with the count of each
// kind and the first examples.
void printFirstLineScan(const FirstLineScan& scan, std::ostream& out);

}  // namespace quorvi::dictbuild
