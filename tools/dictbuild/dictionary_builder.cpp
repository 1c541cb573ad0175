#include "dictionary_builder.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <unordered_map>

#include "build_stamp.h"
#include "checked_inflections.h"
#include "dict_store.h"
#include "ecdict_importer.h"
#include "espeak_transcriber.h"
#include "function_words.h"
#include "inflections.h"
#include "learner_sources.h"
#include "phonetic_notation.h"
#include "progress.h"
#include "ranking.h"
#include "skip_report.h"
#include "transcription_normaliser.h"
#include "tsv_importer.h"
#include "wordnet_reader.h"

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

// Imported rows join the WordNet rows of the same headword: their explanation comes first,
// their transcription wins when it can be read, the better rank counts.
void mergeImported(std::vector<DictEntry>& entries, std::vector<DictEntry>&& imported) {
    std::unordered_map<std::string, size_t> byCaption;
    for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
    for (DictEntry& e : imported) {
        auto it = byCaption.find(e.caption);
        if (it == byCaption.end()) {
            byCaption.emplace(e.caption, entries.size());
            entries.push_back(std::move(e));
            continue;
        }
        DictEntry& target = entries[it->second];
        std::vector<std::string> lines = std::move(e.explainLines);
        if (!target.imported) lines.insert(lines.end(), target.explainLines.begin(), target.explainLines.end());
        else lines.insert(lines.begin(), target.explainLines.begin(), target.explainLines.end());
        target.explainLines = std::move(lines);
        if (target.transcription.empty()) target.transcription = e.transcription;
        if (e.frequency > target.frequency) target.frequency = e.frequency;
        target.imported = true;
    }
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

}  // namespace

std::string BuildOptions::describe() const {
    std::string s = std::string("design=") + (design == StorageDesign::Split ? "split" : "single") +
                    " page=" + std::to_string(pageSize) + " wordnet=" + (useWordNet ? wordnetDir : "-") +
                    " limit=" + std::to_string(limit) + " lenient=" + (lenient ? "1" : "0") +
                    " encrypted=" + (pagesAreEncrypted() ? "1" : "0") + " heard=" + (heardWords ? "1" : "0");
    for (const auto& f : ecdictFiles) s += " ecdict=" + f;
    for (const auto& f : tsvFiles) s += " tsv=" + f;
    return s;
}

