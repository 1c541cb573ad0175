#pragma once
// Spells out every word a hunspell dictionary accepts through its suffix and prefix rules:
// "work/ADeScG" gives work, works, worked, working, rework, reworked ...
#include <functional>
#include <string>

namespace quorvi::dictbuild {

// Calls `emit` for each stem of the .dic file and each form its affix flags make.
// Returns false with a message when either file cannot be read.
bool expandHunspell(const std::string& dicPath, const std::string& affPath,
                    const std::function<void(const std::string&)>& emit, std::string& error);

}  // namespace quorvi::dictbuild
