// The folder of the running executable, from the kernel (/proc/self/exe) rather than argv[0]
// or the working directory, which may be anyone's folder; empty when it cannot be told.
#pragma once

#include <filesystem>

namespace quorvi::engine {

std::filesystem::path executableFolder();

}  // namespace quorvi::engine
