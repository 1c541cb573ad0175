// What quorvi-dict's commands say on stderr when a command line, the dictionary or a query
// fails, and the exit code that goes with it (tools/lookup_commands.h).
#pragma once

class DictionaryEngine;

namespace quorvi::tools {

// The engine's own lines ("initDB(): Error" and the like), on stderr.
void logToStderr(const char* line);

int usageError(const char* command, const char* message);
int notATranscription(const char* text);
// Reports an engine that failed to open, and why; the engine has already logged its own line.
bool dictionaryOpen(const DictionaryEngine& dictionary);
// Exit code after a query: the rows found are printed already.
int queryOutcome(const DictionaryEngine& dictionary);

}  // namespace quorvi::tools
