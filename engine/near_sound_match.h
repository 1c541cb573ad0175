// Rows that hold the typed sounds once a learner's usual confusions are allowed: i, ə, ʌ and
// other short vowels in unstressed syllables; a long vowel typed for a short one; æ/e, ʌ/ɑː;
// s/z, θ/ð; n/ŋ before k or ɡ; uə/ɔː; iə/jə; dj/dʒ, tj/tʃ; a typed ə or r that is not there. Each
// confusion used is one allowance.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/closest_match.h"

class SoundRows;

class NearSoundMatcher {
 public:
  // `typedCodes`: what was typed, as sound codes.
  explicit NearSoundMatcher(std::string_view typedCodes);

  // The fewest allowances with which `storedCodes` holds the typed sounds in order; a number
  // above `most` when it takes more (or cannot).
  int allowances(std::string_view storedCodes, int most) const;
  // A word heard near starts with the sound typed first (or one it is confused with).
  bool mayStartWith(char firstSound) const;
  // False when the row, whose signature is `rowSignature`, cannot hold the typed sounds within
  // the allowances, or is too long.
  bool mayHold(const SoundRows& rows, std::size_t row, std::uint64_t rowSignature) const;
  // How many allowances a text of this many typed sounds may use.
  int mostAllowances() const;
  // Rows with more sounds than this are too far from what was typed to be near.
  std::size_t mostStoredSounds() const;

  struct Token {
    char code;
    bool isLong;
    bool stressed;
  };

 private:
  void fillCosts();
  std::uint64_t heardAs(std::size_t typed) const;
  int cost(std::size_t typed, const Token& stored, char nextStored) const;

  std::vector<Token> typed_;
  // Per typed sound, by stressed (0/1) and stored code: the cost of hearing it there.
  std::vector<std::array<std::array<std::uint8_t, 128>, 2>> costs_;
  std::vector<std::uint64_t> requiredClasses_;
  std::vector<std::uint64_t> orderedConsonants_;
  std::vector<std::uint64_t> sameCodes_;  // each typed consonant's own code
  std::uint64_t firstClasses_ = 0;        // what a row's first sound may be
};

// Appends the rows not yet `matched` that hold the typed sounds with allowances, keyed by the
// allowances used and then by closeness.
void collectNearSoundRows(const SoundRows& rows, std::string_view typedCodes,
                          const std::vector<bool>& matched, std::vector<RankedRow>& out);
