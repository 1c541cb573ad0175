#include "engine/near_sound_match.h"

#include <algorithm>
#include <array>
#include <span>

#include "engine/sound_code.h"
#include "engine/sound_rows.h"

namespace {

using Token = NearSoundMatcher::Token;

constexpr int kMaxTyped = 40;
constexpr int kMaxStored = 80;
constexpr int kNever = 100;
constexpr std::uint8_t kContext = 255;

// Splits codes into sounds: a length mark lengthens the vowel before it, a stress mark
// stresses the next vowel. Returns the number of tokens written (at most `capacity`, or
// capacity + 1 when there are more).
size_t tokenize(std::string_view codes, Token* out, size_t capacity) {
  size_t count = 0;
  bool stressNext = false;
  for (char c : codes) {
    if (c == sound::kPrimaryStress || c == sound::kSecondaryStress) {
      stressNext = true;
    } else if (c == sound::kLength) {
      if (count > 0 && sound::isVowel(out[count - 1].code)) out[count - 1].isLong = true;
    } else {
      if (count == capacity) return capacity + 1;
      const bool vowel = sound::isVowel(c);
      out[count++] = {c, false, vowel && stressNext};
      if (vowel) stressNext = false;
    }
  }
  return count;
}

bool isOneOf(char c, std::string_view set) {
  return set.find(c) != std::string_view::npos;
}

bool pair(char a, char b, char x, char y) {
  return (a == x && b == y) || (a == y && b == x);
}

// A vowel heard in a syllable without stress: short ones blur into ə and i.
bool weakVowels(const Token& typed, const Token& stored) {
  constexpr std::string_view kWeak = "ieEVuOAI";
  return !stored.stressed && isOneOf(typed.code, kWeak) && isOneOf(stored.code, kWeak) &&
         (isOneOf(typed.code, "iEI") || isOneOf(stored.code, "iEI"));
}

// Cost of hearing `stored` where `typed` was written: 0, 1 or kNever.
int substitution(const Token& typed, const Token& stored, char nextTyped, char nextStored) {
  if (typed.code == stored.code) return typed.isLong && !stored.isLong ? 1 : 0;
  const char t = typed.code, s = stored.code;
  if (pair(t, s, 'A', 'e') || pair(t, s, 'V', 'Q') || pair(t, s, 's', 'z') ||
      pair(t, s, 'T', 'D') || pair(t, s, 'g', 'G'))
    return 1;
  if (pair(t, s, 'n', 'N') && (isOneOf(nextTyped, "kgG") || isOneOf(nextStored, "kgG"))) return 1;
  if (pair(t, s, 'i', 'j') && nextTyped == 'E') return 1;
  // dj/dʒ and tj/tʃ: the j and the ʒ or ʃ after d or t
  if (pair(t, s, 'j', 'Z') || pair(t, s, 'j', 'S')) return 1;
  if (sound::isVowel(t) && sound::isVowel(s) && weakVowels(typed, stored)) return 1;
  return kNever;
}

// A sound the learner may write that the dictionary leaves out: r, and a short ə (before l
// or n above all, but syllables drop it anywhere: comf(ə)table).
bool mayBeUnwritten(const Token& typed) {
  return typed.code == 'r' || (typed.code == 'E' && !typed.isLong);
}

bool isUE(const Token* t) {
  return t[0].code == 'u' && !t[0].isLong && t[1].code == 'E';
}
bool isLongO(const Token& t) {
  return t.code == 'O' && t.isLong;
}

}  // namespace

NearSoundMatcher::NearSoundMatcher(std::string_view typedCodes) {
  typed_.resize(typedCodes.size());
  typed_.resize(std::min(tokenize(typedCodes, typed_.data(), typed_.size()), typed_.size()));
  fillCosts();
  bool first = true;
  for (size_t i = 0; i < typed_.size(); ++i) {
    const char code = typed_[i].code;
    const std::uint64_t heard = heardAs(i);
    if (first) firstClasses_ |= heard;
    if (typed_.size() >= 3 && mayBeUnwritten(typed_[i])) continue;
    first = false;
    requiredClasses_.push_back(heard);
    // Consonants keep their order whatever the allowances; j may be heard as i.
    if (!sound::isVowel(code) && code != 'j') {
      sameCodes_.push_back(sound::bitOf(code));
      orderedConsonants_.push_back(heard);
    }
  }
}

// Every stored sound the typed one may be heard as, with or without stress; with ɔː for the u
// of uə and u for ɔː.
std::uint64_t NearSoundMatcher::heardAs(size_t i) const {
  std::uint64_t bits = 0;
  for (int code = 1; code < 128; ++code)
    for (int stressed = 0; stressed < 2; ++stressed)
      if (costs_[i][stressed][code] <= 1 || costs_[i][stressed][code] == kContext)
        bits |= sound::bitOf(static_cast<char>(code));
  if (i + 1 < typed_.size() && isUE(&typed_[i])) bits |= sound::bitOf('O');
  if (isLongO(typed_[i])) bits |= sound::bitOf('u');
  return bits;
}

std::size_t NearSoundMatcher::mostStoredSounds() const {
  return std::min(2 * typed_.size() + 4, typed_.size() + 6);
}

