// The commands that read entries and the learner's data, as a module that quorvi-dict loads
// only when one of them runs: they use the toolkit's text and the learner's store, which a
// search would otherwise load and relocate at start.
#include "tools/entry_command.h"
#include "tools/learner_commands.h"

extern "C" __attribute__((visibility("default"))) int quorviRunEntryCommand(int argc, char** argv,
                                                                            const char*) {
  return quorvi::tools::runEntryCommand(argc, argv);
}

extern "C" __attribute__((visibility("default"))) int quorviRunHistoryCommand(
    int argc, char** argv, const char* fileFolder) {
  quorvi::tools::setFileFolder(fileFolder);
  return quorvi::tools::runHistoryCommand(argc, argv);
}

extern "C" __attribute__((visibility("default"))) int quorviRunWordsCommand(
    int argc, char** argv, const char* fileFolder) {
  quorvi::tools::setFileFolder(fileFolder);
  return quorvi::tools::runWordsCommand(argc, argv);
}
