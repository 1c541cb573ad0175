#include "american_pronunciations.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "american_sources.h"
#include "ascii_case.h"
#include "engine/sound_alignment.h"
#include "engine/sound_code.h"
#include "progress.h"

namespace quorvi::dictbuild {
namespace {

std::vector<std::string> wordsOf(const std::string& caption) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start <= caption.size()) {
    const size_t end = std::min(caption.find_first_of(" -", start), caption.size());
    if (end > start) words.push_back(caption.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// CMUdict's pronunciations of `caption`: a word's each, a phrase's words each by its first.
std::vector<std::vector<AmericanPhone>> fromCmudict(const std::string& caption,
                                                    const CmuDictionary& cmudict) {
  const std::vector<std::string> words = wordsOf(caption);
  std::vector<std::vector<AmericanPhone>> readings;
  if (words.size() == 1) {
    if (const auto* found = cmudict.find(words.front()))
      for (const std::string& arpabet : *found)
        if (auto phones = phonesFromArpabet(arpabet); !phones.empty())
          readings.push_back(std::move(phones));
    return readings;
  }
  std::vector<AmericanPhone> phrase;
  for (const std::string& word : words) {
    const auto* found = cmudict.find(word);
    std::vector<AmericanPhone> phones;
    if (found != nullptr) phones = phonesFromArpabet(found->front());
    if (phones.empty()) return {};
    phrase.insert(phrase.end(), phones.begin(), phones.end());
  }
  if (!phrase.empty()) readings.push_back(std::move(phrase));
  return readings;
}

// The words espeak-ng's American voice has read, each alone, by spelling: a word recurs in
// many phrases.
using MachineWords = std::unordered_map<std::string, std::vector<AmericanPhone>>;

// A phrase some of whose words CMUdict lacks: CMUdict's words as it has them, espeak-ng's
// American voice for the others, each word alone, as the phrases CMUdict has are printed;
// empty when a word has no reading at all.
std::vector<AmericanPhone> phraseWordByWord(const std::string& caption,
                                            const CmuDictionary& cmudict,
                                            EspeakTranscriber& americanVoice,
                                            MachineWords& machineWords) {
  std::vector<AmericanPhone> phrase;
  for (const std::string& word : wordsOf(caption)) {
    std::vector<AmericanPhone> phones;
    if (const auto* found = cmudict.find(word)) {
      phones = phonesFromArpabet(found->front());
    } else {
      auto [known, added] = machineWords.try_emplace(word);
      if (added) known->second = phonesFromEspeak(americanVoice.transcribe(word));
      phones = known->second;
    }
    if (phones.empty()) return {};
    phones.front().wordStart = true;
    phrase.insert(phrase.end(), phones.begin(), phones.end());
  }
  return phrase;
}

// The sounds the search weighs, one byte each, length aside.
std::string soundsOf(const std::string& codes) {
  std::array<std::uint8_t, sound::TypedSounds::kMaxRow> tokens;
  const size_t n = std::min(sound::tokenize(codes, tokens.data(), tokens.size()), tokens.size());
  std::string out;
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<char>(sound::baseToken(tokens[i])));
  return out;
}

size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> previous(b.size() + 1), current(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (size_t j = 1; j <= b.size(); ++j)
      current[j] = std::min(
          {previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
    std::swap(previous, current);
  }
  return previous[b.size()];
}

// The reading among `printed` (CMUdict's of the headword) and that of the word an abbreviation
// or spoken form stands for nearest its British one ("Dr": doctor, not CMUdict's first, drive;
// "aka" keeps its letters, far from "also known as"; "ya" its own on a tie with "you"),
// machine-made when CMUdict lacks a word of it. False, the row untouched, when the nearest is a
// reading of the headword or there is no reading of the word.
bool sayAsTheWordItStandsFor(PronouncedRow& row, const std::vector<std::string>& printed,
                             const CmuDictionary& cmudict, EspeakTranscriber& americanVoice,
                             MachineWords& machineWords) {
  const std::string word =
      printAmerican(phraseWordByWord(row.saidAs, cmudict, americanVoice, machineWords));
  if (word.empty()) return false;
  const std::string british = soundsOf(sound::fromStored(row.phonetic));
  const size_t distance = editDistance(british, soundsOf(sound::fromIpa(word)));
  std::vector<std::string> others = printed;
  // Without CMUdict's, the speech synthesiser's reading of the spelling.
  if (others.empty())
    others.push_back(printAmerican(phonesFromEspeak(americanVoice.transcribe(row.caption))));
  for (const std::string& other : others)
    if (const size_t d = editDistance(british, soundsOf(sound::fromIpa(other)));
        !other.empty() && other != word && d <= distance)
      return false;
  row.american = word;
  const std::vector<std::string> words = wordsOf(row.saidAs);
  row.americanByMachine = std::any_of(
      words.begin(), words.end(), [&](const std::string& w) { return cmudict.find(w) == nullptr; });
  return true;
}

// CMUdict knows no letter case: its reading of "ms" is that of the title "Ms" (mɪz), not of
// the abbreviation read letter by letter (ˌemˈes). Headwords of the same letters in other
// cases share its readings, but a reading that differs from a row's British one in most of
// its sounds, and that another's British reading is nearer, is that other's. Keyed by the
// lower-case spelling, each such headword's rows' British sounds.
class CaseTwins {
 public:
  explicit CaseTwins(const std::vector<PronouncedRow>& rows) {
    std::unordered_map<std::string, std::vector<const PronouncedRow*>> byLower;
    for (const PronouncedRow& row : rows) byLower[lowerAscii(row.caption)].push_back(&row);
    for (const auto& [lower, group] : byLower) {
      const std::string& first = group[0]->caption;
      if (std::any_of(group.begin(), group.end(),
                      [&first](const PronouncedRow* r) { return r->caption != first; }))
        for (const PronouncedRow* r : group)
          sounds_[lower].emplace_back(r->caption, soundsOf(sound::fromStored(r->phonetic)));
    }
  }

  // The readings among `printed` that are `row`'s own.
  std::vector<std::string> ownReadings(const PronouncedRow& row,
                                       const std::vector<std::string>& printed) const {
    const auto twins = sounds_.find(lowerAscii(row.caption));
    if (twins == sounds_.end()) return printed;
    const std::string british = soundsOf(sound::fromStored(row.phonetic));
    std::vector<std::string> own;
    for (const std::string& reading : printed) {
      const std::string sounds = soundsOf(sound::fromIpa(reading));
      const size_t distance = editDistance(british, sounds);
      const bool far = 2 * distance > std::max(british.size(), sounds.size());
      if (!far || std::none_of(twins->second.begin(), twins->second.end(), [&](const auto& twin) {
            return twin.first != row.caption && editDistance(twin.second, sounds) < distance;
          }))
        own.push_back(reading);
    }
    return own;
  }

 private:
  std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> sounds_;
};

}  // namespace

AmericanCounts pronounceAmerican(std::vector<PronouncedRow>& rows, const CmuDictionary* cmudict,
                                 EspeakTranscriber& americanVoice, SkipReport& skipped) {
  AmericanCounts counts;
  MachineWords machineWords;
  const CaseTwins twins(rows);
  Progress progress("American", rows.size());
  for (size_t begin = 0; begin < rows.size();) {
    size_t end = begin + 1;
    while (end < rows.size() && rows[end].caption == rows[begin].caption) ++end;
    progress.update(end);
    std::vector<std::string> printed;
    if (cmudict != nullptr)
      for (const auto& phones : fromCmudict(rows[begin].caption, *cmudict))
        if (std::string ipa = printAmerican(phones); !ipa.empty()) printed.push_back(ipa);
    for (size_t r = begin; r < end; ++r) {
      PronouncedRow& row = rows[r];
      const std::vector<std::string> own = twins.ownReadings(row, printed);
      if (!row.saidAs.empty() && cmudict != nullptr &&
          sayAsTheWordItStandsFor(row, own, *cmudict, americanVoice, machineWords)) {
        ++(row.americanByMachine ? counts.byMachine : counts.fromCmudict);
        continue;
      }
      if (own.empty() || row.spelledOut) {
        // Machine-made, in part at least: a phrase word by word (CMUdict's words as it has
        // them), else as espeak-ng reads it whole.
        if (cmudict != nullptr && wordsOf(row.caption).size() > 1 && !row.spelledOut)
          row.american =
              printAmerican(phraseWordByWord(row.caption, *cmudict, americanVoice, machineWords));
        std::string ipa;
        if (row.american.empty()) {
          ipa = americanVoice.transcribe(withHyphensAsWordBreaks(row.caption));
          row.american = printAmerican(phonesFromEspeak(ipa));
        }
        row.americanByMachine = !row.american.empty();
        if (row.american.empty()) {
          skipped.add("no American transcription: espeak-ng's unreadable or none",
                      row.caption + " [" + ipa + "]");
          ++counts.none;
        } else {
          ++counts.byMachine;
        }
        continue;
      }
      // Each row of a headword of several its nearest pronunciation.
      size_t chosen = 0;
      if (end - begin > 1) {
        const std::string british = soundsOf(sound::fromStored(row.phonetic));
        size_t best = SIZE_MAX;
        for (size_t p = 0; p < own.size(); ++p)
          if (const size_t d = editDistance(british, soundsOf(sound::fromIpa(own[p]))); d < best)
            best = d, chosen = p;
      }
      row.american = own[chosen];
      ++counts.fromCmudict;
    }
    begin = end;
  }
  progress.finish();
  return counts;
}

}  // namespace quorvi::dictbuild
