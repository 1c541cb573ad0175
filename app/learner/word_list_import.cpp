#include "app/learner/word_list_import.h"

#include "learner/headword_spellings.h"
#include "learner/learner_store.h"

using namespace quorvi::learner;

WordListImport::WordListImport(std::filesystem::path store, sqlite3* dictionary, QObject* parent)
    : QObject(parent), store_(std::move(store)), dictionary_(dictionary) {
  qRegisterMetaType<WordListImportOutcome>();
}

WordListImport::~WordListImport() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

bool WordListImport::start(const QString& file) {
  if (running_) return false;
  if (thread_.joinable()) thread_.join();
  running_ = true;
  cancel_ = false;
  thread_ = std::thread([this, file] {
    WordListImportOutcome outcome;
    outcome.file = file;
    LearnerStore store(store_);
    std::string error;
    const HeadwordSpellings headwords(dictionary_, error);
    if (!store.isOpen() || store.isReadOnly()) {
      outcome.error = store.error();
      outcome.problem = store.problem();
    } else if (!error.empty()) {
      outcome.error = "cannot read the dictionary's headwords: " + error;
      outcome.problem = FileProblem::kOther;
    } else {
      ImportOptions options;
      options.headwords = &headwords;
      options.cancel = &cancel_;
      int shown = -1;
      options.progress = [&](double share) {
        const int percent = static_cast<int>(share * 100);
        if (percent == shown) return;
        shown = percent;
        QMetaObject::invokeMethod(
            this, [this, percent] { emit progressed(percent); }, Qt::QueuedConnection);
      };
      outcome.error =
          importFile(store, file.toStdString(), options, outcome.report, &outcome.problem);
      outcome.cancelled = outcome.error == kImportCancelled;
      if (!outcome.error.empty() && outcome.problem == FileProblem::kNone)
        outcome.problem = store.problem();
    }
    QMetaObject::invokeMethod(
        this,
        [this, outcome] {
          running_ = false;
          emit finished(outcome);
        },
        Qt::QueuedConnection);
  });
  return true;
}
