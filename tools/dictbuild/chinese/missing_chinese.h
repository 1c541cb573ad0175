#pragma once
// Chinese for the headwords ECDICT and CC-CEDICT leave without any, none of it made up:
//  - a letter of another alphabet or a sol-fa syllable (mem, te) opens with what WordNet's sense
//    says in Chinese (data/letter_senses.tsv);
//  - an abbreviation ECDICT explains by what it stands for (asap: 尽快（As Soon As Possible）)
//    opens with that Chinese where its first sense is the same (ASAP "as soon as possible");
//  - a letter (s, J, X) opens with its name as a letter, "n. 字母S" (data/letters.tsv), and the
//    general senses ECDICT gives the letter in either case ("未知数" for x); ECDICT's senses of
//    special fields alone (S: "[计] 标量, 服务员") are no meaning of the letter a learner wants;
//  - a capitalised word that is the lower-case word written with a capital (President, Bible,
//    Navy), not a name, takes ECDICT's Chinese of the lower-case word, of the same parts of
//    speech. It is the same word when ECDICT files one of its senses first under the
//    lower-case word (bible's first definition is "the sacred writings of the Christian
//    religions"), when a sense names the lower-case word ("the navy of the United States"),
//    when an example gives it an article ("the President likes to jog"), or when
//    data/capitalised_words.tsv says so (Pope: WordNet knows only the poet). A sense that is a
//    person (with the years of a life) makes no common word;
//  - a capitalised word left without Chinese that the lists of given names hold (Ted) says it
//    is a given name, and one whose senses are all famous bearers (Lewis, Hitler), or what one
//    of them made (Wagner: "the music of Wagner"), that it is a family name; markNameLinesInChinese
//    then gives those lines their 人名 and 姓.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dict_entry.h"
#include "ecdict_source.h"
#include "proper_names.h"

namespace quorvi::dictbuild {

struct MissingChineseCounts {
  size_t letters = 0;
  size_t letterSenses = 0;  // a letter of another alphabet, a sol-fa syllable
  size_t expansions = 0;    // an abbreviation by the Chinese of what it stands for
  size_t capitalised = 0;
  size_t names = 0;
};

MissingChineseCounts addMissingChinese(std::vector<DictEntry>& entries, const EcdictData& ecdict,
                                       const GivenNames& givenNames);

// Reads data/letters.tsv's lines (capital letter, its Chinese); false with "line N: ..." at
// the first line that is no capital letter and a Chinese name of it.
bool readLetterNames(std::string_view text, std::map<char, std::string>& out, std::string& error);

// One line of data/letter_senses.tsv: a WordNet gloss naming a letter of another alphabet or a
// sol-fa syllable ("the {N} letter of the Hebrew alphabet"), which a row with no Chinese of its
// own opens with in Chinese ("n. 希伯来字母表的第13个字母" for mem).
struct LetterSense {
  std::vector<std::string> pieces;  // the gloss's words cut at {N} and *, the markers kept
  std::string chinese;              // {N}: the count in figures
};
// Reads data/letter_senses.tsv's lines; false with "line N: ..." at the first gloss without
// {N} or Chinese without it.
bool readLetterSenses(std::string_view text, std::vector<LetterSense>& out, std::string& error);
// The Chinese of `gloss` by the first sense of `senses` it matches; empty when none does.
std::string chineseOfLetterSense(std::string_view gloss, const std::vector<LetterSense>& senses);

// Reads data/capitalised_words.tsv's lines (capitalised word, the lower-case word whose ECDICT
// Chinese it takes); false with "line N: ..." at the first malformed line.
bool readCapitalisedWords(std::string_view text, std::map<std::string, std::string>& out,
                          std::string& error);

// A spoken form or a part of a phrase left without Chinese ("ja: yes", "in the name Las Vegas:
// ...") takes the first Chinese line of what it stands for (yes, Las Vegas); returns how many.
size_t borrowChineseOfWhatItStandsFor(std::vector<DictEntry>& entries);

// A row still without Chinese whose sense WordNet gives another headword too (a synonym: Sr
// and strontium, POW and prisoner of war) takes the Chinese line of that sense's part of
// speech from the commonest such headword that has one and gives it as its first sense of that
// part of speech (a common word spelled in lower case, no number; a capitalised name of
// several words only for its abbreviation), and says whose it is: "同 strontium".
// Its first sense that has such a synonym decides. The letter-read senses of an abbreviation
// said as a word (DictEntry::letterReadLines) take one so too when none of them has Chinese.
// Returns how many rows took one.
size_t borrowChineseOfSynonyms(std::vector<DictEntry>& entries);
// True when an explanation line holds Chinese a learner reads as the word's meaning (a Chinese
// line, a name line's 人名): any Han character outside a learner-levels line.
bool holdsChineseMeaning(std::string_view line);

}  // namespace quorvi::dictbuild
