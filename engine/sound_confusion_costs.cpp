// The costs of a learner's slips, in twentieths of a plain edit (kEdit = 20: one sound heard
// as an unrelated one). One table to read and tune: a row per confusion, with where the
// figure comes from. Tune classes of slips, never single words.
//
// Where the figures come from: the contrastive analyses of Mandarin and of southern Chinese
// (Cantonese, Min, Hunan and Sichuan Mandarin) against English taught in teacher training for
// Chinese learners, and the error counts of learner corpora of spoken and dictated English by
// Chinese students. Mandarin has no θ, ð, v, æ, ʒ, no contrast of vowel length, no voiced
// stops (its b d g are voiceless unaspirated), and only n and ŋ at a syllable's end; many
// southern speakers merge n and l, and r is often heard as l. A confusion teachers meet in
// most learners costs 4 to 6, one they meet often 7 to 9, a plausible one 10; everything else
// a plain edit. Length is never a slip: it only breaks ties (1).
#include "engine/sound_confusion_costs.h"

#include <algorithm>
#include <initializer_list>

namespace sound {
namespace {

struct Confusion {
  Token a, b;
  std::uint8_t cost;
  std::uint8_t atTheEnd;  // the cost when the row's sound is its last; 0: the same
};

// Either way round: the learner may write a for b or b for a.
constexpr Confusion kConfusions[] = {
    // Vowels in unstressed syllables blur into ə and short i; learners write what they heard.
    {kSchwa, kI, 5, 0},
    {kSchwa, kUh, 5, 0},  // ʌ and ə: one phoneme in many textbooks' drills
    {kSchwa, kE, 7, 0},
    {kI, kE, 7, 0},
    {kSchwa, kU, 8, 0},
    {kSchwa, kO, 8, 0},
    {kSchwa, kAe, 9, 0},
    // Mandarin has no æ: it is heard as e (bad/bed), the most frequent vowel slip in counts.
    {kAe, kE, 5, 0},
    // ʌ and ɑː: both open central to Chinese ears.
    {kUh, kA, 5, 0},
    // æ and ɑː: the British bath vowel against the American one learners hear in media.
    {kAe, kA, 7, 0},
    {kAe, kUh, 9, 0},
    {kO, kA, 8, 0},  // the American lot vowel
    {kUh, kO, 9, 0},
    // Glides shortened to their first vowel: ei as e, əu as ɔ (Mandarin ou, and the tense
    // e of Cantonese).
    {kEi, kE, 5, 0},
    {kOu, kO, 5, 3},  // no English word ends in a short ɔ: ɡɔ, ɡo at the end is go
    {kOu, kU, 9, 0},
    {kEi, kI, 10, 0},
    {kEi, kAi, 10, 0},
    {kAu, kOu, 10, 0},
    {kOi, kO, 10, 0},
    // Centring glides: uə as ɔː (the modern British form), iə heard as jə, ɛə as e.
    {kUa, kO, 6, 0},
    {kUa, kU, 6, 0},
    {kUa, kSchwa, 8, 0},
    {kIa, kI, 8, 0},
    {kIa, kSchwa, 7, 0},
    // Older textbooks and many learners' dictionaries write iə after a consonant as jə
    // (India ˈindjə, period ˈpiərjəd): the j stands for the glide's first half, and the ə
    // typed after it is then one the row lacks, for kDroppedGlideEnd.
    {kIa, kJ, 4, 0},
    {kEa, kE, 6, 0},
    {kEa, kEi, 8, 0},
    {kEa, kAe, 8, 0},
    // θ and ð are missing from Mandarin and Cantonese: θ is said and heard as s (or f, t),
    // ð as d or z (or v). θ/s is the single most frequent consonant slip in the counts.
    {kTh, kS, 4, 0},
    {kTh, kF, 8, 0},
    {kTh, kT, 9, 0},
    {kDh, kD, 5, 0},
    {kDh, kZ, 5, 0},
    {kDh, kV, 10, 0},
    // Mandarin has no v: it is heard as w (or f).
    {kV, kW, 5, 0},
    // n and l merge for speakers of southern Chinese; n and ŋ at a syllable's end for many
    // northern and southern speakers alike.
    {kN, kL, 6, 0},
    {kN, kNg, 6, 0},
    // r heard as l, and r or l as w after the vowel.
    {kR, kL, 6, 0},
    {kR, kW, 10, 0},
    {kL, kU, 10, 0},
    // ʃ and s: Cantonese and many southern Mandarin speakers have one sibilant; ʒ is missing.
    {kSh, kS, 6, 0},
    {kZh, kSh, 7, 0},
    {kZh, kZ, 8, 0},
    {kZh, kJh, 7, 0},
    {kCh, kSh, 8, 0},
    {kCh, kT, 10, 0},
    {kJh, kD, 10, 0},
    // Voicing: Chinese stops contrast aspiration, not voice, and a word-final consonant is
    // devoiced (or voiced) by most learners: cheap at the end of the word, less so before.
    {kS, kZ, 6, 3},
    {kP, kB, 10, 4},
    {kT, kD, 10, 4},
    {kK, kG, 10, 4},
    {kF, kV, 8, 4},
    {kTh, kDh, 7, 4},
    {kSh, kZh, 7, 4},
    {kCh, kJh, 9, 4},
    // Glides and their vowels.
    {kJ, kI, 8, 0},
    {kW, kU, 8, 0},
    {kM, kN, 10, 0},
};

// A typed sound the row does not have. Learners add ə after a final consonant or between two
// (Chinese syllables end in a vowel or nasal) and an r they know from American spelling; any
// other typed sound the row lacks is a real difference and costs more than one it adds.
constexpr struct {
  Token token;
  std::uint8_t cost;
} kDropped[] = {
    {kSchwa, 5}, {kR, 5}, {kJ, 7}, {kH, 8}, {kI, 8}, {kW, 10},
};
constexpr std::uint8_t kDroppedVowel = 12;
// The ə of jə written for iə (above): the two typed sounds stand for the row's one, so that
// India typed ˈindjə costs 5 in all, a quarter of a plain edit: the same notation,
// not a slip.
constexpr std::uint8_t kDroppedGlideEnd = 1;
constexpr std::uint8_t kDroppedConsonant = 14;

// A sound of the row the learner did not type. Weak sounds go unheard most: a ə or short i in
// an unstressed syllable, the r and j British dictionaries write where learners hear none,
// h; a consonant next to another (a cluster) is thinned by Chinese speakers, whose
// syllables have no clusters.
constexpr struct {
  Token token;
  std::uint8_t cost;
} kUnheard[] = {
    {kSchwa, 3}, {kR, 3}, {kI, 4}, {kJ, 4}, {kH, 6}, {kU, 6}, {kW, 8},
};
constexpr std::uint8_t kUnheardVowel = 9;
constexpr std::uint8_t kUnheardConsonant = 10;
constexpr std::uint8_t kUnheardInCluster = 6;
// Sounds after the last typed one: the learner may still be typing. Cheaper than any sound
// within, so that a word that starts with the typed sounds comes before one that holds them
// apart; never free, so that a word of exactly the typed sounds comes first.
constexpr std::uint8_t kNotYetTyped = 3;
// A vowel typed long where the row's is short, or short where it is long: only a tie-break.
constexpr std::uint8_t kOtherLength = 1;
// Sounds heard as unrelated ones: vowels blur into each other more than consonants do.
constexpr std::uint8_t kVowelForVowel = 16;
constexpr std::uint8_t kConsonantForConsonant = kEdit;
constexpr std::uint8_t kVowelForConsonant = 26;

ConfusionCosts makeCosts() {
  ConfusionCosts c;
  for (std::size_t t = 0; t < kTokenValues; ++t) {
    for (std::size_t s = 0; s < kTokenValues; ++s) {
      const auto typed = static_cast<std::uint8_t>(t), stored = static_cast<std::uint8_t>(s);
      std::uint8_t cost;
      if (baseToken(typed) == baseToken(stored))
        cost = typed == stored ? 0 : kOtherLength;
      else if (isVowelToken(typed) && isVowelToken(stored))
        cost = kVowelForVowel;
      else if (!isVowelToken(typed) && !isVowelToken(stored) && baseToken(typed) != kOther &&
               baseToken(stored) != kOther)
        cost = kConsonantForConsonant;
      else
        cost = kVowelForConsonant;
      c.substitution[t][s] = c.finalSubstitution[t][s] = cost;
    }
  }
  for (const Confusion& confusion : kConfusions) {
    for (std::uint8_t la : {0, 64})
      for (std::uint8_t lb : {0, 64}) {
        const std::size_t a = confusion.a | la, b = confusion.b | lb;
        const std::uint8_t lengthApart = la != lb ? kOtherLength : 0;
        // A length only vowels have: a consonant's copy with the flag is never made.
        if ((la && !isVowelToken(confusion.a)) || (lb && !isVowelToken(confusion.b))) continue;
        const auto cost = static_cast<std::uint8_t>(confusion.cost + lengthApart);
        const auto atEnd = static_cast<std::uint8_t>(
            (confusion.atTheEnd ? confusion.atTheEnd : confusion.cost) + lengthApart);
        c.substitution[a][b] = c.substitution[b][a] = cost;
        c.finalSubstitution[a][b] = c.finalSubstitution[b][a] = atEnd;
      }
  }
  for (std::size_t t = 0; t < kTokenValues; ++t) {
    const auto token = static_cast<std::uint8_t>(t);
    const bool vowel = isVowelToken(token);
    c.dropped[t] = vowel ? kDroppedVowel : kDroppedConsonant;
    c.unheard[t] = vowel ? kUnheardVowel : kUnheardConsonant;
    c.unheardInCluster[t] = vowel ? kUnheardVowel : kUnheardInCluster;
  }
  // The weak sounds are weak short: a long ə or i is a full, stressed vowel.
  for (const auto& [token, cost] : kDropped) c.dropped[token] = cost;
  c.droppedNotAfterVowel = c.dropped;
  // The r learners add is the one American spelling shows after a vowel (car, water); an r
  // typed at the start of a word or after a consonant (red, try) was heard: a real consonant.
  c.droppedNotAfterVowel[kR] = kDroppedConsonant;
  for (const auto& [token, cost] : kUnheard) {
    c.unheard[token] = cost;
    c.unheardInCluster[token] = std::min(cost, c.unheardInCluster[token]);
  }
  c.notYetTyped = kNotYetTyped;
  c.droppedGlideEnd = kDroppedGlideEnd;

  // The bounds by sound count: an alignment sets each typed sound against one row's sound at
  // most, so each sound by which the row is longer is not typed (not yet, or not heard), and
  // each by which it is shorter is dropped.
  int perRowToken = kNotYetTyped, perTypedToken = 255;
  for (std::size_t t = 0; t < kTokenValues; ++t) {
    perRowToken = std::min<int>({perRowToken, c.unheard[t], c.unheardInCluster[t]});
    perTypedToken = std::min<int>(perTypedToken, c.dropped[t]);
  }
  c.leastPerExtraRowToken = static_cast<std::uint8_t>(perRowToken);
  c.leastPerExtraTypedToken = static_cast<std::uint8_t>(perTypedToken);
  return c;
}

}  // namespace

int codesOf(std::uint8_t token) {
  const Token base = baseToken(token);
  return (base >= kEi && base <= kUa) || base == kCh || base == kJh ? 2 : 1;
}

const ConfusionCosts& confusionCosts() {
  static const ConfusionCosts costs = makeCosts();
  return costs;
}

}  // namespace sound
