// The engine's lists of headwords (UTF-8) to and from the toolkit's, for the window's tests.
#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/headword_list.h"

inline HeadwordList headwords(const QStringList& words) {
  std::vector<std::string> list;
  list.reserve(static_cast<std::size_t>(words.size()));
  for (const QString& word : words) list.push_back(word.toStdString());
  return list;
}

inline QStringList texts(const std::vector<std::string>& words) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(words.size()));
  for (const std::string& word : words) list.append(QString::fromStdString(word));
  return list;
}
