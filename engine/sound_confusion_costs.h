// What a learner's slip costs when the search by sound weighs a row against what was typed:
// the sounds (one token per vowel, diphthong, consonant or affricate), and the costs of
// hearing one sound for another, of a typed sound the row lacks and of a row's sound the
// learner did not type. The figures are one table, in sound_confusion_costs.cpp.
#pragma once

#include <array>
#include <cstdint>

namespace sound {

// One sound. A vowel token may carry kLongToken (a length mark after it).
enum Token : std::uint8_t {
  kNoToken = 0,
  // single vowels
  kI,
  kE,
  kAe,
  kUh,
  kO,
  kSchwa,
  kU,
  kA,
  // two-vowel glides
  kEi,
  kAi,
  kOi,
  kOu,
  kAu,
  kIa,
  kEa,
  kUa,
  // consonants and affricates
  kP,
  kB,
  kT,
  kD,
  kK,
  kG,
  kF,
  kV,
  kS,
  kZ,
  kTh,
  kDh,
  kSh,
  kZh,
  kCh,
  kJh,
  kM,
  kN,
  kNg,
  kH,
  kL,
  kR,
  kW,
  kJ,
  kOther,  // a letter or symbol of no sound above
  kTokenKinds
};
constexpr std::uint8_t kLongToken = 64;
constexpr std::size_t kTokenValues = 128;

constexpr Token baseToken(std::uint8_t token) {
  return static_cast<Token>(token & (kLongToken - 1));
}
constexpr bool isVowelToken(std::uint8_t token) {
  return baseToken(token) >= kI && baseToken(token) <= kUa;
}

// Costs in twentieths of one plain edit (a sound for an unrelated sound).
using Cost = std::uint16_t;
constexpr Cost kEdit = 20;

struct ConfusionCosts {
  // [typed][stored]: hearing `stored` where `typed` was written (0 for the same sound).
  std::array<std::array<std::uint8_t, kTokenValues>, kTokenValues> substitution{};
  // The same when `stored` is the row's last sound (voicing is lost at a word's end).
  std::array<std::array<std::uint8_t, kTokenValues>, kTokenValues> finalSubstitution{};
  // A typed sound the row does not have; and the same where no vowel was typed just before it
  // (at the start, or after a consonant), where a weak sound learners add is no weak sound.
  std::array<std::uint8_t, kTokenValues> dropped{};
  std::array<std::uint8_t, kTokenValues> droppedNotAfterVowel{};
  // A typed ə the row lacks right after the row's iə, where a j typed after a consonant came
  // before it: in the older notation of iə (ˈindjə) it is the glide's second half.
  std::uint8_t droppedGlideEnd = 0;
  // A sound of the row the learner did not type, within or before the typed sounds; a
  // consonant next to another consonant of the row (a cluster thinned) may cost less.
  std::array<std::uint8_t, kTokenValues> unheard{};
  std::array<std::uint8_t, kTokenValues> unheardInCluster{};
  // A sound of the row after the last typed one: the learner may not have typed it yet.
  std::uint8_t notYetTyped = 0;
  // What an alignment cannot undercut, for the bounds by sound count and the alignment's own:
  // per sound (a token: a glide or affricate one) of a row longer than the typed text, or of
  // a typed text longer than the row. The cost of the glide's end is left out: a typed text
  // that has one lowers its own bounds (TypedSounds).
  std::uint8_t leastPerExtraRowToken = 0;
  std::uint8_t leastPerExtraTypedToken = 0;
};

const ConfusionCosts& confusionCosts();

// How many sound codes (engine/sound_code.h) a token stands for: 2 for a glide or affricate.
int codesOf(std::uint8_t token);

}  // namespace sound
