// One byte per symbol of a transcription, the step between text and the tokens the search
// weighs (engine/sound_alignment.h): ASCII letters stand for themselves (lower case), each
// phonetic symbol has a capital letter, the marks keep their keyboard forms. Stored notation
// and table symbols read into the same bytes.
#pragma once

#include <string>
#include <string_view>

namespace sound {

// The codes of the phonetic symbols that are no ASCII letter: a capital letter each.
namespace code {
constexpr char kAsh = 'A';            // æ
constexpr char kEth = 'D';            // ð
constexpr char kEng = 'N';            // ŋ
constexpr char kOpenBackA = 'Q';      // ɑ
constexpr char kOpenO = 'O';          // ɔ
constexpr char kSchwa = 'E';          // ə
constexpr char kOpenE = 'W';          // ɛ
constexpr char kScriptG = 'G';        // ɡ
constexpr char kSmallCapitalI = 'I';  // ɪ
constexpr char kEsh = 'S';            // ʃ
constexpr char kTurnedV = 'V';        // ʌ
constexpr char kEzh = 'Z';            // ʒ
constexpr char kTheta = 'T';          // θ
}  // namespace code

constexpr char kPrimaryStress = '\'';
constexpr char kSecondaryStress = ',';
constexpr char kLength = ':';
constexpr char kUnknown = '?';

// Stored notation ("&#601;" references, ASCII, possibly raw UTF-8) to codes.
std::string fromStored(std::string_view stored);
// A transcription in today's IPA (UTF-8, as the American transcriptions are stored: ɪ, ʊ, ɜː,
// oʊ ...) to codes, each symbol read through the one table from IPA (engine/ipa_symbols.h).
std::string fromIpa(std::string_view ipa);
// Table symbols (UTF-16, as checkPhonetic reads them) to codes.
std::string fromSymbols(std::u16string_view symbols);

// Codes back to the symbols they stand for, as UTF-8 (a letter for itself, ɑ for its code).
std::string toSymbols(std::string_view codes);

}  // namespace sound
