// The learner's own data from the command line: `history` and `words` (list, add, remove,
// export, import). Each takes the subcommand's own arguments, argv[0] being its name, and
// returns the process exit code (lookup_commands.h).
#pragma once

#include <filesystem>

namespace quorvi::tools {

// The folder relative FILE arguments are read in: the working directory the command was
// started in (after --dir), even when a lookup moved to the program's own folder.
void setFileFolder(const std::filesystem::path& folder);

int runHistoryCommand(int argc, char** argv);
int runWordsCommand(int argc, char** argv);

}  // namespace quorvi::tools
