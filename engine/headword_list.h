// The headwords of a result list, in order, as UTF-8. A list found in the store of rows in
// memory (engine/row_store.h) holds the rows' places and makes a headword's text only when it is
// asked for: a list of a hundred thousand rows costs four bytes a row, and the window makes text
// for the rows it shows. A list found by a statement, or put together by hand, holds the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/row_store.h"

class HeadwordList {
 public:
  using Index = std::ptrdiff_t;

  HeadwordList() = default;
  // A list of these words. Implicit, so that a list of text stands for one.
  HeadwordList(std::vector<std::string> words) : words_(std::move(words)) {}  // NOLINT
  // An empty list of rows of `store`, filled by appendRow.
  explicit HeadwordList(std::shared_ptr<const quorvi::engine::RowStore> store)
      : store_(std::move(store)) {}

  // Appends `word` to a list of text; appends the row at `place` of the store to a list of rows.
  void append(std::string word) { words_.push_back(std::move(word)); }
  void appendRow(quorvi::engine::RowStore::Place place) { places_.push_back(place); }
  void reserve(Index count);

  Index size() const;
  bool isEmpty() const { return size() == 0; }
  // The headword at `index`, which must be below size().
  std::string at(Index index) const;
  std::string operator[](Index index) const { return at(index); }
  std::string first() const { return at(0); }
  // Words [from, from + count) as text; count -1: to the end. Out-of-range parts are left out.
  std::vector<std::string> mid(Index from, Index count = -1) const;
  std::vector<std::string> all() const { return mid(0); }
  Index indexOf(const std::string& word) const;

  // True for a list of row numbers (whose text is made when asked for).
  bool holdsRows() const { return store_ != nullptr; }

  friend bool operator==(const HeadwordList& a, const HeadwordList& b);

 private:
  std::vector<std::string> words_;
  std::shared_ptr<const quorvi::engine::RowStore> store_;
  std::vector<quorvi::engine::RowStore::Place> places_;
};
