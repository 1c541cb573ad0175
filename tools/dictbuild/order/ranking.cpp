#include "ranking.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace quorvi::dictbuild {
namespace {

bool isPhrase(const std::string& caption) {
  return caption.find(' ') != std::string::npos;
}
bool isCapitalised(const std::string& caption) {
  return !caption.empty() && std::isupper(static_cast<unsigned char>(caption[0]));
}

size_t rootOf(const std::vector<DictEntry>& entries, size_t i) {
  for (int guard = 0; guard < 8 && entries[i].anchor >= 0 &&
                      static_cast<size_t>(entries[i].anchor) < entries.size() &&
                      static_cast<size_t>(entries[i].anchor) != i;
       ++guard)
    i = static_cast<size_t>(entries[i].anchor);
  return i;
}

// A learner who types a few sounds more likely means a short word than a long one that
// holds the same sounds: among words met in use, each letter costs as much as a factor
// e^0.3 in frequency. Words never met rank after them, by the tie rules below.
double rankScore(const DictEntry& e) {
  if (e.frequency <= 0) return -1e9;
  return std::log1p(e.frequency) - 0.3 * static_cast<double>(e.caption.size());
}

}  // namespace

std::vector<size_t> rankOrder(const std::vector<DictEntry>& entries) {
  return rankOrder(entries, {});
}

std::vector<size_t> rankOrder(const std::vector<DictEntry>& entries,
                              const std::vector<double>& heard) {
  auto heardCount = [&](size_t i) { return i < heard.size() ? heard[i] : 0.0; };
  std::vector<size_t> roots;
  std::vector<std::vector<size_t>> followers(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    size_t r = rootOf(entries, i);
    if (r == i)
      roots.push_back(i);
    else
      followers[r].push_back(i);
  }
  std::stable_sort(roots.begin(), roots.end(), [&](size_t a, size_t b) {
    if (heardCount(a) != heardCount(b)) return heardCount(a) > heardCount(b);
    const DictEntry& x = entries[a];
    const DictEntry& y = entries[b];
    const double sx = rankScore(x), sy = rankScore(y);
    if (sx != sy) return sx > sy;
    bool px = isPhrase(x.caption), py = isPhrase(y.caption);
    if (px != py) return !px;
    if (x.senseCount != y.senseCount) return x.senseCount > y.senseCount;
    if (x.caption.size() != y.caption.size()) return x.caption.size() < y.caption.size();
    bool cx = isCapitalised(x.caption), cy = isCapitalised(y.caption);
    if (cx != cy) return !cx;
    return x.caption < y.caption;
  });
  std::vector<size_t> order;
  order.reserve(entries.size());
  for (size_t r : roots) {
    order.push_back(r);
    for (size_t f : followers[r]) order.push_back(f);
  }
  return order;
}

}  // namespace quorvi::dictbuild
