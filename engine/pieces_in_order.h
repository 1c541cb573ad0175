// What a loose-match pattern "p1.*p2.*" finds in a single line of text: each piece in order,
// each after the end of the one before. The in-memory rows of both searches by sound use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline bool holdsInOrder(std::string_view text, const std::vector<std::string>& pieces) {
  for (const std::string& piece : pieces) {
    const size_t at = text.find(piece);
    if (at == std::string_view::npos) return false;
    text.remove_prefix(at + piece.size());
  }
  return true;
}
