// A package as the builder's source cache holds it once fetched and checked: a file of its
// unpacked folder, and the pinned integrity it was unpacked under.
#pragma once

#include <string>

#include "npm_package_fetcher.h"
#include "tests/support/temporary_folder.h"

namespace quorvi::testing {

inline void writeCachedPackageFile(const std::string& cacheDir,
                                   const dictbuild::NpmPackage& package,
                                   const std::string& relativePath, const std::string& content) {
  writeFile(dictbuild::unpackedPackageDir(cacheDir, package) + "/" + relativePath, content);
  writeFile(dictbuild::unpackedIntegrityFile(cacheDir, package), package.integrity);
}

}  // namespace quorvi::testing
