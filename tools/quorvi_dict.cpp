// quorvi-dict: the dictionary from the command line. It runs in the working directory (or the
// folder given with --dir) and reads dict/words.db there, like the window; a lookup started
// elsewhere without --dir reads the dictionary of its own folder, as the window does when
// started through the link in /usr/bin. The REGEXP module and the builder are loaded from its
// own folder only.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "engine/program_folder.h"
#include "tools/command_modules.h"
#include "tools/lookup_commands.h"

namespace {

using quorvi::tools::kExitNoDictionary;
using quorvi::tools::kExitOk;
using quorvi::tools::kExitUsage;

// A subcommand gets its own arguments: argv[0] is the subcommand's name.
struct Command {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* synopsis;
};

const Command kCommands[] = {
    {"search", quorvi::tools::runSearchCommand,
     "search [--all] [--spelling] [--exact] TEXT\n"
     "      what the window lists for TEXT, in its order: the headwords closest to the\n"
     "      typed sounds, at most 100 (--all: every one); a near-sound match (one that\n"
     "      took a slip) starts its line with \"~ \".\n"
     "      TEXT may be in [ ] or / /, in today's IPA, with stress and length marks.\n"
     "      It is read as it stands and as typed on a plain keyboard, each word listed\n"
     "      by the closer reading: sh for \xCA\x83, ch t\xCA\x83, th \xCE\xB8, zh \xCA\x92,"
     " ng \xC5\x8B, ee i\xCB\x90,\n"
     "      oo u\xCB\x90, ae \xC3\xA6, ai a\xC9\xAA, ou a\xCA\x8A, c and q k, x ks, y j,"
     " @ and E \xC9\x99,\n"
     "      ^ and V \xCA\x8C, A \xC3\xA6, O \xC9\x94, I \xC9\xAA, U \xCA\x8A (besides :"
     " for \xCB\x90, g \xC9\xA1,\n"
     "      a \xC9\x91, ' \xCB\x88); in KK symbols o is the vowel of go, \xC9\x9A"
     " \xC9\x99r, \xC9\x9D \xC9\x9C\xCB\x90r,\n"
     "      e the vowel of day where \xC9\x9B writes that of bed. American sounds are\n"
     "      read as the British transcriptions write them too: r after a vowel,\n"
     "      \xC9\x91 or \xC9\x91\xCB\x90 for the vowel of hot, o\xCA\x8A for go, u\xCB\x90 after t "
     "d n\n"
     "      as ju\xCB\x90,"
     " and a d between vowels as t (behind a word that has the d). No row\n"
     "      near enough: the nearest ones anyway, each a near-sound match.\n"
     "      --spelling: headwords whose spelling matches TEXT as a regular expression\n"
     "      (anywhere in the word, any case), the word itself first, then words starting\n"
     "      with it. --exact: the plain search's rows in the table's order, no ranking.\n"
     "      When nothing is listed, stderr says why"},
    {"entry", quorvi::tools::runEntryFromModule,
     "entry WORD\n"
     "      the entry of WORD: headword, [British transcription], explanation, for\n"
     "      every row, each row followed by US [its American transcription], marked\n"
     "      (machine-made) where espeak-ng's American voice made it; in another\n"
     "      letter case when no headword has the typed one (exit 7: none at all)"},
    {"pattern", quorvi::tools::runPatternCommand,
     "pattern TEXT\n"
     "      the loose-match pattern a search by sound of TEXT uses"},
    {"history", quorvi::tools::runHistoryFromModule,
     "history [--limit N]\n"
     "      the entries opened in the window, newest first (at most N): word, last\n"
     "      opened (UTC), how often; tab-separated"},
    {"words", quorvi::tools::runWordsFromModule,
     "words [list | add WORD | remove WORD | export FILE [--csv] | import FILE]\n"
     "      my words. list (the default): word, when added (UTC), lookups, newest\n"
     "      first. add takes headwords of the dictionary only, in any letter case.\n"
     "      export writes a file Anki imports as it is (tab-separated; --csv: CSV with\n"
     "      a header row); FILE - writes to standard output. import reads such a file,\n"
     "      Anki's own text export, a table with a header row or a plain list (one\n"
     "      word a line), in UTF-8, UTF-16 or UTF-32, and skips words already there and\n"
     "      words the dictionary lacks, naming the first 20 with a close spelling.\n"
     "      The data lives in $XDG_DATA_HOME/quorvi/learner.db (~/.local/share/quorvi/\n"
     "      by default); a damaged file is kept beside it as learner.db.damaged-TIME\n"
     "      and what could be read of it is copied into a fresh one"},
    {"build", quorvi::tools::runBuildFromModule,
     "build ...\n      build the dictionary (see quorvi-dict build --help)"},
    {"verify", quorvi::tools::runVerifyFromModule,
     "verify ...\n      check a dictionary (see quorvi-dict verify --help)"},
};

void printHelp(std::FILE* out) {
  std::fprintf(out,
               "Usage: quorvi-dict [--dir DIR] COMMAND [ARGUMENTS]\n"
               "Looks words up in dict/words.db of the working directory (or DIR; without\n"
               "one there, of quorvi-dict's own folder), through the same engine as the\n"
               "window. One result a line, UTF-8. TEXT is a transcription as typed in the\n"
               "window, e.g. \"igz\xC9\x91:mpl\".\n\nCommands:\n");
  for (const Command& command : kCommands) std::fprintf(out, "  %s\n", command.synopsis);
  std::fprintf(out,
               "\nOptions:\n"
               "  --dir DIR   change to DIR first (the folder holding dict/; regexp.dll is\n"
               "              loaded from quorvi-dict's own folder, never from DIR)\n"
               "  --help      this text\n"
               "\nExit codes:\n"
               "  0  done (also when nothing was found)\n"
               "  1  bad input: not a transcription it can read, or a spelling pattern the\n"
               "     REGEXP module rejects or cannot finish (rows found before that are printed)\n"
               "  2  usage error\n"
               "  3  the dictionary cannot be opened (or DIR cannot be entered)\n"
               "  4  a query failed otherwise (for example regexp.dll is missing)\n"
               "  5  the search is incomplete: its rows could not be read, so it printed the\n"
               "     plain matches in the table's order, unranked (stderr says so)\n"
               "  6  the learner's data (history, my words) or the export FILE cannot be\n"
               "     read or written (stderr says why)\n");
}

// True when nothing at all stands at FOLDER/dict/words.db: a file there that cannot be used (a
// link loop, a folder it may not read) is the working directory's to report, not passed over.
bool lacksDictionary(const std::filesystem::path& folder) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(folder / "dict" / "words.db", error);
  return status.type() == std::filesystem::file_type::not_found;
}

