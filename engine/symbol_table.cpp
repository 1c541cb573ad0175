// The phonetic symbol table and the loose-match pattern built from it.
#include <mutex>
#include <string_view>

#include "engine/dictionary_engine.h"

DictionaryEngine::SymbolMap DictionaryEngine::symbolMap_;

const DictionaryEngine::SymbolMap& DictionaryEngine::symbolMap() {
  static std::once_flag filled;
  std::call_once(filled, assignSymbolMap);
  return symbolMap_;
}

void DictionaryEngine::assignSymbolMap() {
  auto& m = symbolMap_;
  // two-vowel glides
  m[u"ei"] = "ei";
  m[u"ai"] = "ai";
  m[u"\u0254i"] = "&#596;i";
  m[u"\u0259u"] = "&#601;u";
  m[u"au"] = "au";
  m[u"i\u0259"] = "i&#601;";
  m[u"\u025B\u0259"] = "&#603;&#601;";
  m[u"u\u0259"] = "u&#601;";
  // consonant pairs
  m[u"t\u0283"] = "t&#643;";
  m[u"d\u0292"] = "d&#658;";
  m[u"tr"] = "tr";
  m[u"dr"] = "dr";
  m[u"ts"] = "ts";
  m[u"dz"] = "dz";
  // long vowels
  m[u"\u0251\u02D0"] = "&#593;&#720;";
  m[u"\u0254\u02D0"] = "&#596;&#720;";
  m[u"i\u02D0"] = "i&#720;";
  m[u"u\u02D0"] = "u&#720;";
  m[u"\u0259\u02D0"] = "&#601;&#720;";
  // short vowels
  m[u"u"] = "u";
  m[u"i"] = "i";
  m[u"e"] = "e";
  m[u"\u00E6"] = "&#230;";
  m[u"\u028C"] = "&#652;";
  m[u"\u0254"] = "&#596;";
  m[u"\u0259"] = "&#601;";
  // consonants
  m[u"p"] = "p";
  m[u"b"] = "b";
  m[u"t"] = "t";
  m[u"d"] = "d";
  m[u"k"] = "k";
  m[u"\u0261"] = "&#609;";
  m[u"f"] = "f";
  m[u"v"] = "v";
  m[u"s"] = "s";
  m[u"z"] = "z";
  m[u"\u03B8"] = "&#952;";
  m[u"\u00F0"] = "&#240;";
  m[u"\u0283"] = "&#643;";
  m[u"\u0292"] = "&#658;";
  m[u"m"] = "m";
  m[u"n"] = "n";
  m[u"\u014B"] = "&#331;";
  m[u"h"] = "h";
  m[u"l"] = "l";
  m[u"r"] = "r";
  m[u"w"] = "w";
  m[u"j"] = "j";
  // the vowels ɑ and o alone
  m[u"\u0251"] = "&#593;";
  m[u"o"] = "o";
  // marks and keyboard forms
  m[u"\u02C8"] = "&#712;";
  m[u"\u02CC"] = "&#716;";
  m[u"\u02D0"] = "&#720;";
  m[u":"] = "&#720;";
  m[u"g"] = "&#609;";
  m[u"\u026A"] = "&#618;";
  m[u"'"] = "&#712;";
  m[u"a"] = "&#593;";
}

namespace {

// One pass: visit the keys once from the greatest to the smallest and take each one off the
// front of `rest` when the text begins with it. The scan never restarts within a pass, so a
// key at or above the last one taken waits for the next pass. Returns whether anything was
// taken; appends value + ".*" per key taken when `pattern` is given.
bool consumeOnePass(const DictionaryEngine::SymbolMap& table, std::u16string_view& rest,
                    std::string* pattern) {
  bool removed = false;
  for (auto it = table.rbegin(); it != table.rend() && !rest.empty(); ++it) {
    if (rest.starts_with(it->first)) {
      rest.remove_prefix(it->first.size());
      removed = true;
      if (pattern) {
        *pattern += it->second;
        *pattern += ".*";
      }
    }
  }
  return removed;
}

}  // namespace

bool DictionaryEngine::checkPhonetic(std::u16string text) {
  const SymbolMap& table = symbolMap();
  std::u16string_view rest(text);
  if (rest.empty()) return false;
  while (!rest.empty()) {
    if (!consumeOnePass(table, rest, nullptr)) return false;
  }
  return true;
}

std::string DictionaryEngine::buildPhoneticPattern(std::u16string text) {
  const SymbolMap& table = symbolMap();
  std::string pattern;
  std::u16string_view rest(text);
  while (!rest.empty()) {
    if (!consumeOnePass(table, rest, &pattern)) break;
  }
  return pattern;
}
