#pragma once
// Runs a subcommand from a module beside the executable, loaded only when the command runs, so
// that a search loads neither the toolkit nor the builder's speech synthesiser:
// quorvi-dictbuild.so (build, verify) and quorvi-dictlearner.so (entry, and the learner's
// history and words).

#include <filesystem>

namespace quorvi::tools {

// The folder relative FILE arguments are read in: the working directory the command was
// started in (after --dir), even when a lookup moved to the program's own folder.
void setFileFolderForModules(const std::filesystem::path& folder);

int runBuildFromModule(int argc, char** argv);
int runVerifyFromModule(int argc, char** argv);
int runEntryFromModule(int argc, char** argv);
int runHistoryFromModule(int argc, char** argv);
int runWordsFromModule(int argc, char** argv);

}  // namespace quorvi::tools
