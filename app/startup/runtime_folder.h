#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "engine/search_outcome.h"

// The program reads its dictionary, REGEXP module, font, help pages and translations
// relative to the working directory. Started from another folder (a desktop launcher, a
// shell elsewhere, the installed command), it looks for the folder that holds them.
struct RuntimeFolderSearch {
  QString found;         // the folder holding dict/words.db; empty when none does
  QStringList searched;  // every folder looked at, in order
  // What stands at dict/words.db in each folder of `searched`, in the same order: whether
  // nothing, or a link loop, or what may not be read.
  QList<DictionaryFileState> states;
};

// Looks at the working directory, then the executable's folder, then the installed
// runtime folder beside it (QUORVI_INSTALL_DIR from the prefix: ../lib/<multiarch>/quorvi).
// A folder is taken when its dict/words.db is a regular file that may be read.
RuntimeFolderSearch findRuntimeFolder(const QString& workingDirectory,
                                      const QString& executableDirectory);

// Finds the runtime folder for this process, makes it the working directory when found,
// and remembers the search for lastRuntimeFolderSearch().
RuntimeFolderSearch enterRuntimeFolder();

// The search enterRuntimeFolder() made; with none made, the working directory alone.
RuntimeFolderSearch lastRuntimeFolderSearch();
