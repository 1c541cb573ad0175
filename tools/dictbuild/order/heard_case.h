#pragma once
// Which of a spelling's rows in different letter case takes the count the spoken list gives it.
// The list writes each word once, in the case most of its uses take ("he", "Tv", "Cd"), so a
// lookup in any case finds that count; these give it to the row a learner hears.
#include <vector>

#include "dict_entry.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

// A chemical element's symbol spelled like a heard word in another case (He beside he, At
// beside at, Pa beside pa) whose Chinese opens with its element takes none of the count: its
// entry in `heard` becomes 0. Returns how many rows that was.
size_t leaveSymbolRowsUnheard(const std::vector<DictEntry>& entries, std::vector<double>& heard);

// A word said in capitals that the list writes with only its first ("Tv", "Fbi", "Cd") takes
// that count where no heard row is spelled so (TV, FBI; CD once Cd, cadmium, is left unheard;
// not WAN, beside the name Wan). Returns how many rows were given a count.
size_t giveCapitalsTheirCount(const std::vector<DictEntry>& entries,
                              const SpokenFrequencies& spoken, std::vector<double>& heard);

}  // namespace quorvi::dictbuild
