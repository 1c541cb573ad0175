#include "engine/sound_alignment.h"

#include <algorithm>
#include <array>

#include "engine/sound_code.h"

namespace sound {
namespace {

// The token of a code standing alone.
Token single(char code) {
  switch (code) {
    case 'i':
    case 'I':
      return kI;
    case 'e':
    case 'W':
      return kE;
    case 'A':
      return kAe;
    case 'V':
      return kUh;
    case 'O':
    case 'o':
      return kO;
    case 'E':
      return kSchwa;
    case 'u':
      return kU;
    case 'Q':
    case 'a':
      return kA;
    case 'p':
      return kP;
    case 'b':
      return kB;
    case 't':
      return kT;
    case 'd':
      return kD;
    case 'k':
    case 'c':
    case 'q':
      return kK;
    case 'g':
    case 'G':
      return kG;
    case 'f':
      return kF;
    case 'v':
      return kV;
    case 's':
      return kS;
    case 'z':
      return kZ;
    case 'T':
      return kTh;
    case 'D':
      return kDh;
    case 'S':
      return kSh;
    case 'Z':
      return kZh;
    case 'm':
      return kM;
    case 'n':
      return kN;
    case 'N':
      return kNg;
    case 'h':
      return kH;
    case 'l':
      return kL;
    case 'r':
      return kR;
    case 'w':
      return kW;
    case 'j':
    case 'y':
      return kJ;
    default:
      return kOther;
  }
}

// The token of two codes standing together, or kNoToken.
Token pairOf(char first, char second) {
  switch (first) {
    case 'e':
      return second == 'i' ? kEi : kNoToken;
    case 'a':
      return second == 'i' ? kAi : second == 'u' ? kAu : kNoToken;
    case 'O':
      return second == 'i' ? kOi : kNoToken;
    case 'o':
      return second == 'i' ? kOi : second == 'u' ? kOu : kNoToken;
    case 'E':
      return second == 'u' ? kOu : kNoToken;
    case 'i':
    case 'I':
      return second == 'E' ? kIa : kNoToken;
    case 'W':
      return second == 'E' ? kEa : kNoToken;
    case 'u':
      return second == 'E' ? kUa : kNoToken;
    case 't':
      return second == 'S' ? kCh : kNoToken;
    case 'd':
      return second == 'Z' ? kJh : kNoToken;
    default:
      return kNoToken;
  }
}

// The codes a token may start with (its first code when written as a pair).
std::uint64_t startCodes(Token token) {
  static const std::array<std::uint64_t, kTokenKinds> table = [] {
    std::array<std::uint64_t, kTokenKinds> bits{};
    for (int c = 1; c < 128; ++c) {
      const char code = static_cast<char>(c);
      if (isMark(code)) continue;
      bits[single(code)] |= bitOf(code);
      for (int d = 1; d < 128; ++d)
        if (const Token pair = pairOf(code, static_cast<char>(d)); pair != kNoToken)
          bits[pair] |= bitOf(code);
    }
    return bits;
  }();
  return token < kTokenKinds ? table[token] : 0;
}

// Costs at or above this are no confusion: the typed sound is as good as absent.
constexpr Cost kConfusedBelow = 12;

}  // namespace

std::size_t tokenize(std::string_view codes, std::uint8_t* out, std::size_t capacity) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const char c = codes[i];
    if (c == kPrimaryStress || c == kSecondaryStress) continue;
    if (c == kLength) {
      if (count > 0 && count <= capacity) {
        const std::uint8_t last = out[count - 1];
        if (isVowelToken(last) && codesOf(last) == 1) out[count - 1] = last | kLongToken;
      }
      continue;
    }
    Token token = i + 1 < codes.size() ? pairOf(c, codes[i + 1]) : kNoToken;
    if (token != kNoToken)
      ++i;
    else
      token = single(c);
    if (count < capacity) out[count] = token;
    ++count;
  }
  return count;
}

