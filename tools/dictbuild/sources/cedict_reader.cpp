#include "cedict_reader.h"

#include <QJsonArray>
#include <QJsonObject>

#include "json_data_file.h"

namespace quorvi::dictbuild {
namespace {

bool readRow(const QJsonValue& value, CedictEntry& entry) {
  const QJsonArray row = value.toArray();
  if (row.size() < 4 || !row[0].isString() || !row[1].isString() || !row[2].isString())
    return false;
  entry.traditional = row[0].toString().toStdString();
  entry.simplified = row[1].toString().toStdString();
  entry.pinyin = row[2].toString().toStdString();
  if (row[3].isString()) {
    entry.glosses.push_back(row[3].toString().toStdString());
  } else if (row[3].isArray()) {
    for (const QJsonValue& g : row[3].toArray())
      if (g.isString()) entry.glosses.push_back(g.toString().toStdString());
  } else {
    return false;
  }
  entry.variantOf = row.size() > 4 && !row[4].toArray().isEmpty();
  return !entry.simplified.empty();
}

}  // namespace

bool readCedict(const QJsonDocument& json, std::vector<CedictEntry>& out, std::string& error) {
  // The package keeps the rows under "all"; older releases made the file the array itself.
  const QJsonArray rows =
      json.isArray() ? json.array() : json.object().value(QStringLiteral("all")).toArray();
  if (rows.isEmpty()) {
    error = "no dictionary rows in it";
    return false;
  }
  out.reserve(out.size() + static_cast<size_t>(rows.size()));
  size_t bad = 0;
  for (const QJsonValue& value : rows) {
    CedictEntry entry;
    if (readRow(value, entry))
      out.push_back(std::move(entry));
    else
      ++bad;
  }
  // A few odd rows are dropped; a file of odd rows is not this format.
  if (bad * 10 > static_cast<size_t>(rows.size())) {
    error = std::to_string(bad) + " of " + std::to_string(rows.size()) +
            " rows are not dictionary rows";
    return false;
  }
  return true;
}

bool loadCedict(const std::string& path, std::vector<CedictEntry>& out, std::string& error) {
  return loadJsonDataFile(
      path, [&out](const QJsonDocument& json, std::string& e) { return readCedict(json, out, e); },
      error);
}

}  // namespace quorvi::dictbuild
