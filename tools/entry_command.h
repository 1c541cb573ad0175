// `quorvi-dict entry WORD`: the entry's lines as the window shows them, with each row's
// American transcription. Takes the subcommand's own arguments, argv[0] being its name, and
// returns the process exit code (tools/lookup_commands.h).
#pragma once

namespace quorvi::tools {

int runEntryCommand(int argc, char** argv);

}  // namespace quorvi::tools
