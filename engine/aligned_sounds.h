// What the learner typed set against a row's transcription sound by sound: the cheapest
// alignment the search by sound weighs (engine/sound_alignment.h), spelled out, for a learner
// to see which sounds they heard as others, added or missed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/sound_confusion_costs.h"

namespace sound {

struct AlignedSound {
  enum class Kind {
    Same,        // the row's sound as typed (a length apart counts as the same)
    HeardAs,     // the row's sound typed as another
    Added,       // a typed sound the row lacks
    Unheard,     // a sound of the row the learner did not type
    NotYetTyped  // a sound after the last one typed
  };
  Kind kind;
  std::string typed;   // UTF-8 symbols of the typed sound; empty for Unheard and NotYetTyped
  std::string stored;  // UTF-8 symbols of the row's sound (its length mark too); empty for Added
  Cost cost;
};

// The cheapest alignment of the typed codes against the row's codes (engine/sound_code.h), in
// the row's order; empty when either has no sound. Its costs add up to what the search weighs.
std::vector<AlignedSound> alignSounds(std::string_view typedCodes, std::string_view rowCodes);

}  // namespace sound
