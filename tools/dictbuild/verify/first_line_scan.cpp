#include "first_line_scan.h"

#include <algorithm>

#include "ascii_case.h"
#include "chinese_line.h"
#include "element_symbols.h"
#include "form_labels.h"
#include "missing_chinese.h"
#include "spoken_coverage.h"
#include "word_fragments.h"

namespace quorvi::dictbuild {
namespace {

constexpr const char* kFaultNames[kFirstLineFaultKinds] = {
    "", "no Chinese", "acronym", "title", "element", "cross-reference"};

std::vector<std::string_view> linesOf(std::string_view explanation) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= explanation.size();) {
    size_t end = explanation.find("<br/>", start);
    if (end == std::string_view::npos) end = explanation.size();
    lines.push_back(explanation.substr(start, end - start));
    start = end + 5;
  }
  return lines;
}

FirstLineFault faultOf(OtherSense kind) {
  switch (kind) {
    case OtherSense::Acronym:
      return FirstLineFault::Acronym;
    case OtherSense::Title:
      return FirstLineFault::Title;
    case OtherSense::Element:
      return FirstLineFault::Element;
    case OtherSense::CrossReference:
      return FirstLineFault::CrossReference;
    case OtherSense::None:
      break;
  }
  return FirstLineFault::None;
}

}  // namespace

FirstLineFault firstLineFault(std::string_view explanation, std::string_view caption) {
  for (std::string_view line : linesOf(explanation)) {
    if (!formLabelLemma(std::string(line)).empty() || !holdsChineseMeaning(line)) continue;
    if (opensWithElementOfSymbol(caption, line)) return FirstLineFault::Element;
    return faultOf(otherSenseOfLine(line));
  }
  return FirstLineFault::NoChinese;
}

size_t FirstLineScan::faulty() const {
  size_t n = 0;
  for (size_t k = 1; k < kFirstLineFaultKinds; ++k) n += faults[k];
  return n;
}

std::vector<FirstLineScan> scanFirstLines(
    const SpokenFrequencies& spoken, const std::function<bool(const std::string&)>& isHeadword,
    const std::function<std::optional<HeardRow>(const std::string&)>& firstRowOf,
    const std::vector<size_t>& tops) {
  std::vector<FirstLineScan> out;
  for (size_t top : tops) out.push_back({top, 0, {}, {}});
  const size_t most = tops.empty() ? 0 : *std::max_element(tops.begin(), tops.end());
  const std::vector<std::string> heard = mostHeardWords(spoken, isHeadword, most);
  for (size_t rank = 0; rank < heard.size(); ++rank) {
    // A capitalised spelling heard less often than the lower-case one is that word at the
    // start of a sentence ("No" is no): judged once, as the lower-case word.
    const std::string lower = lowerAscii(heard[rank]);
    if (lower != heard[rank]) {
      const auto it = spoken.counts.find(lower), own = spoken.counts.find(heard[rank]);
      if (it != spoken.counts.end() && own != spoken.counts.end() && it->second > own->second)
        continue;
    }
    const std::optional<HeardRow> row = firstRowOf(heard[rank]);
    if (!row) continue;
    const FirstLineFault fault = firstLineFault(row->explanation, row->caption);
    for (FirstLineScan& scan : out) {
      if (rank >= scan.top) continue;
      ++scan.words;
      if (fault == FirstLineFault::None) continue;
      ++scan.faults[static_cast<size_t>(fault)];
      if (scan.examples.size() < 40) {
        const std::string_view first =
            std::string_view(row->explanation).substr(0, row->explanation.find("<br/>"));
        scan.examples.push_back(heard[rank] + " (" + kFaultNames[static_cast<size_t>(fault)] +
                                "): " + std::string(first.substr(0, 120)));
      }
    }
  }
  return out;
}

void printFirstLineScan(const FirstLineScan& scan, std::ostream& out) {
  out << "first lines of the spoken top " << scan.top << ": " << scan.faulty() << " at fault (of "
      << scan.words << " entries)";
  for (size_t k = 1; k < kFirstLineFaultKinds; ++k)
    if (scan.faults[k]) out << "; " << kFaultNames[k] << " " << scan.faults[k];
  out << "\n";
  for (const std::string& e : scan.examples) out << "  " << e << "\n";
}

}  // namespace quorvi::dictbuild
