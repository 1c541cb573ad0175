#pragma once
// Joins rows into the dictionary by headword: a row of a headword already present is merged
// into it, a row of a new headword is appended.
#include <string>
#include <unordered_map>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// `merge(target, row)` folds `row` into the entry `target` of the same headword.
template <class Merge>
void mergeByHeadword(std::vector<DictEntry>& entries, std::vector<DictEntry>&& rows, Merge merge) {
  std::unordered_map<std::string, size_t> byCaption;
  byCaption.reserve(entries.size() + rows.size());
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  for (DictEntry& row : rows) {
    auto [it, isNew] = byCaption.emplace(row.caption, entries.size());
    if (isNew)
      entries.push_back(std::move(row));
    else
      merge(entries[it->second], row);
  }
}

}  // namespace quorvi::dictbuild
