#include "men_plural.h"

#include "form_labels.h"

namespace quorvi::dictbuild {

std::string menPluralSingular(const std::string& caption,
                              const std::vector<std::string>& explainLines,
                              const std::function<bool(const std::string&)>& isHeadword) {
  // A compound: something before the ending (not men, women).
  if (caption.size() < 6 || caption.compare(caption.size() - 3, 3, "men") != 0) return {};
  const std::string singular = caption.substr(0, caption.size() - 3) + "man";
  if (singular == "woman" || !isHeadword(singular)) return {};
  return labelsPluralOf(explainLines, singular) ? singular : std::string();
}

bool endsInUnstressedMan(const std::u16string& symbols) {
  const std::u16string ending = u"m\u0259n";
  if (symbols.size() < ending.size() + 1 ||
      symbols.compare(symbols.size() - ending.size(), ending.size(), ending) != 0)
    return false;
  const char16_t before = symbols[symbols.size() - ending.size() - 1];
  return before != u'\u02C8' && before != u'\u02CC';
}

}  // namespace quorvi::dictbuild
