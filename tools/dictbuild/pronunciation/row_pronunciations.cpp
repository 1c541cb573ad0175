#include "row_pronunciations.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "again_prefix.h"
#include "data_tables.h"
#include "form_labels.h"
#include "men_plural.h"
#include "sis_plural.h"
#include "voicing.h"
#include "phonetic_notation.h"
#include "printed_stress.h"
#include "progress.h"
#include "pronunciation_variants.h"
#include "spelling_adjustments.h"
#include "transcription_normaliser.h"

namespace quorvi::dictbuild {
namespace {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) {
    if (!out.empty()) out += "<br/>";
    out += l;
  }
  return out;
}

// Words with several readings (the, some, record) are read in a phrase as the phrase has them.
bool inPronunciationTable(const std::string& word) {
  static const auto words = [] {
    std::unordered_set<std::string> s;
    for (const HeadwordReadings& h : pronunciationTable()) s.insert(h.caption);
    return s;
  }();
  return words.count(word) != 0;
}

// Each word of a phrase as espeak-ng says it alone and as its own row prints it, kept for the
// phrases after.
class WordReadings {
 public:
  explicit WordReadings(EspeakTranscriber& espeak) : espeak_(espeak) {}
  std::vector<WordReading> of(const std::string& phrase) {
    std::vector<WordReading> words;
    size_t start = 0;
    while (start < phrase.size()) {
      const size_t end = std::min(phrase.find_first_of(" -", start), phrase.size());
      if (end > start) words.push_back(reading(phrase.substr(start, end - start)));
      start = end + 1;
    }
    return words;
  }

 private:
  const WordReading& reading(const std::string& word) {
    auto it = cache_.find(word);
    if (it != cache_.end()) return it->second;
    WordReading r;  // none: the word stays as the phrase has it
    NormalisedTranscription n = normaliseTranscription(espeak_.transcribe(word));
    if (n.ok() && !inPronunciationTable(word))
      r = {n.symbols, adjustForSpelling(word, n.symbols)};
    else if (std::u16string weak = leadingWeakForm(word); n.ok() && !weak.empty())
      r = {n.symbols, std::move(weak)};  // said alone it is strong; in a phrase, weak
    return cache_.emplace(word, std::move(r)).first->second;
  }
  EspeakTranscriber& espeak_;
  std::unordered_map<std::string, WordReading> cache_;
};

// The stored symbols of a row: its imported transcription when readable, else espeak-ng's,
// a phrase's words printed as their own rows print them.
std::optional<std::u16string> transcriptionOf(const DictEntry& e, EspeakTranscriber& espeak,
                                              WordReadings& words, SkipReport& skipped) {
  if (!e.transcription.empty()) {
    NormalisedTranscription n = normaliseTranscription(e.transcription);
    if (n.ok()) return n.symbols;
    skipped.add("imported transcription unreadable (" + n.error + "), espeak-ng used instead",
                e.caption + " [" + e.transcription + "]");
  } else if (e.imported) {
    skipped.add("imported transcription empty, espeak-ng used instead", e.caption);
  }
  std::string ipa = espeak.transcribe(withHyphensAsWordBreaks(e.caption));
  if (ipa.empty()) {
    skipped.add("row left out: espeak-ng gave no pronunciation", e.caption);
    return std::nullopt;
  }
  NormalisedTranscription n = normaliseTranscription(ipa);
  if (!n.ok()) {
    skipped.add("row left out: espeak-ng output unreadable (" + n.error + ")",
                e.caption + " [" + ipa + "]");
    return std::nullopt;
  }
  std::u16string symbols = adjustForSpelling(e.caption, n.symbols);
  if (e.caption.find_first_of(" -") != std::string::npos)
    symbols = printWordsAsTheirHeadwords(std::move(symbols), words.of(e.caption));
  // A compound written with hyphens is said part by part, as one word.
  if (e.caption.find(' ') == std::string::npos && withHyphensAsWordBreaks(e.caption) != e.caption) {
    std::vector<std::string> parts = splitText(e.caption, "-");
    std::erase_if(parts, [](const std::string& p) { return p.empty(); });
    symbols = withMainStressLast(withLinkingR(std::move(symbols), words.of(e.caption), parts));
  }
  return symbols;
}

// The word after re- when `e` is re- meaning again (rebuild, and its forms rebuilt,
// rebuilding by their headword's sense); empty otherwise.
std::string againStemOf(const DictEntry& e, const std::vector<DictEntry>& entries,
                        const std::unordered_map<std::string, size_t>& byCaption) {
  std::string stem = againStem(e.caption);
  if (stem.empty()) return {};
  if (byCaption.count(stem) != 0 && senseMeansAgain(e.explainLines)) return stem;
  for (const std::string& line : e.explainLines) {
    const std::string lemma = formLabelLemma(line);
    if (lemma.empty()) continue;
    auto it = byCaption.find(lemma);
    const std::string lemmaStem = againStem(lemma);
    if (it != byCaption.end() && !lemmaStem.empty() && byCaption.count(lemmaStem) != 0 &&
        senseMeansAgain(entries[it->second].explainLines))
      return stem;
    break;
  }
  return {};
}

// ˌriː and the transcription of the word after re-; none when espeak-ng cannot read that word.
// A word of the pronunciation table is read as its verb (relive ˌriːˈliv), else its usual
// reading.
std::optional<std::u16string> againTranscription(const std::string& stem,
                                                 EspeakTranscriber& espeak) {
  for (const HeadwordReadings& h : pronunciationTable()) {
    if (stem != h.caption) continue;
    const Reading* chosen = &h.readings.front();
    for (const Reading& r : h.readings)
      if (std::string_view(r.label) == "verb") chosen = &r;
    NormalisedTranscription n = normaliseTranscription(chosen->symbols);
    if (n.ok()) return withAgainPrefix(n.symbols);
  }
  NormalisedTranscription n = normaliseTranscription(espeak.transcribe(stem));
  if (!n.ok()) return std::nullopt;
  return withAgainPrefix(adjustForSpelling(stem, n.symbols));
}

