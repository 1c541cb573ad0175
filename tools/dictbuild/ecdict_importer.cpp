#include "ecdict_importer.h"

#include <algorithm>
#include <cstdlib>

#include "line_reader.h"
#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

// Splits one CSV record (RFC 4180 quoting). `more` is set when a quoted field runs on past
// the end of the text, i.e. the record continues on the next line.
bool splitCsv(const std::string& text, std::vector<std::string>& fields, bool& more, std::string& error) {
    fields.clear();
    more = false;
    std::string field;
    size_t i = 0;
    const size_t n = text.size();
    while (true) {
        field.clear();
        if (i < n && text[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                field.push_back(text[i++]);
            }
            if (!closed) {
                more = true;
                return true;
            }
            if (i < n && text[i] != ',') {
                error = "text after a closing quote in field " + std::to_string(fields.size() + 1);
                return false;
            }
        } else {
            while (i < n && text[i] != ',') {
                if (text[i] == '"') {
                    error = "stray quote in unquoted field " + std::to_string(fields.size() + 1);
                    return false;
                }
                field.push_back(text[i++]);
            }
        }
        if (field.size() > kMaxFieldBytes) {
            error = "field " + std::to_string(fields.size() + 1) + " is longer than " +
                    std::to_string(kMaxFieldBytes) + " bytes";
            return false;
        }
        fields.push_back(field);
        if (i >= n) return true;
        ++i;  // the comma
    }
}

long parseRank(const std::string& s) {
    if (s.empty()) return 0;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    return (end && *end == '\0' && v > 0) ? v : 0;
}

}  // namespace

std::string trimmed(const std::string& text) {
    const size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

double frequencyOfRank(long rank) { return rank > 0 ? 20000.0 / static_cast<double>(rank) : 0.0; }

std::vector<std::string> splitExplanation(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        bool brk = false;
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            brk = true;
            ++i;
        } else if (text[i] == '\n') {
            brk = true;
        } else if (text[i] != '\r') {
            current.push_back(text[i]);
        }
        if (brk) {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

ImportResult importEcdict(const std::string& path, const ImportOptions& options, SkipReport& skipped) {
    ImportResult result;
    LineReader reader(path, kMaxRecordBytes);
    if (!reader.isOpen()) {
        result.error = path + ": cannot read the file";
        return result;
    }
    std::string line, record;
    std::vector<std::string> fields;
    std::vector<std::string> header;
    int colWord = -1, colPhonetic = -1, colDefinition = -1, colTranslation = -1, colBnc = -1, colFrq = -1;

    auto where = [&](size_t lineNo) { return path + ":" + std::to_string(lineNo) + ": "; };
    while (true) {
        if (!reader.next(line)) {
            if (reader.tooLong()) {
                result.error = where(reader.lineNumber()) + "line longer than " +
                               std::to_string(kMaxRecordBytes) + " bytes";
                return result;
            }
            break;
        }
        const size_t startLine = reader.lineNumber();
        record = line;
        bool more = false;
        std::string error;
        bool parsed = splitCsv(record, fields, more, error);
        while (parsed && more) {
            if (!reader.next(line)) {
                error = reader.tooLong() ? "line longer than " + std::to_string(kMaxRecordBytes) + " bytes"
                                         : "quoted field not closed before the end of the file";
                parsed = false;
                break;
            }
            record += '\n';
            record += line;
            if (record.size() > kMaxRecordBytes) {
                error = "record longer than " + std::to_string(kMaxRecordBytes) + " bytes";
                parsed = false;
                break;
            }
            parsed = splitCsv(record, fields, more, error);
        }
        if (parsed && !isValidUtf8(record)) {
            parsed = false;
            error = "not valid UTF-8";
        }
        if (parsed && header.empty()) {
            header = fields;
            for (size_t c = 0; c < header.size(); ++c) {
                const std::string& h = header[c];
                int col = static_cast<int>(c);
                if (h == "word") colWord = col;
                else if (h == "phonetic") colPhonetic = col;
                else if (h == "definition") colDefinition = col;
                else if (h == "translation") colTranslation = col;
                else if (h == "bnc") colBnc = col;
                else if (h == "frq") colFrq = col;
            }
            if (colWord < 0 || (colDefinition < 0 && colTranslation < 0)) {
                result.error = where(startLine) +
                               "header must name the columns word and translation or definition";
                return result;
            }
            continue;
        }
        if (parsed && fields.size() != header.size()) {
            parsed = false;
            error = "expected " + std::to_string(header.size()) + " fields, found " + std::to_string(fields.size());
        }
        if (!parsed) {
            if (!options.lenient || reader.tooLong()) {
                result.error = where(startLine) + error;
                return result;
            }
            skipped.add("malformed line: " + error, path + ":" + std::to_string(startLine));
            continue;
        }
        auto col = [&](int c) -> const std::string& {
            static const std::string empty;
            return c >= 0 ? fields[static_cast<size_t>(c)] : empty;
        };
        DictEntry e;
        e.caption = trimmed(col(colWord));
        if (e.caption.empty() || e.caption.find_first_not_of(' ') == std::string::npos) {
            skipped.add("empty headword", path + ":" + std::to_string(startLine));
            continue;
        }
        if (e.caption.size() > kMaxCaptionBytes) {
            skipped.add("headword too long", path + ":" + std::to_string(startLine));
            continue;
        }
        std::string explain = col(colTranslation);
        if (explain.empty()) explain = col(colDefinition);
        e.explainLines = splitExplanation(explain);
        e.transcription = col(colPhonetic);
        long rank = parseRank(col(colFrq));
        if (rank == 0) rank = parseRank(col(colBnc));
        e.frequency = frequencyOfRank(rank);
        e.imported = true;
        result.entries.push_back(std::move(e));
    }
    if (header.empty()) result.error = path + ":1: the file is empty (no header line)";
    return result;
}

}  // namespace quorvi::dictbuild
