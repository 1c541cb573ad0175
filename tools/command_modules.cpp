#include "tools/command_modules.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/lookup_commands.h"

namespace quorvi::tools {
namespace {

// A module's command: the subcommand's arguments and the folder FILE arguments are read in.
using CommandEntry = int (*)(int, char**, const char*);

std::filesystem::path gFileFolder;

// The module's path: beside the running executable, as the kernel names it. Empty when that
// cannot be told: the working directory is never a stand-in, as loading a module runs its code.
std::string modulePath(const char* file) {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0 || self[0] != '/') return {};
  std::string path(self, static_cast<size_t>(length));
  return path.substr(0, path.rfind('/') + 1) + file;
}

// `what` names the module in messages: "the dictionary builder".
int runFromModule(const char* file, const char* what, const char* entryName, int argc,
                  char** argv) {
  const std::string path = modulePath(file);
  if (path.empty()) {
    std::fprintf(stderr,
                 "quorvi-dict: cannot load %s: the program's own folder cannot be told "
                 "(/proc/self/exe)\n",
                 what);
    return kExitQueryFailed;
  }
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  auto entry = module ? reinterpret_cast<CommandEntry>(dlsym(module, entryName)) : nullptr;
  if (entry == nullptr) {
    std::fprintf(stderr, "quorvi-dict: cannot load %s %s: %s\n", what, path.c_str(), dlerror());
    return kExitQueryFailed;
  }
  // Left loaded: the process ends with the command.
  return entry(argc, argv, gFileFolder.c_str());
}

constexpr char kBuilder[] = "quorvi-dictbuild.so";
constexpr char kBuilderName[] = "the dictionary builder";
constexpr char kLearner[] = "quorvi-dictlearner.so";
constexpr char kLearnerName[] = "the entry and word book commands";

}  // namespace

void setFileFolderForModules(const std::filesystem::path& folder) {
  gFileFolder = folder;
}

int runBuildFromModule(int argc, char** argv) {
  return runFromModule(kBuilder, kBuilderName, "quorviRunBuildCommand", argc, argv);
}

int runVerifyFromModule(int argc, char** argv) {
  return runFromModule(kBuilder, kBuilderName, "quorviRunVerifyCommand", argc, argv);
}

int runEntryFromModule(int argc, char** argv) {
  return runFromModule(kLearner, kLearnerName, "quorviRunEntryCommand", argc, argv);
}

int runHistoryFromModule(int argc, char** argv) {
  return runFromModule(kLearner, kLearnerName, "quorviRunHistoryCommand", argc, argv);
}

int runWordsFromModule(int argc, char** argv) {
  return runFromModule(kLearner, kLearnerName, "quorviRunWordsCommand", argc, argv);
}

}  // namespace quorvi::tools
