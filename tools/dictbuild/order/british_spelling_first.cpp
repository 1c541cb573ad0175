#include "british_spelling_first.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "british_word_list.h"

namespace quorvi::dictbuild {
namespace {

// American -> British, each applied at one place of the word at a time (`atEnd`: only at its
// end). A single l before an ending and the ae/oe of Greek words are rewritten only where
// British spelling differs so; a rewrite elsewhere (pilar, stele) would make another word.
struct Rewrite {
  const char* american;
  const char* british;
  bool atEnd = false;
};
constexpr Rewrite kRewrites[] = {
    {"or", "our"},  // colour, favourite, behaviours
    {"er", "re"},   // centre, theatres, metre, fibre
    {"iz", "is"},   // apologise, organisation
    {"yz", "ys"},   // analyse, paralysed
    {"og", "ogue", true},
    {"ogs", "ogues", true},  // catalogue, dialogues
    {"ense", "ence", true},
    {"enses", "ences", true},  // defence, offences
    {"led", "lled"},
    {"ling", "lling"},  // travelled, cancelling
    {"ler", "ller"},
    {"lest", "llest"},  // jeweller, cruellest
    {"lous", "llous"},
    {"list", "llist"},  // marvellous, medallist
    {"len", "llen"},
    {"lation", "llation"},  // woollen, cancellation
    {"lry", "llery"},       // jewellery
    {"ll", "l", true},
    {"lls", "ls", true},  // fulfil, enrols
    {"llment", "lment"},
    {"llful", "lful"},  // instalment, skilful
    {"e", "ae"},
    {"e", "oe"},          // anaemia, foetus
    {"ay", "ey"},         // grey
    {"gment", "gement"},  // judgement
};

}  // namespace

std::vector<std::string> britishSpellingsOf(const std::string& word,
                                            const BritishWordList& british) {
  std::vector<std::string> found;
  // Words of four letters and more, in lower case: a name or a short word rewritten is
  // another name or word (Neil, Neill; ger, goer).
  if (word.size() < 4 || !std::islower(static_cast<unsigned char>(word[0])) ||
      word.find(' ') != std::string::npos || british.britishListHas(word))
    return found;
  for (const Rewrite& rewrite : kRewrites) {
    const std::string from = rewrite.american;
    for (size_t at = word.find(from); at != std::string::npos; at = word.find(from, at + 1)) {
      if (rewrite.atEnd && at + from.size() != word.size()) continue;
      // The e of ae/oe is never the last letter: stele, stelae are two forms of one word.
      if (from == "e" && at + 1 == word.size()) continue;
      std::string candidate = word;
      candidate.replace(at, from.size(), rewrite.british);
      if (candidate != word && british.britishListHas(candidate) &&
          std::find(found.begin(), found.end(), candidate) == found.end())
        found.push_back(candidate);
    }
  }
  return found;
}

size_t placeBritishSpellingsFirst(const std::vector<DictEntry>& entries,
                                  const BritishWordList& british, std::vector<size_t>& order) {
  std::unordered_map<std::string, size_t> placeOf;  // caption: its place in the order
  for (size_t place = 0; place < order.size(); ++place)
    if (order[place] < entries.size()) placeOf.emplace(entries[order[place]].caption, place);
  // Each entry's new place, in halves: a British spelling goes half a place before the
  // American one (before the earliest, when it is the British spelling of several).
  std::vector<size_t> key(order.size());
  for (size_t place = 0; place < order.size(); ++place) key[place] = 2 * place + 1;
  size_t moved = 0;
  for (size_t place = 0; place < order.size(); ++place) {
    if (order[place] >= entries.size()) continue;
    for (const std::string& spelling : britishSpellingsOf(entries[order[place]].caption, british)) {
      const auto partner = placeOf.find(spelling);
      if (partner == placeOf.end() || partner->second < place) continue;
      if (key[partner->second] == 2 * partner->second + 1) ++moved;
      key[partner->second] = std::min(key[partner->second], 2 * place);
    }
  }
  std::vector<size_t> places(order.size());
  for (size_t place = 0; place < places.size(); ++place) places[place] = place;
  std::sort(places.begin(), places.end(), [&key](size_t a, size_t b) { return key[a] < key[b]; });
  std::vector<size_t> reordered;
  reordered.reserve(order.size());
  for (size_t place : places) reordered.push_back(order[place]);
  order = std::move(reordered);
  return moved;
}

}  // namespace quorvi::dictbuild
