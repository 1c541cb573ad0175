#include "engine/aligned_sounds.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "engine/sound_alignment.h"
#include "engine/sound_code.h"

namespace sound {
namespace {

struct Tokens {
  std::array<std::uint8_t, TypedSounds::kMaxRow> token;
  std::array<std::uint16_t, TypedSounds::kMaxRow + 1> start;
  std::size_t size;
};

Tokens read(std::string_view codes, std::size_t most) {
  Tokens t;
  t.size = std::min(tokenize(codes, t.token.data(), most, t.start.data()), most);
  t.start[t.size] = static_cast<std::uint16_t>(codes.size());
  return t;
}

// The symbols of token `k`, stress marks left out.
std::string symbolsOf(std::string_view codes, const Tokens& t, std::size_t k) {
  std::string text;
  for (std::size_t i = t.start[k]; i < t.start[k + 1]; ++i)
    if (codes[i] != kPrimaryStress && codes[i] != kSecondaryStress) text.push_back(codes[i]);
  return toSymbols(text);
}

}  // namespace

std::vector<AlignedSound> alignSounds(std::string_view typedCodes, std::string_view rowCodes) {
  const ConfusionCosts& costs = confusionCosts();
  const Tokens typed = read(typedCodes, TypedSounds::kMaxTyped);
  const Tokens row = read(rowCodes, TypedSounds::kMaxRow);
  const std::size_t n = typed.size, m = row.size;
  if (n == 0 || m == 0) return {};
  // The cost of a row sound the learner did not type: less in a cluster, as the search has it.
  std::vector<int> unheard(m);
  for (std::size_t j = 0; j < m; ++j) {
    const std::uint8_t s = row.token[j];
    const bool cluster = !isVowelToken(s) && ((j > 0 && !isVowelToken(row.token[j - 1])) ||
                                              (j + 1 < m && !isVowelToken(row.token[j + 1])));
    unheard[j] = cluster ? costs.unheardInCluster[s] : costs.unheard[s];
  }
  // cell(i, j): the least cost of the first i typed sounds against the first j row sounds.
  const std::size_t width = m + 1;
  std::vector<int> cell((n + 1) * width, std::numeric_limits<int>::max() / 2);
  const auto at = [&](std::size_t i, std::size_t j) -> int& { return cell[i * width + j]; };
  const auto substitution = [&](std::size_t i, std::size_t j) {
    const std::uint8_t t = typed.token[i - 1], s = row.token[j - 1];
    return j == m ? costs.finalSubstitution[t][s] : costs.substitution[t][s];
  };
  at(0, 0) = 0;
  for (std::size_t j = 1; j <= m; ++j) at(0, j) = at(0, j - 1) + unheard[j - 1];
  for (std::size_t i = 1; i <= n; ++i) {
    at(i, 0) = at(i - 1, 0) + costs.dropped[typed.token[i - 1]];
    for (std::size_t j = 1; j <= m; ++j)
      at(i, j) = std::min({at(i - 1, j - 1) + substitution(i, j),
                           at(i - 1, j) + costs.dropped[typed.token[i - 1]],
                           at(i, j - 1) + unheard[j - 1]});
  }
  // The row sounds after the last aligned one are not typed yet.
  std::size_t end = 0;
  for (std::size_t j = 0; j <= m; ++j)
    if (at(n, j) + static_cast<int>(costs.notYetTyped * (m - j)) <
        at(n, end) + static_cast<int>(costs.notYetTyped * (m - end)))
      end = j;

  std::vector<AlignedSound> steps;
  for (std::size_t j = m; j > end; --j)
    steps.push_back(
        {AlignedSound::Kind::NotYetTyped, {}, symbolsOf(rowCodes, row, j - 1), costs.notYetTyped});
  std::size_t i = n, j = end;
  while (i > 0 || j > 0) {
    if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + substitution(i, j)) {
      const Cost cost = static_cast<Cost>(substitution(i, j));
      const bool same = baseToken(typed.token[i - 1]) == baseToken(row.token[j - 1]);
      steps.push_back({same ? AlignedSound::Kind::Same : AlignedSound::Kind::HeardAs,
                       symbolsOf(typedCodes, typed, i - 1), symbolsOf(rowCodes, row, j - 1), cost});
      --i;
      --j;
    } else if (i > 0 && at(i, j) == at(i - 1, j) + costs.dropped[typed.token[i - 1]]) {
      steps.push_back({AlignedSound::Kind::Added,
                       symbolsOf(typedCodes, typed, i - 1),
                       {},
                       costs.dropped[typed.token[i - 1]]});
      --i;
    } else {
      steps.push_back({AlignedSound::Kind::Unheard,
                       {},
                       symbolsOf(rowCodes, row, j - 1),
                       static_cast<Cost>(unheard[j - 1])});
      --j;
    }
  }
  std::reverse(steps.begin(), steps.end());
  return steps;
}

}  // namespace sound
