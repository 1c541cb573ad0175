#include "app/startup/runtime_folder.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace {

const char kDictionary[] = "dict/words.db";

std::optional<RuntimeFolderSearch>& rememberedSearch() {
  static std::optional<RuntimeFolderSearch> search;
  return search;
}

}  // namespace

RuntimeFolderSearch findRuntimeFolder(const QString& workingDirectory,
                                      const QString& executableDirectory) {
  RuntimeFolderSearch search;
  const QString candidates[] = {workingDirectory, executableDirectory,
                                executableDirectory + QStringLiteral("/../" QUORVI_INSTALL_DIR)};
  for (const QString& candidate : candidates) {
    if (candidate.isEmpty()) continue;
    const QString folder = QDir::cleanPath(QDir(candidate).absolutePath());
    if (search.searched.contains(folder)) continue;
    search.searched << folder;
    search.states << inspectDictionaryFile(
        QDir(folder).filePath(QLatin1String(kDictionary)).toStdString());
    if (search.states.back() == DictionaryFileState::Present) {
      search.found = folder;
      break;
    }
  }
  return search;
}

RuntimeFolderSearch enterRuntimeFolder() {
  RuntimeFolderSearch search =
      findRuntimeFolder(QDir::currentPath(), QCoreApplication::applicationDirPath());
  if (!search.found.isEmpty()) QDir::setCurrent(search.found);
  rememberedSearch() = search;
  return search;
}

RuntimeFolderSearch lastRuntimeFolderSearch() {
  if (rememberedSearch()) return *rememberedSearch();
  const QString folder = QDir::currentPath();
  return RuntimeFolderSearch{
      QString(),
      {folder},
      {inspectDictionaryFile(QDir(folder).filePath(QLatin1String(kDictionary)).toStdString())}};
}