BuildSummary buildDictionary(const BuildOptions& options, std::ostream& log) {
    BuildSummary summary;
    const auto started = std::chrono::steady_clock::now();
    const std::string target = options.databasePath();
    const std::string unchanged = "nothing was written; the previous dictionary is unchanged";

    std::error_code ec;
    std::filesystem::create_directories(options.runtimeDir + "/dict", ec);
    if (ec) {
        log << "build: cannot create " << options.runtimeDir << "/dict: " << ec.message() << "\n";
        return summary;
    }

    EspeakTranscriber espeak;
    if (!espeak.ready()) {
        log << "build: " << espeak.error() << "; " << unchanged << "\n";
        return summary;
    }

    std::vector<std::string> inputs;
    if (options.useWordNet) inputs = wordNetInputFiles(options.wordnetDir);
    if (options.useWordNet)
        for (const auto& f : britishWordListFiles(options.wordLists)) inputs.push_back(f);
    for (const auto& f : options.ecdictFiles) inputs.push_back(f);
    for (const auto& f : options.tsvFiles) inputs.push_back(f);
    for (const auto& f : espeakDataFiles()) inputs.push_back(f);
    OptionalSourceFiles sourceFiles;
    const bool heardWords = options.useWordNet && options.heardWords;
    if (heardWords) {
        sourceFiles = fetchOptionalSources({options.sourcesCache(), "npm", options.downloadSources}, log);
        for (const auto& f : sourceFiles.stampFiles()) inputs.push_back(f);
    }
    // The builder itself: a new builder may write a different dictionary from the same inputs.
    std::error_code exeError;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", exeError);
    if (!exeError) inputs.push_back(self.string());
    const std::string stamp = makeStamp(inputs, options.describe());
    if (!options.force && std::filesystem::exists(target, ec) && readStamp(options.stampPath()) == stamp) {
        log << "build: " << target << " is up to date (use --force to rebuild)\n";
        summary.ok = summary.upToDate = true;
        return summary;
    }

    SkipReport skipped;
    std::vector<DictEntry> entries;
    if (options.useWordNet) {
        WordNetData wordnet;
        std::string error;
        if (!readWordNet(options.wordnetDir, wordnet, error)) {
            log << "build: WordNet: " << error << "; " << unchanged << "\n";
            return summary;
        }
        const size_t lemmas = wordnet.headwords.size();
        BritishWordList wordList = britishWordList(options.wordLists);
        LearnerSources heard;
        if (heardWords) loadLearnerSources(sourceFiles, wordList, heard, log);
        const size_t forms = addCheckedInflections(wordnet, wordList, log).rowsAdded;
        log << "WordNet: " << lemmas << " headwords, " << forms << " inflected forms\n";
        entries = std::move(wordnet.headwords);
        addFunctionWords(entries);
        if (heardWords) log << describeLearnerHeadwords(addLearnerHeadwords(entries, heard, skipped)) << "\n";
    }
    ImportOptions importOptions;
    importOptions.lenient = options.lenient;
    auto runImport = [&](const std::string& file, bool ecdict) {
        ImportResult r = ecdict ? importEcdict(file, importOptions, skipped) : importTsv(file, importOptions, skipped);
        if (!r.ok()) {
            log << "build: " << r.error << "\n" << "build: " << unchanged << "\n";
            return false;
        }
        log << file << ": " << r.entries.size() << " entries\n";
        mergeImported(entries, std::move(r.entries));
        return true;
    };
    for (const auto& f : options.ecdictFiles)
        if (!runImport(f, true)) return summary;
    for (const auto& f : options.tsvFiles)
        if (!runImport(f, false)) return summary;
    if (entries.empty()) {
        log << "build: no entries to write; " << unchanged << "\n";
        return summary;
    }

    std::vector<size_t> order = rankOrder(entries);
    if (options.limit > 0 && order.size() > options.limit) order.resize(options.limit);

    DictionaryWriter writer;
    if (!writer.begin(target, options.design, options.pageSize)) {
        log << "build: " << writer.error() << "; " << unchanged << "\n";
        return summary;
    }
    Progress progress("transcribing and writing", order.size());
    size_t done = 0;
    for (size_t index : order) {
        DictEntry& e = entries[index];
        progress.update(++done);
        if (std::any_of(e.caption.begin(), e.caption.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
            skipped.add("headword holds control characters", e.caption);
            continue;
        }
        // Our engine binds the headword, but readers that splice it into SQL between double
        // quotes could never look such a row up.
        if (e.caption.find('"') != std::string::npos) {
            skipped.add("headword holds a double quote, which readers that splice SQL cannot look up", e.caption);
            continue;
        }
        std::u16string symbols;
        if (!e.transcription.empty()) {
            NormalisedTranscription n = normaliseTranscription(e.transcription);
            if (n.ok()) symbols = n.symbols;
            else skipped.add("imported transcription unreadable (" + n.error + "), espeak-ng used instead",
                             e.caption + " [" + e.transcription + "]");
        } else if (e.imported) {
            skipped.add("imported transcription empty, espeak-ng used instead", e.caption);
        }
        if (symbols.empty()) {
            std::string ipa = espeak.transcribe(e.caption);
            if (ipa.empty()) {
                skipped.add("row left out: espeak-ng gave no pronunciation", e.caption);
                continue;
            }
            NormalisedTranscription n = normaliseTranscription(ipa);
            if (!n.ok()) {
                skipped.add("row left out: espeak-ng output unreadable (" + n.error + ")",
                            e.caption + " [" + ipa + "]");
                continue;
            }
            symbols = adjustForSpelling(e.caption, n.symbols);
        }
        if (!writer.add(e.caption, encodeStoredPhonetic(symbols), joinLines(e.explainLines))) {
            progress.finish();
            log << "build: writing failed: " << writer.error() << "; " << unchanged << "\n";
            return summary;
        }
        ++summary.rows;
    }
    progress.finish();
    if (!writer.finish()) {
        log << "build: " << writer.error() << "; " << unchanged << "\n";
        return summary;
    }
    if (!writeStamp(options.stampPath(), stamp))
        log << "build: warning: cannot write " << options.stampPath() << "; the next build will not be skipped\n";

    summary.ok = true;
    summary.skipped = skipped.total();
    summary.fileBytes = std::filesystem::file_size(target, ec);
    summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    skipped.print(log, "rows left out or made differently");
    log << "wrote " << target << ": " << summary.rows << " headwords, " << summary.fileBytes / 1024
        << " KiB, in " << Progress::clock(summary.seconds) << (pagesAreEncrypted() ? "" : " (pages NOT encrypted)")
        << "\n";
    return summary;
}

}  // namespace quorvi::dictbuild
