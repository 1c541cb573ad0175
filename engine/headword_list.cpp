#include "engine/headword_list.h"

#include <algorithm>

void HeadwordList::reserve(Index count) {
  if (holdsRows())
    places_.reserve(static_cast<std::size_t>(count));
  else
    words_.reserve(static_cast<std::size_t>(count));
}

HeadwordList::Index HeadwordList::size() const {
  return static_cast<Index>(holdsRows() ? places_.size() : words_.size());
}

std::string HeadwordList::at(Index index) const {
  const auto i = static_cast<std::size_t>(index);
  return holdsRows() ? store_->caption(places_[i]) : words_[i];
}

std::vector<std::string> HeadwordList::mid(Index from, Index count) const {
  const Index begin = std::clamp<Index>(from, 0, size());
  const Index end = count < 0 ? size() : std::clamp<Index>(from + count, begin, size());
  std::vector<std::string> words;
  words.reserve(static_cast<std::size_t>(end - begin));
  for (Index i = begin; i < end; ++i) words.push_back(at(i));
  return words;
}

HeadwordList::Index HeadwordList::indexOf(const std::string& word) const {
  for (Index i = 0; i < size(); ++i)
    if (at(i) == word) return i;
  return -1;
}

bool operator==(const HeadwordList& a, const HeadwordList& b) {
  if (a.size() != b.size()) return false;
  for (HeadwordList::Index i = 0; i < a.size(); ++i)
    if (a.at(i) != b.at(i)) return false;
  return true;
}
