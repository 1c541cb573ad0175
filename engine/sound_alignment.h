// How far a row's transcription is from what the learner typed: a weighted alignment (edit
// distance) of the typed sounds against the row's whole transcription, with the costs of
// engine/sound_confusion_costs.h, and the bounds that let a search skip rows that cannot come
// close without aligning them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/sound_confusion_costs.h"

namespace sound {

// Reads sound codes (engine/sound_code.h) as tokens: marks dropped, a length mark lengthening
// the vowel before it, a glide or affricate whose two codes stand together one token. Writes
// at most `capacity` tokens and returns how many there are (more than `capacity` when cut).
std::size_t tokenize(std::string_view codes, std::uint8_t* out, std::size_t capacity);

class TypedSounds {
 public:
  static constexpr std::size_t kMaxTyped = 48;
  static constexpr std::size_t kMaxRow = 256;
  static constexpr Cost kFar = 0xFFFF;

  // `typedCodes`: what was typed, as sound codes (without blanks).
  explicit TypedSounds(std::string_view typedCodes);

  std::size_t size() const { return typed_.size(); }
  bool empty() const { return typed_.empty(); }
  // The sound codes typed (a glide or affricate counts two), to set against a row's count.
  int codeCount() const { return codeCount_; }

  // The least a row of `rowSounds` sound codes costs, by its count alone.
  Cost lengthBound(int rowSounds) const;
  // The least a row whose codes have `signature` (sound::signature) costs, by the typed
  // sounds it has no code of at all. Non-zero means the row cannot hold them in order.
  Cost signatureBound(std::uint64_t signature) const;

  struct Weighed {
    Cost cost;     // above `most` when it was given up
    bool inOrder;  // the row holds every typed sound, in order, length aside
  };
  // The row's cost: the cheapest alignment of the typed sounds against its whole
  // transcription. Gives up (cost above `most`) as soon as it is sure to exceed `most`;
  // `mostUnlessInOrder` applies instead when the row does not hold the typed sounds in order.
  Weighed weigh(std::string_view rowCodes, Cost most, Cost mostUnlessInOrder) const;

 private:
  std::vector<std::uint8_t> typed_;
  int codeCount_ = 0;
  // Per typed sound: the codes it starts with when present, the codes of the sounds it is
  // cheaply confused with, and the least it costs without them.
  std::vector<std::uint64_t> ownCodes_, nearCodes_;
  std::vector<Cost> absentCost_, farCost_;
  const ConfusionCosts& costs_;
};

}  // namespace sound
