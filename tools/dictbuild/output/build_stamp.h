#pragma once
// A record of what a dictionary was built from (input files' sizes and times, options,
// builder version), so that an unchanged build is skipped. It is stored inside the dictionary,
// written in the transaction that writes the rows, so that the file and its stamp are renamed
// into place together and can never disagree.
#include <string>
#include <vector>

struct sqlite3;

namespace quorvi::dictbuild {

inline constexpr const char* kBuilderVersion = "dictbuild 1";
// The table that holds the stamp: one row.
inline constexpr const char* kStampTable = "dict_build_stamp";

// The files the running builder's code comes from: the executable, and the module that holds
// the builder when `quorvi-dict` loads it (quorvi-dictbuild.so). A new builder in either may
// write another dictionary from the same inputs.
std::vector<std::string> builderCodeFiles();

// `sources`: one line per data source, what went in or that it was left out.
std::string makeStamp(const std::vector<std::string>& inputFiles, const std::string& options,
                      const std::vector<std::string>& sources = {});
// Writes `stamp` into the open database `db` (inside the caller's transaction).
bool storeStamp(sqlite3* db, const std::string& stamp, std::string& error);
// The stamp stored in the keyed dictionary at `databasePath`; empty when there is none or the
// file cannot be read.
std::string readStoredStamp(const std::string& databasePath);
// A copy of the stamp beside the dictionary, for readers of the folder that do not open the
// database (the about page names the sources' licences from it). Never read by the builder.
bool writeStampCopy(const std::string& stampPath, const std::string& stamp);

}  // namespace quorvi::dictbuild
