#pragma once
// What ECDICT tells of a word heard in speech that WordNet, the name lists and CC-CEDICT leave
// unexplained: a person's name ("n. (Mulder)人名；(英)马尔德", "n. 舒尔茨（姓氏）"), a form of a
// headword (its exchange field, "0:stomach/1:s"), or a word of its own with a Chinese line a
// learner can use. Abbreviations, special-field and web glosses explain nothing here.
#include <functional>
#include <string>
#include <vector>

#include "dict_entry.h"
#include "ecdict_source.h"
#include "proper_names.h"

namespace quorvi::dictbuild {

// The lines of a capitalised word whose first translation line (under its own spelling or in
// lower case) names a person: "a family name" for a family name or a bare "人名", "a given name
// (male)" for a man's name ("男子名"), and so on. ECDICT's Chinese for the name ("马尔德")
// comes first when ECDICT has the word only in lower case: under its own spelling its lines
// are added with the others'. None for anything else.
NameExplanation ecdictPersonName(const std::string& word, const EcdictData& ecdict);

// Gives a capitalised headword that its sources explain in English only (Karen the language,
// Logan the mountain, Simon the apostle) the Chinese of the name when ECDICT names a person so
// (凯伦, 洛根, 西蒙), as its first line. Returns how many it gave.
size_t addPersonNamesChinese(std::vector<DictEntry>& entries, const EcdictData& ecdict);

// The Chinese a name line of ECDICT gives the name: its English reading when it has several
// ("(荷)米尔德；(英)马尔德" -> 马尔德), else the first; empty when there is none short enough.
std::string ecdictNameChinese(const std::string& translation);

// The form labels of `word` by ECDICT's exchange field ("plural of stomach"), when the lemma
// it names is a headword; empty otherwise.
std::vector<std::string> ecdictFormLabels(
    const std::string& word, const EcdictData& ecdict,
    const std::function<bool(const std::string&)>& isHeadword);

// The first Chinese line of a lower-case word of its own, when ECDICT gives one a learner can
// use and either ranks the word or `spelled` (a word list spells it); empty otherwise.
std::string ecdictWordLine(const std::string& word, const EcdictData& ecdict, bool spelled);

}  // namespace quorvi::dictbuild
