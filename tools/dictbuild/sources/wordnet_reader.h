#pragma once
// Reads the WordNet 3.0 database files (index.*, data.*, *.exc, cntlist.rev).
#include <map>
#include <string>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

struct WordNetData {
  // One entry per headword as spelled: "turkey" (the bird) and "Turkey" (the country) differ.
  std::vector<DictEntry> headwords;
  // Exception lists: inflected form -> base forms, per part of speech ('n', 'v', 'a', 'r').
  std::map<char, std::vector<std::pair<std::string, std::vector<std::string>>>> exceptions;
  // Lower-case lemma -> parts of speech it has ("nv" ...).
  std::map<std::string, std::string> lemmaPos;
  // Sense tag counts per part of speech: "walk#v" -> count.
  std::map<std::string, double> posCounts;
};

// Reads the database under dir; returns false with a message when a required file is missing
// or unreadable.
bool readWordNet(const std::string& dir, WordNetData& out, std::string& error);

// The files readWordNet depends on, for the rebuild stamp.
std::vector<std::string> wordNetInputFiles(const std::string& dir);

}  // namespace quorvi::dictbuild
