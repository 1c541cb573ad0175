#pragma once
// The check `quorvi-dict verify` runs on headwords with several rows (one per pronunciation).
#include <ostream>

struct sqlite3;

namespace quorvi::dictbuild {

struct VariantCheck {
  bool readable = false;      // the rows could be read at all
  long long headwords = 0;    // headwords with more than one row
  long long rows = 0;         // their rows
  long long repeated = 0;     // rows whose transcription another row of the headword already has
  long long unexplained = 0;  // rows with an empty explanation
  bool ok() const { return readable && repeated == 0 && unexplained == 0; }
};

// Each row of such a headword must say what it is (a non-empty explanation) and carry a
// transcription of its own. Writes a summary line and the first problems to `out`.
VariantCheck checkVariantRows(sqlite3* db, std::ostream& out);

}  // namespace quorvi::dictbuild
