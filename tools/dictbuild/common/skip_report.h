#pragma once
// Counts what a build left out, per reason, with a few examples of each.
#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace quorvi::dictbuild {

class SkipReport {
 public:
  void add(const std::string& reason, const std::string& example);
  size_t total() const;
  size_t count(const std::string& reason) const;
  void print(std::ostream& out, const std::string& title) const;

 private:
  struct Bucket {
    size_t count = 0;
    std::vector<std::string> examples;
  };
  std::map<std::string, Bucket> buckets_;
};

}  // namespace quorvi::dictbuild
