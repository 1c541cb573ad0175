#pragma once

#include <QString>
#include <QStringList>

// The program reads its dictionary, REGEXP module, font, help pages and translations
// relative to the working directory. Started from another folder (a desktop launcher, a
// shell elsewhere, the installed command), it looks for the folder that holds them.
struct RuntimeFolderSearch {
  QString found;         // the folder holding dict/words.db; empty when none does
  QStringList searched;  // every folder looked at, in order
};

// Looks at the working directory, then the executable's folder, then the installed
// runtime folder beside it (QUORVI_INSTALL_DIR from the prefix: ../lib/<multiarch>/quorvi).
RuntimeFolderSearch findRuntimeFolder(const QString& workingDirectory,
                                      const QString& executableDirectory);

// Finds the runtime folder for this process, makes it the working directory when found,
// and remembers the search for lastRuntimeFolderSearch().
RuntimeFolderSearch enterRuntimeFolder();

// The search enterRuntimeFolder() made; with none made, the working directory alone.
RuntimeFolderSearch lastRuntimeFolderSearch();
