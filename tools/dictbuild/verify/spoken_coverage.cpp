#include "spoken_coverage.h"

#include <algorithm>
#include <cctype>
#include <iomanip>

#include "ascii_case.h"
#include "word_fragments.h"

namespace quorvi::dictbuild {
namespace {

std::vector<std::pair<std::string, double>> byCount(const SpokenFrequencies& spoken) {
  std::vector<std::pair<std::string, double>> list(spoken.counts.begin(), spoken.counts.end());
  std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  return list;
}

std::string withThousands(size_t n) {
  const std::string digits = std::to_string(n);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace

std::vector<SpokenCoverage> measureSpokenCoverage(
    const SpokenFrequencies& spoken, const std::function<bool(const std::string&)>& isHeadword,
    const std::vector<size_t>& tops, const std::function<bool(const std::string&)>& hasChinese) {
  std::vector<SpokenCoverage> out;
  for (size_t top : tops) {
    out.emplace_back();
    out.back().top = top;
    out.back().chineseMeasured = static_cast<bool>(hasChinese);
  }
  const KnownWord known = [&](const std::string& w) { return isHeadword(lowerAscii(w)); };
  for (const auto& [word, count] : byCount(spoken)) {
    const bool fragment = isFragment(word, known);
    const bool covered = !fragment && isHeadword(lowerAscii(word));
    const bool chinese = covered && hasChinese && hasChinese(word);
    bool counting = false;
    for (SpokenCoverage& c : out) {
      if (c.words >= c.top) continue;
      counting = true;
      if (fragment) {
        ++c.fragments;
        continue;
      }
      ++c.words;
      if (covered) {
        ++c.covered;
        if (chinese)
          ++c.withChinese;
        else if (c.chineseMeasured && c.withoutChinese.size() < 30)
          c.withoutChinese.push_back(word);
      } else if (c.missing.size() < 30)
        c.missing.push_back(word);
    }
    if (!counting) break;
  }
  return out;
}

std::vector<std::string> mostHeardWords(const SpokenFrequencies& spoken,
                                        const std::function<bool(const std::string&)>& isHeadword,
                                        size_t top) {
  const KnownWord known = [&](const std::string& w) { return isHeadword(lowerAscii(w)); };
  std::vector<std::string> out;
  for (const auto& [word, count] : byCount(spoken)) {
    if (out.size() >= top) break;
    if (!isFragment(word, known)) out.push_back(word);
  }
  return out;
}

void printSpokenCoverage(const SpokenCoverage& c, std::ostream& out) {
  out << "spoken top " << withThousands(c.top) << ": " << std::fixed << std::setprecision(2)
      << c.percent() << "% (" << c.covered << " of " << c.words << " words; " << c.fragments
      << " fragments passed over)\n";
  if (!c.missing.empty()) {
    out << "  most frequent missing:";
    for (const std::string& w : c.missing) out << " " << w;
    out << "\n";
  }
  if (c.chineseMeasured) {
    const double percent =
        c.covered ? 100.0 * static_cast<double>(c.withChinese) / static_cast<double>(c.covered) : 0;
    out << "  with Chinese: " << percent << "% (" << c.withChinese << " of " << c.covered
        << " headwords)\n";
    if (!c.withoutChinese.empty()) {
      out << "  most frequent without Chinese:";
      for (const std::string& w : c.withoutChinese) out << " " << w;
      out << "\n";
    }
  }
  out.unsetf(std::ios::floatfield);
}

}  // namespace quorvi::dictbuild