// Costs that depend on the stored sound alone, looked up in the inner loop; kContext where
// the sound after matters.
void NearSoundMatcher::fillCosts() {
  costs_.resize(typed_.size());
  for (size_t i = 0; i < typed_.size(); ++i) {
    const char nextTyped = i + 1 < typed_.size() ? typed_[i + 1].code : 0;
    for (int stressed = 0; stressed < 2; ++stressed) {
      for (int code = 0; code < 128; ++code) {
        const Token stored{static_cast<char>(code), false, stressed == 1};
        const bool nasals = pair(typed_[i].code, stored.code, 'n', 'N');
        costs_[i][stressed][code] = static_cast<std::uint8_t>(
            nasals ? kContext : substitution(typed_[i], stored, nextTyped, 0));
      }
    }
  }
}

int NearSoundMatcher::cost(size_t i, const Token& stored, char nextStored) const {
  const std::uint8_t c = costs_[i][stored.stressed][stored.code & 127];
  if (c == kContext) {
    const char nextTyped = i + 1 < typed_.size() ? typed_[i + 1].code : 0;
    return substitution(typed_[i], stored, nextTyped, nextStored);
  }
  return stored.isLong && stored.code == typed_[i].code ? 0 : c;
}

int NearSoundMatcher::mostAllowances() const {
  const auto n = typed_.size();
  return n <= 4 ? 1 : n <= 7 ? 2 : 3;
}

bool NearSoundMatcher::mayStartWith(char firstSound) const {
  return firstSound != '\0' && (sound::bitOf(firstSound) & firstClasses_) != 0;
}

bool NearSoundMatcher::mayHold(const SoundRows& rows, std::size_t row,
                               std::uint64_t rowSignature) const {
  for (std::uint64_t required : requiredClasses_)
    if ((rowSignature & required) == 0) return false;
  // Each typed consonant the row lacks takes an allowance at least.
  int lacking = 0;
  for (std::uint64_t same : sameCodes_) lacking += (rowSignature & same) == 0;
  if (lacking > mostAllowances()) return false;
  if (!mayStartWith(rows.firstSound(row))) return false;
  if (static_cast<std::size_t>(rows.soundCount(row)) > mostStoredSounds()) return false;
  size_t next = 0;
  for (char c : rows.codes(row)) {
    if (next == orderedConsonants_.size()) break;
    if (sound::bitOf(c) & orderedConsonants_[next]) ++next;
  }
  return next == orderedConsonants_.size();
}

int NearSoundMatcher::allowances(std::string_view storedCodes, int most) const {
  std::array<Token, kMaxStored> stored;
  const size_t n = typed_.size(), m = tokenize(storedCodes, stored.data(), stored.size());
  if (n == 0 || n > kMaxTyped || m > kMaxStored) return most + 1;
  // best[i][j]: fewest allowances for the first i typed sounds within the first j stored ones.
  static thread_local std::array<std::array<std::uint8_t, kMaxStored + 1>, kMaxTyped + 1> best;
  for (size_t j = 0; j <= m; ++j) best[0][j] = 0;
  int previousBest = 0;
  for (size_t i = 1; i <= n; ++i) {
    const Token& t = typed_[i - 1];
    // Two sounds or fewer are too little to leave one out.
    const int unwritten = n >= 3 && mayBeUnwritten(t) ? 1 : kNever;
    best[i][0] = static_cast<std::uint8_t>(std::min(kNever, best[i - 1][0] + unwritten));
    int rowBest = best[i][0];
    for (size_t j = 1; j <= m; ++j) {
      const char nextStored = j < m ? stored[j].code : 0;
      int v = std::min<int>(best[i][j - 1], best[i - 1][j] + unwritten);
      v = std::min(v, best[i - 1][j - 1] + cost(i - 1, stored[j - 1], nextStored));
      if (i >= 2 && isUE(&typed_[i - 2]) && isLongO(stored[j - 1]))
        v = std::min(v, best[i - 2][j - 1] + 1);
      if (j >= 2 && isLongO(t) && isUE(&stored[j - 2])) v = std::min(v, best[i - 1][j - 2] + 1);
      best[i][j] = static_cast<std::uint8_t>(std::min(v, kNever));
      rowBest = std::min(rowBest, v);
    }
    // The uə/ɔː step reaches back two typed sounds: stop only when two rows are past hope.
    if (rowBest > most && previousBest > most) return most + 1;
    previousBest = rowBest;
  }
  return best[n][m];
}

void collectNearSoundRows(const SoundRows& rows, std::string_view typedCodes,
                          const std::vector<bool>& matched, std::vector<RankedRow>& out) {
  const NearSoundMatcher matcher(typedCodes);
  const int most = matcher.mostAllowances();
  const int typedSounds = soundCount(typedCodes);
  // Only rows that start with a sound the first typed one may be heard as.
  for (int first = 1; first < 128; ++first) {
    if (!matcher.mayStartWith(static_cast<char>(first))) continue;
    const std::span<const std::uint32_t> group = rows.rowsStartingWith(static_cast<char>(first));
    const std::span<const std::uint64_t> signatures =
        rows.signaturesStartingWith(static_cast<char>(first));
    for (std::size_t i = 0; i < group.size(); ++i) {
      const std::uint32_t row = group[i];
      const std::uint64_t signature = signatures.empty() ? rows.signature(row) : signatures[i];
      if (matched[row] || !matcher.mayHold(rows, row, signature)) continue;
      const int used = matcher.allowances(rows.codes(row), most);
      if (used > most) continue;
      // Sounds in order that the loose pattern still rejects (a pair split apart) take one.
      out.push_back({closenessKey(std::max(used, 1), typedCodes, typedSounds, rows, row), row});
    }
  }
}
