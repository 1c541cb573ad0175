#include "engine/search_outcome.h"

#include <QDir>
#include <QFileInfo>

SearchOutcome dictionaryNotOpen() {
  SearchOutcome outcome;
  outcome.reason = EmptyListReason::NoDictionary;
  outcome.folder = QDir::current().absoluteFilePath(QStringLiteral("dict"));
  outcome.dictionaryFileExists = QFileInfo::exists(outcome.folder + QStringLiteral("/words.db"));
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
