#pragma once
// The places a learner hears most (countries, their capitals, British and Chinese cities,
// British towns and counties) with their own Chinese name and, where the spelling misleads,
// their British reading (Reading ˈrediŋ, Leicester ˈlestə). The table is written by hand in
// data/places.tsv and compiled into the builder.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

struct PlaceName {
  std::string chinese;      // "伦敦"; several names joined by "；"
  std::string reading;      // British transcription; empty when the spelling's reading is right
  std::string description;  // "a city in Norfolk, in eastern England"; may be empty
};

using PlaceTable = std::unordered_map<std::string, PlaceName>;

// Reads a table: lines "name<TAB>Chinese<TAB>reading<TAB>description", blank lines and "#" comments
// passed over. False with the line and the reason at the first line that is not of that form.
bool readPlaceTable(std::string_view text, PlaceTable& out, std::string& error);

// The table the builder ships.
const PlaceTable& placeNames();

// Gives each entry the table names its Chinese name as the first line (in place of the
// Chinese equivalents it had, which may name an institution there) and its reading as the
// transcription to use. With `addMissing`, a place no entry names becomes one when the table
// says what it is. Returns how many entries it changed or added.
size_t applyPlaceNames(std::vector<DictEntry>& entries, const PlaceTable& table, bool addMissing);

}  // namespace quorvi::dictbuild
