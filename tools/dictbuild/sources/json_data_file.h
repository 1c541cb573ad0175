#pragma once
// Reads a JSON data file as npm packages ship them: plain JSON, or a JavaScript module that
// does no more than `export default <JSON>;`.
#include <QJsonDocument>
#include <functional>
#include <string>

namespace quorvi::dictbuild {

// Parses text; on failure returns false with a message naming `what`.
bool parseJsonData(const std::string& text, const std::string& what, QJsonDocument& out,
                   std::string& error);

// Reads and parses a file of at most 256 MiB.
bool readJsonDataFile(const std::string& path, QJsonDocument& out, std::string& error);

// Reads a file and hands its data to `read`, whose message is then prefixed with the path.
using JsonDataReader = std::function<bool(const QJsonDocument&, std::string& error)>;
bool loadJsonDataFile(const std::string& path, const JsonDataReader& read, std::string& error);

}  // namespace quorvi::dictbuild
