#pragma once
// Imports an English-Chinese dictionary in the ECDICT CSV layout:
// word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,audio
#include <string>

#include "import_common.h"

namespace quorvi::dictbuild {

ImportResult importEcdict(const std::string& path, const ImportOptions& options,
                          SkipReport& skipped);

}  // namespace quorvi::dictbuild
