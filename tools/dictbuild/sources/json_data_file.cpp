#include "json_data_file.h"

#include <QByteArray>
#include <QJsonParseError>
#include <fstream>
#include <sstream>

namespace quorvi::dictbuild {
namespace {

constexpr std::streamoff kMaxBytes = 256LL << 20;

}  // namespace

bool parseJsonData(const std::string& text, const std::string& what, QJsonDocument& out,
                   std::string& error) {
  const size_t first = text.find_first_of("[{");
  const size_t last = text.find_last_of("]}");
  if (first == std::string::npos || last == std::string::npos || last < first) {
    error = what + ": no JSON data in it";
    return false;
  }
  // Only a module wrapper may stand around the data: `export default` before, `;` after.
  const std::string before = text.substr(0, first);
  const std::string after = text.substr(last + 1);
  if (before.find_first_not_of(" \t\r\n") != std::string::npos &&
      before.find("export default") == std::string::npos) {
    error = what + ": unexpected text before the data";
    return false;
  }
  if (after.find_first_not_of(" \t\r\n;") != std::string::npos) {
    error = what + ": unexpected text after the data";
    return false;
  }
  QJsonParseError parseError{};
  out = QJsonDocument::fromJson(
      QByteArray(text.data() + first, static_cast<qsizetype>(last + 1 - first)), &parseError);
  if (out.isNull()) {
    error = what + ": malformed JSON at byte " +
            std::to_string(first + static_cast<size_t>(parseError.offset)) + " (" +
            parseError.errorString().toStdString() + ")";
    return false;
  }
  return true;
}

bool readJsonDataFile(const std::string& path, QJsonDocument& out, std::string& error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    error = path + ": cannot open";
    return false;
  }
  const std::streamoff size = in.tellg();
  if (size > kMaxBytes) {
    error = path + ": larger than 256 MiB, not a data file this build reads";
    return false;
  }
  std::string text(static_cast<size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(text.data(), size)) {
    error = path + ": cannot read";
    return false;
  }
  return parseJsonData(text, path, out, error);
}

bool loadJsonDataFile(const std::string& path, const JsonDataReader& read, std::string& error) {
  QJsonDocument json;
  if (!readJsonDataFile(path, json, error)) return false;
  if (!read(json, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
