#include "tools/dictbuild_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/lookup_commands.h"

namespace quorvi::tools {
namespace {

using CommandEntry = int (*)(int, char**);

// The module's path: beside the running executable, as the kernel names it. Empty when that
// cannot be told: the working directory is never a stand-in, as loading a module runs its code.
std::string modulePath() {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0 || self[0] != '/') return {};
  std::string path(self, static_cast<size_t>(length));
  return path.substr(0, path.rfind('/')) + "/quorvi-dictbuild.so";
}

int runFromModule(const char* entryName, int argc, char** argv) {
  const std::string path = modulePath();
  if (path.empty()) {
    std::fprintf(stderr,
                 "quorvi-dict: cannot load the dictionary builder: the program's own folder "
                 "cannot be told (/proc/self/exe)\n");
    return kExitQueryFailed;
  }
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  auto entry = module ? reinterpret_cast<CommandEntry>(dlsym(module, entryName)) : nullptr;
  if (entry == nullptr) {
    std::fprintf(stderr, "quorvi-dict: cannot load the dictionary builder %s: %s\n", path.c_str(),
                 dlerror());
    return kExitQueryFailed;
  }
  // Left loaded: the process ends with the command.
  return entry(argc, argv);
}

}  // namespace

int runBuildFromModule(int argc, char** argv) {
  return runFromModule("quorviRunBuildCommand", argc, argv);
}

int runVerifyFromModule(int argc, char** argv) {
  return runFromModule("quorviRunVerifyCommand", argc, argv);
}

}  // namespace quorvi::tools
