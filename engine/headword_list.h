// The headwords of a result list, in order. A list found in the store of rows in memory
// (engine/row_store.h) holds the rows' places and makes a headword's text only when it is asked
// for: a list of a hundred thousand rows costs four bytes a row, and the window makes text for
// the rows it shows. A list found by a statement, or put together by hand, holds the text.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/row_store.h"

class HeadwordList {
 public:
  HeadwordList() = default;
  // A list of these words. Implicit, so that a QStringList stands for a list of text.
  HeadwordList(QStringList words) : words_(std::move(words)) {}  // NOLINT
  // An empty list of rows of `store`, filled by appendRow.
  explicit HeadwordList(std::shared_ptr<const quorvi::engine::RowStore> store)
      : store_(std::move(store)) {}

  // Appends `word` to a list of text; appends the row at `place` of the store to a list of rows.
  void append(const QString& word) { words_.append(word); }
  void appendRow(quorvi::engine::RowStore::Place place) { places_.push_back(place); }
  void reserve(qsizetype count);

  qsizetype size() const;
  bool isEmpty() const { return size() == 0; }
  // The headword at `index`, which must be below size().
  QString at(qsizetype index) const;
  QString operator[](qsizetype index) const { return at(index); }
  QString first() const { return at(0); }
  // Words [from, from + count) as text; count -1: to the end. Out-of-range parts are left out.
  QStringList mid(qsizetype from, qsizetype count = -1) const;
  QStringList toStringList() const { return mid(0); }
  qsizetype indexOf(const QString& word) const;

  // True for a list of row numbers (whose text is made when asked for).
  bool holdsRows() const { return store_ != nullptr; }

  friend bool operator==(const HeadwordList& a, const HeadwordList& b);

 private:
  QStringList words_;
  std::shared_ptr<const quorvi::engine::RowStore> store_;
  std::vector<quorvi::engine::RowStore::Place> places_;
};
