#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class LearnerWords;

// The words the listening drill may ask, by source: "my-words" (read from the learner's data
// each time), "most-heard" (the first plain headwords of the dictionary) and "level:<tag>"
// (the headwords whose levels line names the list, e.g. "level:CET4"). The dictionary's lists
// mean reading its rows: that runs on a thread of its own, one list at a time, and each list is
// kept once read.
class DrillWordLists : public QObject {
  Q_OBJECT

 public:
  static constexpr std::size_t kMostHeard = 3000;

  explicit DrillWordLists(LearnerWords& words);
  // Stops a reading under way and waits for it: the dictionary goes after this object.
  ~DrillWordLists() override;

  // The words of `source` when they are at hand; nullopt while they are read (ready() follows).
  std::optional<std::vector<std::string>> words(const QString& source);
  // Why the list of `source` could not be read; empty when it could.
  QString error(const QString& source) const;

 signals:
  void ready(const QString& source);

 private:
  void startNext();
  void finished(const QString& source, std::vector<std::string> words, const std::string& error);

  LearnerWords& learner_;
  std::map<QString, std::vector<std::string>> lists_;
  std::map<QString, QString> errors_;
  QStringList waiting_;
  QString reading_;
  std::thread reader_;
  std::atomic<bool> stop_ = false;
};
