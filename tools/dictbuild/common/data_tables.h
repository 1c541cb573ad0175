#pragma once
// The word tables written by hand as tab-separated files in tools/dictbuild/data/, compiled
// into the builder, and the reader of their lines.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::dictbuild {

extern const std::string_view kPlaceTableText;        // data/places.tsv
extern const std::string_view kHeardPhrasesText;      // data/heard_phrases.tsv
extern const std::string_view kHeardNamesText;        // data/heard_names.tsv
extern const std::string_view kIrregularVerbsText;    // data/irregular_verbs.tsv
extern const std::string_view kFunctionWordsText;     // data/function_words.tsv
extern const std::string_view kSpokenFormsText;       // data/spoken_forms.tsv
extern const std::string_view kPronunciationsText;    // data/pronunciations.tsv
extern const std::string_view kWordKindsText;         // data/word_kinds.tsv
extern const std::string_view kLettersText;           // data/letters.tsv
extern const std::string_view kCapitalisedWordsText;  // data/capitalised_words.tsv
extern const std::string_view kSlursText;             // data/slurs.tsv
extern const std::string_view kLetterSensesText;      // data/letter_senses.tsv
extern const std::string_view kElementSymbolsText;    // data/element_symbols.tsv

// Hands each line of `text` that is not blank or a "#" comment to `onRow` as its tab-separated
// fields. False with "line N: " and the reason at the first line that has not `fields` fields
// or that `onRow` refuses (it sets the reason).
bool readTsvRows(std::string_view text, size_t fields,
                 const std::function<bool(const std::vector<std::string>&, std::string&)>& onRow,
                 std::string& error);

// `text` cut at each `separator`.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

}  // namespace quorvi::dictbuild
