#include "row_order.h"

#include "british_spelling_first.h"
#include "heard_case.h"
#include "learner_headwords.h"
#include "ranking.h"

namespace quorvi::dictbuild {

std::vector<size_t> rowOrder(const std::vector<DictEntry>& entries, const SpokenFrequencies& spoken,
                             const BritishWordList& british, size_t limit, std::ostream& log) {
  std::vector<double> heard(entries.size(), 0.0);
  if (!spoken.empty())
    for (size_t i = 0; i < entries.size(); ++i)
      heard[i] = spokenFrequencyOf(entries[i].caption, spoken);
  if (const size_t symbols = leaveSymbolRowsUnheard(entries, heard); symbols > 0)
    log << "element symbols spelled like a heard word in another case, ranked unheard: " << symbols
        << "\n";
  if (const size_t capitals = giveCapitalsTheirCount(entries, spoken, heard); capitals > 0)
    log << "words said in capitals given the count the spoken list writes capitalised: " << capitals
        << "\n";
  std::vector<size_t> order = rankOrder(entries, heard);
  if (const size_t moved = placeBritishSpellingsFirst(entries, british, order); moved > 0)
    log << "British spellings placed before American ones: " << moved << "\n";
  if (limit > 0 && order.size() > limit) order.resize(limit);
  return order;
}

}  // namespace quorvi::dictbuild
