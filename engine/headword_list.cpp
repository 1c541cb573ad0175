#include "engine/headword_list.h"

#include <algorithm>

void HeadwordList::reserve(qsizetype count) {
  if (holdsRows())
    places_.reserve(static_cast<std::size_t>(count));
  else
    words_.reserve(count);
}

qsizetype HeadwordList::size() const {
  return holdsRows() ? static_cast<qsizetype>(places_.size()) : words_.size();
}

QString HeadwordList::at(qsizetype index) const {
  return holdsRows() ? store_->caption(places_[static_cast<std::size_t>(index)]) : words_.at(index);
}

QStringList HeadwordList::mid(qsizetype from, qsizetype count) const {
  if (!holdsRows()) return words_.mid(from, count);
  const qsizetype begin = std::clamp<qsizetype>(from, 0, size());
  const qsizetype end = count < 0 ? size() : std::clamp<qsizetype>(from + count, begin, size());
  QStringList words;
  words.reserve(end - begin);
  for (qsizetype i = begin; i < end; ++i) words.append(at(i));
  return words;
}

qsizetype HeadwordList::indexOf(const QString& word) const {
  for (qsizetype i = 0; i < size(); ++i)
    if (at(i) == word) return i;
  return -1;
}

bool operator==(const HeadwordList& a, const HeadwordList& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (a.at(i) != b.at(i)) return false;
  return true;
}
