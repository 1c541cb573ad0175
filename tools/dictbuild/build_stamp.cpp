#include "build_stamp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/phonetic_index_store.h"

namespace quorvi::dictbuild {

std::string makeStamp(const std::vector<std::string>& inputFiles, const std::string& options) {
  std::ostringstream out;
  out << kBuilderVersion << " with search index " << engine::kIndexFormat << "\noptions " << options
      << "\n";
  for (const std::string& path : inputFiles) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
      out << path << " " << st.st_size << " " << st.st_mtim.tv_sec << "." << st.st_mtim.tv_nsec
          << "\n";
    else
      out << path << " missing\n";
  }
  return out.str();
}

std::string readStamp(const std::string& stampPath) {
  std::ifstream in(stampPath, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool writeStamp(const std::string& stampPath, const std::string& stamp) {
  const std::string temp = stampPath + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!(out << stamp)) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, stampPath, ec);
  return !ec;
}

}  // namespace quorvi::dictbuild
