#pragma once
// Imports an English-Chinese dictionary in the ECDICT CSV layout:
// word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,audio
#include <string>
#include <vector>

#include "import_common.h"

namespace quorvi::dictbuild {

class LineReader;

// Reads one CSV record (RFC 4180 quoting), which may run over several lines inside a quoted
// field. False at the end of the file; otherwise `error` is empty when the record was split
// into `fields`.
bool readCsvRecord(LineReader& reader, std::vector<std::string>& fields, std::string& error);

ImportResult importEcdict(const std::string& path, const ImportOptions& options,
                          SkipReport& skipped);

}  // namespace quorvi::dictbuild
