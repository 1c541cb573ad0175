#pragma once
// Runs a subcommand of the dictionary builder from the module beside the executable
// (quorvi-dictbuild.so), loaded only then.

namespace quorvi::tools {

int runBuildFromModule(int argc, char** argv);
int runVerifyFromModule(int argc, char** argv);

}  // namespace quorvi::tools
