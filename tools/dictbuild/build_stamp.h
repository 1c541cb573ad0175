#pragma once
// A record of what a dictionary was built from (input files' sizes and times, options,
// builder version), kept beside it so that an unchanged build is skipped.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

inline constexpr const char* kBuilderVersion = "dictbuild 1";

std::string makeStamp(const std::vector<std::string>& inputFiles, const std::string& options);
std::string readStamp(const std::string& stampPath);
bool writeStamp(const std::string& stampPath, const std::string& stamp);

}  // namespace quorvi::dictbuild
