#pragma once
// Writes the keyed dictionary into a temporary file beside the target and renames it into
// place only when every row is in: a failed or interrupted build leaves the old file intact.
#include <string>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace quorvi::dictbuild {

enum class StorageDesign {
  SingleTable,  // dict_word(w_caption, w_phonetic, w_explain, w_phonetic_us, w_us_by_machine)
  // dict_head(id, w_caption, w_phonetic) + dict_explain(id, w_explain) +
  // dict_american(id, w_phonetic_us, w_us_by_machine) + VIEW dict_word of them all
  Split,
};

class DictionaryWriter {
 public:
  DictionaryWriter() = default;
  ~DictionaryWriter();  // abandons an unfinished file
  DictionaryWriter(const DictionaryWriter&) = delete;
  DictionaryWriter& operator=(const DictionaryWriter&) = delete;

  bool begin(const std::string& targetPath, StorageDesign design, int pageSize);
  // `american`: the American transcription (empty: none); `americanByMachine`: made by
  // espeak-ng, no source having the word.
  bool add(const std::string& caption, const std::string& phonetic, const std::string& explain,
           const std::string& american = {}, bool americanByMachine = false);
  // What the dictionary is built from (build_stamp.h), stored in it by finish(): the file and
  // its stamp are replaced in one step, so they never disagree.
  void setStamp(std::string stamp) { stamp_ = std::move(stamp); }
  // Indexes, stores the stamp, commits, closes and renames into place.
  bool finish();
  void abandon();

  const std::string& error() const { return error_; }
  const std::string& temporaryPath() const { return tempPath_; }

 private:
  bool exec(const char* sql);
  bool fail(const std::string& what);

  sqlite3* db_ = nullptr;
  sqlite3_stmt* insertHead_ = nullptr;
  sqlite3_stmt* insertExplain_ = nullptr;
  sqlite3_stmt* insertAmerican_ = nullptr;
  StorageDesign design_ = StorageDesign::Split;
  std::string target_;
  std::string tempPath_;
  std::string error_;
  std::string stamp_;
  long long nextId_ = 1;
};

}  // namespace quorvi::dictbuild