bool holdsDictionary(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / "dict" / "words.db", error);
}

// A lookup (never a build, which writes where it is asked) in a working directory without a
// dictionary moves to the program's own folder when that holds one. The folder comes from the
// kernel, so a link to the program (/usr/bin/quorvi-dict) leads to the runtime folder.
void enterOwnFolderForLookup(std::string_view command) {
  if (command != "search" && command != "entry" && command != "pattern" && command != "words")
    return;
  if (!lacksDictionary(".")) return;
  const std::filesystem::path own = quorvi::engine::executableFolder();
  if (own.empty() || !holdsDictionary(own)) return;
  if (chdir(own.c_str()) != 0) return;  // the lookup then says what is missing
}

}  // namespace

int main(int argc, char** argv) {
  int i = 1;
  bool dirGiven = false;
  for (; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printHelp(stdout);
      return kExitOk;
    }
    if (arg == "--dir") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "quorvi-dict: --dir needs a folder\n");
        return kExitUsage;
      }
      if (chdir(argv[++i]) != 0) {
        std::fprintf(stderr, "quorvi-dict: cannot enter %s: %s\n", argv[i], std::strerror(errno));
        return kExitNoDictionary;
      }
      dirGiven = true;
      continue;
    }
    break;
  }
  if (i >= argc) {
    printHelp(stderr);
    return kExitUsage;
  }
  const std::string_view name = argv[i];
  std::error_code noFolder;
  quorvi::tools::setFileFolderForModules(std::filesystem::current_path(noFolder));
  if (!dirGiven) enterOwnFolderForLookup(name);
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    for (int j = i + 1; j < argc; ++j) {
      const std::string_view arg = argv[j];
      if (arg == "--") break;
      if ((arg == "--help" || arg == "-h") && name != "build" && name != "verify") {
        printHelp(stdout);
        return kExitOk;
      }
    }
    return command.run(argc - i, argv + i);
  }
  std::fprintf(stderr, "quorvi-dict: unknown command \"%s\" (see quorvi-dict --help)\n", argv[i]);
  return kExitUsage;
}
