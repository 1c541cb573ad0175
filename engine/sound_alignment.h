// How far a row's transcription is from what the learner typed: a weighted alignment (edit
// distance) of the typed sounds against the row's whole transcription, with the costs of
// engine/sound_confusion_costs.h, and the bounds that let a search skip rows that cannot come
// close without aligning them.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/sound_confusion_costs.h"

namespace sound {

// Reads sound codes (engine/sound_code.h) as tokens: marks dropped, a length mark lengthening
// the vowel before it, a glide or affricate whose two codes stand together one token. Writes
// at most `capacity` tokens and returns how many there are (more than `capacity` when cut).
// `startOf`, when given (room for `capacity`), gets where in `codes` each token begins.
std::size_t tokenize(std::string_view codes, std::uint8_t* out, std::size_t capacity,
                     std::uint16_t* startOf = nullptr);

// The kinds of sound (Token, length aside) among `tokens`, one bit each.
std::uint64_t kindsOf(const std::uint8_t* tokens, std::size_t count);

class TypedSounds {
 public:
  static constexpr std::size_t kMaxTyped = 48;
  static constexpr std::size_t kMaxRow = 256;
  static constexpr Cost kFar = 0xFFFF;

  // `typedCodes`: what was typed, as sound codes (without blanks).
  explicit TypedSounds(std::string_view typedCodes);

  std::size_t size() const { return typed_.size(); }
  bool empty() const { return typed_.empty(); }
  // More sounds were typed than kMaxTyped: only the first are weighed.
  bool cut() const { return cut_; }
  // The least a row of `rowSounds` sounds (tokens) costs, by its count alone.
  Cost lengthBound(int rowSounds) const;
  // The least a row whose kinds of sound are `kinds` (kindsOf) costs for the typed sounds of
  // kinds it lacks: per such sound, the least it is heard as among the row's kinds, or dropped
  // for. It depends only on which of relevantKinds() the row has, and stops adding once past
  // `most`.
  Cost absentKindsBound(std::uint64_t kinds, Cost most = kFar) const;
  // The least a row of `rowTokens` tokens costs for its sounds beyond the typed count.
  Cost extraRowTokensBound(std::size_t rowTokens) const {
    return rowTokens > typed_.size()
               ? static_cast<Cost>(std::min<std::size_t>(
                     kFar, (rowTokens - typed_.size()) * costs_.leastPerExtraRowToken))
               : 0;
  }
  std::uint64_t relevantKinds() const { return relevantKinds_; }
  // False when a row of the `kinds` cannot hold every typed sound, so not all in order.
  bool mayHoldAllKinds(std::uint64_t kinds) const { return (kinds & typedKinds_) == typedKinds_; }

  struct Weighed {
    Cost cost;             // above `most` when it was given up
    bool inOrder;          // the row holds every typed sound, in order, length aside
    std::size_t held = 0;  // the most typed sounds the row holds in order, length aside
  };
  // The row's cost: the cheapest alignment of the typed sounds against its whole
  // transcription. Gives up (cost above `most`) as soon as it is sure to exceed `most`;
  // `mostUnlessInOrder` applies instead when the row does not hold the typed sounds in order.
  // `bound`: what the row is known to cost at least (lengthBound, absentKindsBound,
  // extraRowTokensBound). A row that holds fewer than `heldUnlessInOrder` typed sounds in order
  // is given up at once.
  Weighed weigh(const std::uint8_t* row, std::size_t rowSize, Cost most, Cost mostUnlessInOrder,
                Cost bound = 0, std::size_t heldUnlessInOrder = 0) const;

 private:
  // weigh for one typed sound, in one pass over the row: a Return on one symbol weighs most
  // rows of the table.
  Weighed weighOne(const std::uint8_t* row, std::size_t rowSize, Cost most, Cost mostUnlessInOrder,
                   std::size_t heldUnlessInOrder) const;

  std::vector<std::uint8_t> typed_;
  bool cut_ = false;
  std::vector<Cost> dropped_;  // what each typed sound costs when the row lacks it
  std::uint64_t glideEnds_ = 0;  // the ə of jə written for iə, by place: dropped for less after iə
  // The least a typed sound costs when the row is shorter: the table's, or less where this
  // text drops a sound for less.
  Cost leastPerTypedToken_;
  // The typed sounds by kind (length aside): how often typed, and what a copy the row lacks
  // costs at least (heard as another kind, or dropped).
  struct Kind {
    std::uint8_t base;
    std::uint8_t count;
    Cost dropped;
    // The other kinds it is heard as most cheaply (bits by Token), cheapest first, and what
    // it costs at least when the row has none of them.
    static constexpr std::size_t kHeardAs = 4;
    std::array<std::uint64_t, kHeardAs> heardAs{};
    std::array<Cost, kHeardAs> heardAsCost{};
    Cost otherwise;
    std::uint64_t nearAny;  // every kind of heardAs
  };
  std::vector<Kind> kinds_;
  // Per kind, the typed sounds of that kind as bits (the first sound the lowest), for the
  // most typed sounds a row holds in order.
  std::array<std::uint64_t, 64> positionsOf_{};
  std::uint64_t typedKinds_ = 0;
  std::uint64_t relevantKinds_ = 0;           // the typed kinds and every kind they are heard as
  std::array<std::uint8_t, 64> kindIndex_{};  // where in kinds_ a typed kind is
  const ConfusionCosts& costs_;
};

}  // namespace sound
