#include "engine/sound_alignment.h"

#include <algorithm>
#include <array>
#include <bit>

#include "engine/sound_code.h"

namespace sound {
namespace {

// The token of a code standing alone.
Token single(char code) {
  switch (code) {
    case 'i':
    case code::kSmallCapitalI:
      return kI;
    case 'e':
    case code::kOpenE:
      return kE;
    case code::kAsh:
      return kAe;
    case code::kTurnedV:
      return kUh;
    case code::kOpenO:
    case 'o':
      return kO;
    case code::kSchwa:
      return kSchwa;
    case 'u':
      return kU;
    case code::kOpenBackA:
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
    case code::kScriptG:
      return kG;
    case 'f':
      return kF;
    case 'v':
      return kV;
    case 's':
      return kS;
    case 'z':
      return kZ;
    case code::kTheta:
      return kTh;
    case code::kEth:
      return kDh;
    case code::kEsh:
      return kSh;
    case code::kEzh:
      return kZh;
    case 'm':
      return kM;
    case 'n':
      return kN;
    case code::kEng:
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
    case code::kOpenO:
      return second == 'i' ? kOi : kNoToken;
    case 'o':
      return second == 'i' ? kOi : second == 'u' ? kOu : kNoToken;
    case code::kSchwa:
      return second == 'u' ? kOu : kNoToken;
    case 'i':
    case code::kSmallCapitalI:
      return second == code::kSchwa ? kIa : kNoToken;
    case code::kOpenE:
      return second == code::kSchwa ? kEa : kNoToken;
    case 'u':
      return second == code::kSchwa ? kUa : kNoToken;
    case 't':
      return second == code::kEsh ? kCh : kNoToken;
    case 'd':
      return second == code::kEzh ? kJh : kNoToken;
    default:
      return kNoToken;
  }
}

}  // namespace

std::uint64_t kindsOf(const std::uint8_t* tokens, std::size_t count) {
  std::uint64_t kinds = 0;
  for (std::size_t i = 0; i < count; ++i) kinds |= std::uint64_t{1} << baseToken(tokens[i]);
  return kinds;
}

std::size_t tokenize(std::string_view codes, std::uint8_t* out, std::size_t capacity,
                     std::uint16_t* startOf) {
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
    if (startOf != nullptr && count < capacity) startOf[count] = static_cast<std::uint16_t>(i);
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

TypedSounds::TypedSounds(std::string_view typedCodes)
    : leastPerTypedToken_(confusionCosts().leastPerExtraTypedToken), costs_(confusionCosts()) {
  std::array<std::uint8_t, kMaxTyped> tokens;
  const std::size_t all = tokenize(typedCodes, tokens.data(), kMaxTyped);
  cut_ = all > kMaxTyped;
  const std::size_t n = std::min(all, kMaxTyped);
  typed_.assign(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(n));
  for (std::size_t i = 0; i < typed_.size(); ++i) {
    const std::uint8_t t = typed_[i];
    const bool afterVowel = i > 0 && isVowelToken(typed_[i - 1]);
    dropped_.push_back(afterVowel ? costs_.dropped[t] : costs_.droppedNotAfterVowel[t]);
    // jə after a consonant, the older notation of iə: the ə costs less where the row's iə
    // took the j's place. The bounds of this text may not pass that.
    Cost leastDropped = dropped_.back();
    if (t == kSchwa && i > 1 && typed_[i - 1] == kJ && !isVowelToken(typed_[i - 2]) && i < 64) {
      glideEnds_ |= std::uint64_t{1} << i;
      leastDropped = std::min<Cost>(leastDropped, costs_.droppedGlideEnd);
    }
    leastPerTypedToken_ = std::min<Cost>(leastPerTypedToken_, leastDropped);
    auto kind = std::find_if(kinds_.begin(), kinds_.end(),
                             [t](const Kind& k) { return k.base == baseToken(t); });
    if (kind == kinds_.end()) {
      kinds_.push_back({baseToken(t), 0, kFar, {}, {}, kFar, 0});
      kind = kinds_.end() - 1;
    }
    ++kind->count;
    kind->dropped = std::min<Cost>(kind->dropped, leastDropped);
  }
  for (std::size_t i = 0; i < typed_.size(); ++i)
    positionsOf_[baseToken(typed_[i])] |= std::uint64_t{1} << i;
  for (Kind& kind : kinds_) {
    // What hearing each other kind costs, at least, for any typed sound of this kind.
    std::array<Cost, kTokenKinds> heard;
    heard.fill(kFar);
    for (const std::uint8_t t : typed_) {
      if (baseToken(t) != kind.base) continue;
      for (std::size_t s = 1; s < kTokenValues; ++s) {
        const Token base = baseToken(static_cast<std::uint8_t>(s));
        if (base == kNoToken || base >= kTokenKinds || base == kind.base) continue;
        heard[base] = std::min<Cost>(
            heard[base], std::min(costs_.substitution[t][s], costs_.finalSubstitution[t][s]));
      }
    }
    std::array<std::uint8_t, kTokenKinds> order;
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<std::uint8_t>(k);
    std::stable_sort(order.begin(), order.end(),
                     [&heard](std::uint8_t x, std::uint8_t y) { return heard[x] < heard[y]; });
    std::size_t listed = 0, next = 0;
    for (; next < order.size() && listed < Kind::kHeardAs; ++next) {
      if (heard[order[next]] >= kind.dropped) break;
      kind.heardAs[listed] = std::uint64_t{1} << order[next];
      kind.heardAsCost[listed++] = heard[order[next]];
    }
    kind.otherwise =
        next < order.size() ? std::min(kind.dropped, heard[order[next]]) : kind.dropped;
    for (std::size_t h = 0; h < listed; ++h) kind.nearAny |= kind.heardAs[h];
    for (; listed < Kind::kHeardAs; ++listed) kind.heardAsCost[listed] = kind.otherwise;
    typedKinds_ |= std::uint64_t{1} << kind.base;
    relevantKinds_ |= (std::uint64_t{1} << kind.base) | kind.nearAny;
    kindIndex_[kind.base] = static_cast<std::uint8_t>(&kind - kinds_.data());
  }
}

Cost TypedSounds::absentKindsBound(std::uint64_t kinds, Cost most) const {
  int bound = 0;
  for (std::uint64_t absent = typedKinds_ & ~kinds; absent != 0 && bound <= most;
       absent &= absent - 1) {
    const Kind& kind = kinds_[kindIndex_[std::countr_zero(absent)]];
    Cost least = kind.otherwise;
    if (kinds & kind.nearAny)
      for (std::size_t h = Kind::kHeardAs; h-- > 0;)
        if (kinds & kind.heardAs[h]) least = kind.heardAsCost[h];
    bound += kind.count * least;
  }
  return static_cast<Cost>(std::min<int>(bound, kFar));
}

Cost TypedSounds::lengthBound(int rowSounds) const {
  const int typed = static_cast<int>(typed_.size());
  return static_cast<Cost>(rowSounds >= typed ? (rowSounds - typed) * costs_.leastPerExtraRowToken
                                              : (typed - rowSounds) * leastPerTypedToken_);
}

TypedSounds::Weighed TypedSounds::weigh(const std::uint8_t* row, std::size_t rowSize, Cost most,
                                        Cost mostUnlessInOrder, Cost bound,
                                        std::size_t heldUnlessInOrder) const {
  const std::size_t m = std::min(rowSize, kMaxRow);
  const std::size_t n = typed_.size();
  if (n == 1) return weighOne(row, m, most, mostUnlessInOrder, heldUnlessInOrder);

  Weighed result{kFar, false};
  // One pass over the row: how many of each kind it has, and the most typed sounds it holds
  // in order, length aside (a longest common subsequence, one bit per typed sound).
  std::array<std::uint8_t, 64> rowKinds{};
  std::uint64_t present = 0, unmatched = ~std::uint64_t{0};
  for (std::size_t j = 0; j < m; ++j) {
    const Token base = baseToken(row[j]);
    ++rowKinds[base];
    present |= std::uint64_t{1} << base;
    const std::uint64_t matches = unmatched & positionsOf_[base];
    unmatched = (unmatched + matches) | (unmatched - matches);
  }
  const std::uint64_t typedBits = n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
  const auto held = static_cast<std::size_t>(std::popcount(~unmatched & typedBits));
  result.inOrder = held == n;
  result.held = held;
  if (!result.inOrder && held < heldUnlessInOrder) return result;
  if (!result.inOrder) most = std::min(most, mostUnlessInOrder);
  if (bound > most) return result;

  // A bound by those: every typed sound beyond the ones held in order is heard as another
  // sound or dropped, among them each copy of a kind beyond the row's copies; every row sound
  // beyond the typed count goes unheard.
  int kindsBound = m > n ? static_cast<int>(m - n) * costs_.leastPerExtraRowToken : 0;
  std::size_t forced = 0;
  int leastUnforced = kFar;
  for (const Kind& kind : kinds_) {
    Cost least = kind.otherwise;
    for (std::size_t h = Kind::kHeardAs; h-- > 0;)
      if (present & kind.heardAs[h]) least = kind.heardAsCost[h];
    const std::uint8_t have = rowKinds[kind.base];
    if (have > 0) leastUnforced = std::min<int>(leastUnforced, least);
    if (have >= kind.count) continue;
    forced += kind.count - have;
    kindsBound += (kind.count - have) * least;
  }
  if (n > held + forced) kindsBound += static_cast<int>(n - held - forced) * leastUnforced;
  if (kindsBound > most) return result;

  // What a row's sound costs when the learner did not type it: less in a cluster.
  std::array<std::uint8_t, kMaxRow> unheard;
  for (std::size_t j = 0; j < m; ++j) {
    const bool cluster = !isVowelToken(row[j]) && ((j > 0 && !isVowelToken(row[j - 1])) ||
                                                   (j + 1 < m && !isVowelToken(row[j + 1])));
    unheard[j] = cluster ? costs_.unheardInCluster[row[j]] : costs_.unheard[row[j]];
  }

  // What the sounds after a cell cost at least: per row sound more than typed sounds left (not
  // typed, or not heard), per typed sound more than row sounds left (dropped).
  const int perRowSound = costs_.leastPerExtraRowToken;
  const int perTypedSound = leastPerTypedToken_;

  // best[j]: the least cost of the typed sounds so far against the row's first j sounds.
  std::array<Cost, kMaxRow + 1> best;
  best[0] = 0;
  for (std::size_t j = 1; j <= m; ++j)
    best[j] = static_cast<Cost>(std::min<int>(kFar, best[j - 1] + unheard[j - 1]));
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t t = typed_[i];
    const auto& substitution = costs_.substitution[t];
    const Cost dropped = dropped_[i];
    const bool glideEnd = ((glideEnds_ >> i) & 1) != 0;
    // Dropping the typed sound right after the row's sound j - 1.
    const auto droppedAfter = [&](std::size_t j) {
      return glideEnd && baseToken(row[j - 1]) == kIa ? Cost{costs_.droppedGlideEnd} : dropped;
    };
    // Typed sounds left after this one, against row sounds left after cell j (m - j).
    const int typedLeft = static_cast<int>(n - 1 - i);
    const auto rest = [&](std::size_t j) {
      const int rowLeft = static_cast<int>(m - j);
      return rowLeft >= typedLeft ? (rowLeft - typedLeft) * perRowSound
                                  : (typedLeft - rowLeft) * perTypedSound;
    };
    Cost diagonal = best[0];
    best[0] = static_cast<Cost>(std::min<int>(kFar, best[0] + dropped));
    int rowBest = best[0] + rest(0);
    for (std::size_t j = 1; j < m; ++j) {
      const int v = std::min({diagonal + substitution[row[j - 1]], best[j] + droppedAfter(j),
                              best[j - 1] + unheard[j - 1]});
      diagonal = best[j];
      best[j] = static_cast<Cost>(std::min(v, static_cast<int>(kFar)));
      rowBest = std::min(rowBest, v + rest(j));
    }
    if (m > 0) {
      const int v = std::min({diagonal + costs_.finalSubstitution[t][row[m - 1]],
                              best[m] + droppedAfter(m), best[m - 1] + unheard[m - 1]});
      best[m] = static_cast<Cost>(std::min(v, static_cast<int>(kFar)));
      rowBest = std::min(rowBest, v + rest(m));
    }
    if (rowBest > most) return result;
  }
  int cost = kFar;
  for (std::size_t j = 0; j <= m; ++j)
    cost = std::min<int>(cost, best[j] + static_cast<int>(costs_.notYetTyped * (m - j)));
  result.cost = static_cast<Cost>(cost);
  return result;
}

TypedSounds::Weighed TypedSounds::weighOne(const std::uint8_t* row, std::size_t m, Cost most,
                                           Cost mostUnlessInOrder,
                                           std::size_t heldUnlessInOrder) const {
  const std::uint8_t typed = typed_[0];
  const Token base = baseToken(typed);
  // The alignment of weigh with one typed sound, in the same pass as whether the row holds it,
  // without a branch on the sounds: best is the least cost of the typed sound against the
  // row's first j sounds, unheardBefore what those sounds cost unheard.
  const std::uint8_t* const unheardCosts[2] = {costs_.unheard.data(),
                                               costs_.unheardInCluster.data()};
  const int dropped = dropped_[0];
  const int notYetTyped = costs_.notYetTyped;
  int unheardBefore = 0;
  int best = dropped;
  int cost = best + notYetTyped * static_cast<int>(m);
  bool holds = false;
  bool consonantBefore = false;
  bool consonant = m > 0 && !isVowelToken(row[0]);
  // The row's sound j - 1, heard as the typed one at `heardAs` (its table of costs).
  const auto step = [&](std::size_t j, bool consonantAfter, const std::uint8_t* heardAsCosts) {
    const std::uint8_t sound = row[j - 1];
    holds |= baseToken(sound) == base;
    const bool cluster = consonant & (consonantBefore | consonantAfter);
    consonantBefore = consonant;
    consonant = consonantAfter;
    const int unheard = unheardCosts[cluster][sound];
    const int heardAs = heardAsCosts[sound];
    best = std::min(std::min(unheardBefore + heardAs, unheardBefore + unheard + dropped),
                    best + unheard);
    unheardBefore += unheard;
    cost = std::min(cost, best + notYetTyped * static_cast<int>(m - j));
  };
  const std::uint8_t* const heardAs = costs_.substitution[typed].data();
  for (std::size_t j = 1; j < m; ++j) step(j, !isVowelToken(row[j]), heardAs);
  if (m > 0) step(m, false, costs_.finalSubstitution[typed].data());
  Weighed result{kFar, holds, holds ? std::size_t{1} : 0};
  if (!holds && heldUnlessInOrder > 0) return result;
  if (!holds) most = std::min(most, mostUnlessInOrder);
  if (cost <= most) result.cost = static_cast<Cost>(cost);
  return result;
}

}  // namespace sound
