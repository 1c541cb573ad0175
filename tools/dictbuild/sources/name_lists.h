#pragma once
// The lists of names the sources give: English given names (male and female, one a line) and
// the proper names and places CC-CEDICT transliterates or describes.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cedict_reader.h"

namespace quorvi::dictbuild {

struct GivenNames {
  std::unordered_set<std::string> male;
  std::unordered_set<std::string> female;
};

// One name a line; blank lines and lines with spaces are passed over. False with a message
// when the file cannot be read.
bool loadNameList(const std::string& path, std::unordered_set<std::string>& out,
                  std::string& error);

struct CedictName {
  std::string description;  // "a town in Oxfordshire, England"; "" for a bare name
  std::string chinese;      // simplified characters
  bool place = false;
  bool surname = false;  // a Chinese family name ("surname Li"): chinese is its usual character
};

// The English proper names and places CC-CEDICT gives, by their English spelling.
class CedictNames {
 public:
  explicit CedictNames(const std::vector<CedictEntry>& entries);
  CedictNames() = default;
  const CedictName* find(const std::string& name) const;
  size_t size() const { return byName_.size(); }

 private:
  void read(const CedictEntry& entry, const std::string& gloss);
  void chooseUsualSurnames(const std::vector<CedictEntry>& entries);
  std::unordered_map<std::string, CedictName> byName_;
  std::unordered_map<std::string, std::vector<std::string>> surnames_;  // name -> characters
};

}  // namespace quorvi::dictbuild