TypedSounds::TypedSounds(std::string_view typedCodes) : costs_(confusionCosts()) {
  std::array<std::uint8_t, kMaxTyped> tokens;
  const std::size_t n = std::min(tokenize(typedCodes, tokens.data(), kMaxTyped), kMaxTyped);
  typed_.assign(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(n));
  for (std::uint8_t t : typed_) {
    codeCount_ += codesOf(t);
    std::uint64_t near = 0;
    Cost absent = costs_.dropped[t], far = costs_.dropped[t];
    for (std::size_t s = 1; s < kTokenValues; ++s) {
      const auto stored = static_cast<std::uint8_t>(s);
      if (baseToken(stored) == kNoToken || baseToken(stored) >= kTokenKinds) continue;
      const Cost cost = std::min(costs_.substitution[t][s], costs_.finalSubstitution[t][s]);
      if (baseToken(stored) != baseToken(t)) absent = std::min(absent, cost);
      if (cost < kConfusedBelow)
        near |= startCodes(baseToken(stored));
      else
        far = std::min(far, cost);
    }
    ownCodes_.push_back(startCodes(baseToken(t)));
    nearCodes_.push_back(near);
    absentCost_.push_back(absent);
    farCost_.push_back(far);
  }
}

Cost TypedSounds::lengthBound(int rowSounds) const {
  return static_cast<Cost>(rowSounds >= codeCount_
                               ? (rowSounds - codeCount_) * costs_.leastPerExtraRowCode
                               : (codeCount_ - rowSounds) * costs_.leastPerExtraTypedCode);
}

Cost TypedSounds::signatureBound(std::uint64_t signature) const {
  Cost bound = 0;
  for (std::size_t i = 0; i < typed_.size(); ++i) {
    if (signature & ownCodes_[i]) continue;
    bound += (signature & nearCodes_[i]) ? absentCost_[i] : farCost_[i];
  }
  return bound;
}

TypedSounds::Weighed TypedSounds::weigh(std::string_view rowCodes, Cost most,
                                        Cost mostUnlessInOrder) const {
  std::array<std::uint8_t, kMaxRow> row;
  const std::size_t m = std::min(tokenize(rowCodes, row.data(), kMaxRow), kMaxRow);
  const std::size_t n = typed_.size();

  Weighed result{0, false};
  // The typed sounds in order, length aside.
  std::size_t next = 0;
  for (std::size_t j = 0; j < m && next < n; ++j)
    if (baseToken(row[j]) == baseToken(typed_[next])) ++next;
  result.inOrder = next == n;
  if (!result.inOrder) most = std::min(most, mostUnlessInOrder);

  // What a row's sound costs when the learner did not type it: less in a cluster.
  std::array<std::uint8_t, kMaxRow> unheard;
  for (std::size_t j = 0; j < m; ++j) {
    const bool cluster = !isVowelToken(row[j]) && ((j > 0 && !isVowelToken(row[j - 1])) ||
                                                   (j + 1 < m && !isVowelToken(row[j + 1])));
    unheard[j] = cluster ? costs_.unheardInCluster[row[j]] : costs_.unheard[row[j]];
  }

  // best[j]: the least cost of the typed sounds so far against the row's first j sounds.
  std::array<Cost, kMaxRow + 1> best;
  best[0] = 0;
  for (std::size_t j = 1; j <= m; ++j)
    best[j] = static_cast<Cost>(std::min<int>(kFar, best[j - 1] + unheard[j - 1]));
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t t = typed_[i];
    const auto& substitution = costs_.substitution[t];
    const Cost dropped = costs_.dropped[t];
    Cost diagonal = best[0];
    best[0] = static_cast<Cost>(std::min<int>(kFar, best[0] + dropped));
    Cost rowBest = best[0];
    for (std::size_t j = 1; j <= m; ++j) {
      const std::uint8_t s = row[j - 1];
      const Cost heardAs = j == m ? costs_.finalSubstitution[t][s] : substitution[s];
      const int v = std::min({diagonal + heardAs, best[j] + dropped, best[j - 1] + unheard[j - 1]});
      diagonal = best[j];
      best[j] = static_cast<Cost>(std::min(v, static_cast<int>(kFar)));
      rowBest = std::min(rowBest, best[j]);
    }
    if (rowBest > most) {
      result.cost = kFar;
      return result;
    }
  }
  int cost = kFar;
  for (std::size_t j = 0; j <= m; ++j)
    cost = std::min<int>(cost, best[j] + static_cast<int>(costs_.notYetTyped * (m - j)));
  result.cost = static_cast<Cost>(cost);
  return result;
}

}  // namespace sound
