#include "learner/drill_sources.h"

#include <sqlite3.h>

#include <set>
#include <string_view>

#include "engine/learner_input.h"
#include "engine/sound_count_groups.h"
#include "engine/sound_code.h"
#include "learner/dictionary_facts.h"

namespace quorvi::learner {
namespace {

// In the table's order, which is the order of usefulness: asking for the transcription keeps the
// planner from scanning the headword index (alphabetical) instead of the table. A row without a
// transcription cannot be drilled anyway.
const char kRowsSql[] = "SELECT w_caption, w_explain FROM dict_word WHERE +w_phonetic IS NOT NULL";

std::string_view columnView(sqlite3_stmt* row, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
  return text != nullptr
             ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(row, column)))
             : std::string_view();
}

// Hands each row's headword and explanation to `onRow` until it returns false, the rows end or
// `stop` is set. Returns SQLite's message on failure, empty otherwise.
template <typename OnRow>
std::string eachRow(sqlite3* dictionary, const std::atomic<bool>* stop, OnRow onRow) {
  if (dictionary == nullptr) return "the dictionary is not open";
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(dictionary, kRowsSql, -1, &statement, nullptr) != SQLITE_OK)
    return sqlite3_errmsg(dictionary);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) break;
    if (!onRow(columnView(statement, 0), columnView(statement, 1))) break;
  }
  std::string error;
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) error = sqlite3_errstr(rc);
  sqlite3_finalize(statement);
  return error;
}

bool namesLevel(std::string_view explanation, const std::string& tag) {
  const QStringList lines =
      QString::fromUtf8(explanation.data(), static_cast<qsizetype>(explanation.size()))
          .split(QStringLiteral("<br/>"));
  for (const QString& line : lines) {
    const std::vector<std::string> tags = levelTags(line.trimmed());
    if (tags.empty()) continue;
    for (const std::string& found : tags)
      if (found == tag) return true;
    return false;  // the entry's one levels line
  }
  return false;
}

}  // namespace

std::vector<std::string> levelWords(sqlite3* dictionary, const std::string& tag,
                                    const std::atomic<bool>* stop, std::string& error) {
  std::vector<std::string> words;
  const std::string name = levelName(tag);
  if (name.empty()) {
    error = "no learner level " + tag;
    return words;
  }
  std::vector<std::string> kept;
  error = eachRow(dictionary, stop, [&](std::string_view caption, std::string_view explanation) {
    // Most rows name no level at all: the line's text is looked for before it is read.
    if (caption.empty() || explanation.find(name) == std::string_view::npos) return true;
    if (!namesLevel(explanation, tag)) return true;
    kept.emplace_back(caption);
    return true;
  });
  std::set<std::string> once;
  for (std::string& word : kept)
    if (once.insert(word).second) words.push_back(std::move(word));
  if (stop != nullptr && stop->load()) words.clear();
  return words;
}

std::vector<std::string> mostHeardWords(sqlite3* dictionary, std::size_t count,
                                        const std::atomic<bool>* stop, std::string& error) {
  std::vector<std::string> words;
  std::set<std::string> once;
  error = eachRow(dictionary, stop, [&](std::string_view caption, std::string_view) {
    if (!caption.empty() && quorvi::engine::isPlainWordCaption(caption) &&
        once.emplace(caption).second)
      words.emplace_back(caption);
    return words.size() < count;
  });
  if (stop != nullptr && stop->load()) words.clear();
  return words;
}

namespace {

bool isVowel(const std::string& sound) {
  static const std::string_view kVowels[] = {"a", "e", "i", "o", "u", "æ", "ɑ", "ɒ", "ɔ",
                                             "ə", "ɛ", "ɜ", "ɪ", "ʊ", "ʌ", "ɐ"};
  for (const std::string_view vowel : kVowels)
    if (std::string_view(sound).starts_with(vowel)) return true;
  return false;
}

// The sound a step stands for, typed or stored.
const std::string& soundOf(const sound::AlignedSound& step) {
  return step.stored.empty() ? step.typed : step.stored;
}

// A syllabic consonant is written with or without ə before it (ˈæpl, ˈæpəl; ˈbʌtn, ˈbʌtən): one
// sound either way. An ə that only one side has, between a consonant and an l, n or m that ends
// the word or comes before another consonant, is no difference.
void takeSyllabicSchwaAsSame(std::vector<sound::AlignedSound>& steps) {
  using Kind = sound::AlignedSound::Kind;
  for (std::size_t i = 1; i + 1 < steps.size(); ++i) {
    sound::AlignedSound& step = steps[i];
    const bool loneSchwa = (step.kind == Kind::Unheard && step.stored == "ə") ||
                           (step.kind == Kind::Added && step.typed == "ə");
    if (!loneSchwa || isVowel(soundOf(steps[i - 1]))) continue;
    const std::string& next = soundOf(steps[i + 1]);
    const bool syllabic = next == "l" || next == "n" || next == "m";
    const bool closes = i + 2 == steps.size() || !isVowel(soundOf(steps[i + 2]));
    if (syllabic && closes && steps[i + 1].kind == Kind::Same) step.kind = Kind::Same;
  }
}

}  // namespace

std::vector<sound::AlignedSound> alignHeard(const QString& typed, const QString& transcription) {
  const LearnerInput heard = readLearnerInput(typed.toStdU16String());
  const LearnerInput stored = readLearnerInput(transcription.toStdU16String());
  if (!heard.readable() || !stored.readable()) return {};
  std::vector<sound::AlignedSound> steps =
      sound::alignSounds(sound::fromSymbols(heard.symbols), sound::fromSymbols(stored.symbols));
  takeSyllabicSchwaAsSame(steps);
  return steps;
}

std::vector<Confusion> confusionsOf(const std::vector<sound::AlignedSound>& steps) {
  std::vector<Confusion> found;
  std::size_t same = 0;
  for (const sound::AlignedSound& step : steps) {
    if (step.kind == sound::AlignedSound::Kind::Same) ++same;
    if (step.kind == sound::AlignedSound::Kind::HeardAs)
      found.push_back({step.stored, step.typed, 1});
  }
  // Fewer than half the sounds the same: the learner heard another word, and its sounds set
  // against this one's say nothing of what they confuse.
  if (same * 2 < steps.size()) found.clear();
  return found;
}

}  // namespace quorvi::learner
