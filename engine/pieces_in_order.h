// What a loose-match pattern "p1.*p2.*" finds in a single line of text: each piece in order,
// each after the end of the one before. The in-memory rows of both searches by sound use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline bool holdsInOrder(std::string_view text, const std::vector<std::string>& pieces) {
  size_t at = 0;
  for (const std::string& piece : pieces) {
    // Most pieces are one byte, and the texts a dozen: a plain loop beats a library call.
    if (piece.size() == 1) {
      while (at < text.size() && text[at] != piece[0]) ++at;
      if (at == text.size()) return false;
      ++at;
      continue;
    }
    const size_t found = text.find(piece, at);
    if (found == std::string_view::npos) return false;
    at = found + piece.size();
  }
  return true;
}
