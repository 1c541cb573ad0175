#pragma once
// The "build" and "verify" subcommands of quorvi-dict. argv[0] is the subcommand's name.

int runBuildCommand(int argc, char** argv);
int runVerifyCommand(int argc, char** argv);
