// The dictionary builder's subcommands as a module that quorvi-dict loads only when one of
// them runs: the builder brings the speech synthesiser and its thirty-odd libraries, which
// every search would otherwise load and relocate at start.
#include "tools/dictbuild/dictbuild_commands.h"

extern "C" __attribute__((visibility("default"))) int quorviRunBuildCommand(int argc, char** argv,
                                                                            const char*) {
  return runBuildCommand(argc, argv);
}

extern "C" __attribute__((visibility("default"))) int quorviRunVerifyCommand(int argc, char** argv,
                                                                             const char*) {
  return runVerifyCommand(argc, argv);
}
