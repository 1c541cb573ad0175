#include "engine/search_outcome.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>

DictionaryFileState inspectDictionaryFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat status {};
  if (::stat(name.constData(), &status) != 0) {
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
  return ::access(name.constData(), R_OK) == 0 ? DictionaryFileState::Present
                                               : DictionaryFileState::NoAccess;
}

SearchOutcome dictionaryNotOpen() {
  SearchOutcome outcome;
  outcome.reason = EmptyListReason::NoDictionary;
  outcome.folder = QDir::current().absoluteFilePath(QStringLiteral("dict"));
  outcome.dictionaryFile = inspectDictionaryFile(outcome.folder + QStringLiteral("/words.db"));
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
