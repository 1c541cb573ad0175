#include "skip_report.h"

namespace quorvi::dictbuild {

void SkipReport::add(const std::string& reason, const std::string& example) {
  Bucket& b = buckets_[reason];
  ++b.count;
  if (b.examples.size() < 3)
    b.examples.push_back(example.size() > 80 ? example.substr(0, 77) + "..." : example);
}

size_t SkipReport::total() const {
  size_t n = 0;
  for (const auto& [reason, b] : buckets_) n += b.count;
  return n;
}

size_t SkipReport::count(const std::string& reason) const {
  auto it = buckets_.find(reason);
  return it == buckets_.end() ? 0 : it->second.count;
}

void SkipReport::print(std::ostream& out, const std::string& title) const {
  if (buckets_.empty()) return;
  out << title << ": " << total() << "\n";
  for (const auto& [reason, b] : buckets_) {
    out << "  " << b.count << " x " << reason << " (e.g.";
    for (size_t i = 0; i < b.examples.size(); ++i)
      out << (i ? ", " : " ") << '"' << b.examples[i] << '"';
    out << ")\n";
  }
}

}  // namespace quorvi::dictbuild
