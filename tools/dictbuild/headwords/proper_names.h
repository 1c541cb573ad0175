#pragma once
// What a capitalised word a learner hears is: a given name, a family name or a place.
//
// The British word list says only that a word is written with a capital. What kind of name it
// is comes from other sources, in this order, each adding a line:
//  1. the lists of English given names (male and female): "a given name (female)";
//  2. CC-CEDICT, which transliterates names ("Alice (name)" 爱丽丝) and describes places
//     ("Banbury, town in Oxfordshire, England", "Oxfordshire (English county)"). A name it
//     transliterates that no given-name list has is taken as a family name ("Cheney (name)"),
//     and so are the Chinese family names it gives ("surname Liang");
//  3. the spelling, for places only: English place-name endings that are seldom family names
//     (-shire, -borough, -chester, -mouth, -minster ...) or the "-on-" and "-upon-" of
//     "Stoke-on-Trent" give "a place name".
// A word none of these explains is no name this dictionary can tell anything about.
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "name_lists.h"

namespace quorvi::dictbuild {

enum class NameKind { None, GivenName, FamilyName, Place };

struct NameExplanation {
  NameKind kind = NameKind::None;  // the first kind a source gave
  std::vector<std::string> lines;
};

// `transliterate`: end the line with CC-CEDICT's Chinese for the name ("; 爱丽丝").
NameExplanation explainName(const std::string& word, const GivenNames& given,
                            const CedictNames& cedict, bool transliterate = true);

// The names written by hand in data/heard_names.tsv, each with its line ("a given name
// (female)", "a family name"). False with "line N: ..." at the first line that is no name and
// kind.
bool readHeardNames(std::string_view text, std::unordered_map<std::string, NameExplanation>& out,
                    std::string& error);
// The builder's own table, read once.
const std::unordered_map<std::string, NameExplanation>& heardNames();

// A spelling that only places have: "Oxfordshire", "Stoke-on-Trent".
bool looksLikePlaceName(const std::string& word);

}  // namespace quorvi::dictbuild