std::u16string withoutStress(std::u16string symbols) {
  std::erase_if(symbols, [](char16_t c) { return c == u'ˈ' || c == u'ˌ'; });
  return symbols;
}

// What a spoken form or abbreviation stands for, by its line "Fr: Father" (the first of
// "Saint; Street"); empty when it has no such line.
std::string standsFor(const DictEntry& e) {
  const std::string prefix = e.caption + ": ";
  for (const std::string& line : e.explainLines)
    if (line.rfind(prefix, 0) == 0) {
      const std::string rest = line.substr(prefix.size());
      return rest.substr(0, rest.find_first_of(";,"));
    }
  return {};
}

bool isWritableHeadword(const std::string& caption, SkipReport& skipped) {
  if (std::any_of(caption.begin(), caption.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    skipped.add("headword holds control characters", caption);
    return false;
  }
  // Our engine binds the headword, but readers that splice it into SQL between double
  // quotes could never look such a row up.
  if (caption.find('"') != std::string::npos) {
    skipped.add("headword holds a double quote, which readers that splice SQL cannot look up",
                caption);
    return false;
  }
  return true;
}

}  // namespace

std::vector<PronouncedRow> pronounceRows(const std::vector<DictEntry>& entries,
                                         const std::vector<size_t>& order,
                                         EspeakTranscriber& espeak, SkipReport& skipped,
                                         size_t& headwords) {
  // A word-form line must name a headword that is written too (a small or limited build, or a
  // reading of the pronunciation table, may name one that is not).
  std::unordered_set<std::string> written;
  for (size_t index : order)
    if (!entries[index].leftOut) written.insert(entries[index].caption);
  auto namesMissingHeadword = [&](const std::string& line) {
    const std::string lemma = formLabelLemma(line);
    return !lemma.empty() && written.count(lemma) == 0;
  };
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  const auto isHeadword = [&byCaption](const std::string& caption) {
    return byCaption.count(caption) != 0;
  };
  WordReadings words(espeak);
  Progress progress("transcribing", order.size());
  std::vector<PronouncedRow> rows;
  size_t done = 0;
  for (size_t index : order) {
    const DictEntry& e = entries[index];
    progress.update(++done);
    if (e.leftOut) {
      skipped.add("row left out: a word form no source confirms", e.caption);
      continue;
    }
    if (!isWritableHeadword(e.caption, skipped)) continue;
    std::optional<std::u16string> symbols;
    if (const std::string stem = againStemOf(e, entries, byCaption); !stem.empty())
      symbols = againTranscription(stem, espeak);
    if (const std::string singular = menPluralSingular(e.caption, e.explainLines, isHeadword);
        !symbols && !singular.empty())
      if (auto reading = transcriptionOf(entries[byCaption.at(singular)], espeak, words, skipped);
          reading && endsInUnstressedMan(*reading))
        symbols = std::move(reading);
    if (const std::string singular = sisPluralSingular(e.caption, e.explainLines, isHeadword);
        !symbols && !singular.empty())
      if (auto reading = transcriptionOf(entries[byCaption.at(singular)], espeak, words, skipped))
        symbols = sisPluralReading(*reading);
    if (!symbols) symbols = transcriptionOf(e, espeak, words, skipped);
    if (!symbols) continue;
    // Readings a word list gives are kept as given.
    if (const std::string stem = voicingStemOf(e.caption, isHeadword);
        e.transcription.empty() && !stem.empty() && !inPronunciationTable(stem))
      if (auto reading = transcriptionOf(entries[byCaption.at(stem)], espeak, words, skipped))
        if (auto voiced = withStemVoicing(*symbols, *reading)) symbols = std::move(voiced);
    symbols = withNameEndingAs(e.caption, e.explainLines, std::move(*symbols));
    const bool singleWord = e.caption.find_first_of(" -") == std::string::npos;
    // One row per common pronunciation, all under the same headword.
    bool wroteRow = false;
    for (PronunciationRow& row : pronunciationRows(e.caption, *symbols, e.explainLines)) {
      std::erase_if(row.explainLines, namesMissingHeadword);
      if (row.explainLines.empty()) continue;
      wroteRow = true;
      rows.push_back({e.caption,
                      encodeStoredPhonetic(withPrintedStress(row.symbols, singleWord)),
                      joinLines(row.explainLines),
                      {},
                      false,
                      false,
                      standsFor(e)});
    }
    // The senses read letter by letter of an abbreviation said as a word (the element Sr)
    // come after, read as the speech synthesiser reads the spelling.
    if (wroteRow && !e.letterReadLines.empty()) {
      DictEntry spelled;
      spelled.caption = e.caption;
      // A spelling read as the word is (Co kəu) gives no second row.
      if (auto letters = transcriptionOf(spelled, espeak, words, skipped);
          letters && withoutStress(*letters) != withoutStress(*symbols))
        rows.push_back({e.caption,
                        encodeStoredPhonetic(withPrintedStress(*letters, singleWord)),
                        joinLines(e.letterReadLines),
                        {},
                        false,
                        true,
                        {}});
      else
        rows.back().explain += "<br/>" + joinLines(e.letterReadLines);
    }
    if (wroteRow)
      ++headwords;
    else
      skipped.add("row left out: a word form of a headword the dictionary does not hold",
                  e.caption);
  }
  progress.finish();
  return rows;
}

}  // namespace quorvi::dictbuild
