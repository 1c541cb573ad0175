#include "engine/search_outcome.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

DictionaryFileState inspectDictionaryFile(const std::string& path) {
  const char* name = path.c_str();
  struct stat status {};
  if (::stat(name, &status) != 0) {
    switch (errno) {
      case ELOOP:
        return DictionaryFileState::LinkLoop;
      case EACCES:
        return DictionaryFileState::NoAccess;
      default:
        return DictionaryFileState::Missing;
    }
  }
  if (!S_ISREG(status.st_mode)) return DictionaryFileState::NotAFile;
  return ::access(name, R_OK) == 0 ? DictionaryFileState::Present : DictionaryFileState::NoAccess;
}

SearchOutcome dictionaryNotOpen() {
  SearchOutcome outcome;
  outcome.reason = EmptyListReason::NoDictionary;
  std::error_code noFolder;
  outcome.folder = (std::filesystem::current_path(noFolder) / "dict").string();
  outcome.dictionaryFile = inspectDictionaryFile(outcome.folder + "/words.db");
  outcome.dictionaryFileExists = outcome.dictionaryFile != DictionaryFileState::Missing;
  return outcome;
}

SearchOutcome queryStopped(const std::string& error) {
  SearchOutcome outcome;
  // The REGEXP module starts its own messages with its name.
  constexpr std::string_view kModulePrefix = "regexp: ";
  if (error.starts_with(kModulePrefix)) {
    outcome.reason = EmptyListReason::BadPattern;
    outcome.message = error.substr(kModulePrefix.size());
  } else {
    outcome.reason = EmptyListReason::QueryFailed;
    outcome.message = error;
  }
  return outcome;
}
