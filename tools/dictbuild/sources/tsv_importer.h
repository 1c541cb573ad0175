#pragma once
// Imports a plain tab-separated word list: word <TAB> transcription <TAB> explanation
// [<TAB> frequency rank]. Lines starting with '#' and blank lines are ignored; an empty
// transcription is made by espeak-ng.
#include <string>

#include "import_common.h"

namespace quorvi::dictbuild {

ImportResult importTsv(const std::string& path, const ImportOptions& options, SkipReport& skipped);

}  // namespace quorvi::dictbuild
