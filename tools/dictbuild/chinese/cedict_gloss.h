#pragma once
// Reads one English gloss of CC-CEDICT ("to run", "cat (CL:隻|只[zhi1])", "(fig.) to soar",
// "variant of 貽|贻[yi2]") as the English words it equates a Chinese word with.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

struct GlossReading {
  // Lower-case English phrases the gloss means, without "to", articles, "sb" and "sth":
  // "to look after sb; to take care of" -> {"look after", "take care of"}.
  std::vector<std::string> keys;
  bool verb = false;       // "to run"
  bool stative = false;    // "to be afraid": an adjective put as a verb
  bool idiom = false;      // "(idiom)": a set phrase, rarely the plain equivalent
  bool qualified = false;  // "(of an animal) to paw": a narrowed or labelled use
  // A cross-reference, surname, classifier, abbreviation, or an archaic, literary, dialect,
  // slang or regional use: never offered as an everyday equivalent.
  bool skip = false;
  // "Alamo, city in United States": the name a gloss gives before a description of what it
  // names, as written; the description is the gloss's one key.
  std::string name;
};

GlossReading readGloss(const std::string& gloss);

}  // namespace quorvi::dictbuild
