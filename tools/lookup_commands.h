// The lookup subcommands of quorvi-dict. Each takes the subcommand's own arguments, argv[0]
// being the subcommand name, and returns the process exit code.
#pragma once

namespace quorvi::tools {

// Exit codes a script can rely on.
enum ExitCode : int {
  kExitOk = 0,            // done, also when nothing was found
  kExitBadInput = 1,      // not a transcription, or a spelling pattern the module rejects
  kExitUsage = 2,         // wrong command line
  kExitNoDictionary = 3,  // the dictionary cannot be opened
  kExitQueryFailed = 4,   // a query failed for another reason (e.g. regexp.dll missing)
  kExitIncomplete = 5,    // the search rows could not be read: an unranked, partial answer
  kExitLearnerData = 6,   // the learner's data (or a file to export to) cannot be written
  kExitNoEntry = 7,       // entry: no headword of that spelling in any letter case
};

int runSearchCommand(int argc, char** argv);
int runPatternCommand(int argc, char** argv);

}  // namespace quorvi::tools
