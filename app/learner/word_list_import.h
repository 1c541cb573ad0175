#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "learner/file_problem.h"
#include "learner/word_import.h"

struct sqlite3;

// What an import did, for the window to say.
struct WordListImportOutcome {
  QString file;
  std::string error;  // English, for the log; empty when it went through
  quorvi::learner::FileProblem problem = quorvi::learner::FileProblem::kNone;
  bool cancelled = false;
  quorvi::learner::ImportReport report;
};

// A word list imported into my words on a thread of its own, with progress and a cancel:
// reading a long list never stops the window. One import at a time; it has a connection of
// its own to the learner's store, and reads the dictionary's headwords through the
// dictionary's (serialized) connection.
class WordListImport : public QObject {
  Q_OBJECT

 public:
  WordListImport(std::filesystem::path store, sqlite3* dictionary, QObject* parent);
  // Cancels a running import and waits for it.
  ~WordListImport() override;

  // Starts importing `file`; false when an import is running already.
  bool start(const QString& file);
  void cancel() { cancel_ = true; }
  bool running() const { return running_; }

 signals:
  // The share of the file read, in percent.
  void progressed(int percent);
  void finished(const WordListImportOutcome& outcome);

 private:
  std::filesystem::path store_;
  sqlite3* dictionary_;
  std::thread thread_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
};

Q_DECLARE_METATYPE(WordListImportOutcome)
