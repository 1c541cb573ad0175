#include "sis_plural.h"

#include "form_labels.h"

namespace quorvi::dictbuild {

std::string sisPluralSingular(const std::string& caption,
                              const std::vector<std::string>& explainLines,
                              const std::function<bool(const std::string&)>& isHeadword) {
  if (caption.size() < 5 || caption.compare(caption.size() - 3, 3, "ses") != 0) return {};
  const std::string singular = caption.substr(0, caption.size() - 3) + "sis";
  if (!isHeadword(singular)) return {};
  return labelsPluralOf(explainLines, singular) ? singular : std::string();
}

std::optional<std::u16string> sisPluralReading(const std::u16string& singular) {
  const std::u16string ending = u"sis";
  if (singular.size() < ending.size() + 1 ||
      singular.compare(singular.size() - ending.size(), ending.size(), ending) != 0)
    return std::nullopt;
  return singular.substr(0, singular.size() - ending.size()) + u"si\u02D0z";
}

}  // namespace quorvi::dictbuild
