#include "app/learner/drill_word_lists.h"

#include "app/learner/learner_words.h"
#include "engine/phonetic_dictionary.h"
#include "learner/drill_sources.h"
#include "learner/my_words.h"

namespace {

const QString kLevelPrefix = QStringLiteral("level:");

}  // namespace

DrillWordLists::DrillWordLists(LearnerWords& words) : QObject(&words), learner_(words) {}

DrillWordLists::~DrillWordLists() {
  stop_ = true;
  if (reader_.joinable()) reader_.join();
}

std::optional<std::vector<std::string>> DrillWordLists::words(const QString& source) {
  if (source == QStringLiteral("my-words")) {
    std::string error;
    std::vector<std::string> words = learner_.savedWordList(error);
    errors_[source] = QString::fromStdString(error);
    return words;
  }
  if (const auto found = lists_.find(source); found != lists_.end()) return found->second;
  if (source != reading_ && !waiting_.contains(source)) waiting_ << source;
  startNext();
  return std::nullopt;
}

QString DrillWordLists::error(const QString& source) const {
  const auto found = errors_.find(source);
  return found != errors_.end() ? found->second : QString();
}

void DrillWordLists::startNext() {
  if (!reading_.isEmpty() || waiting_.isEmpty()) return;
  reading_ = waiting_.takeFirst();
  if (reader_.joinable()) reader_.join();
  sqlite3* dictionary = learner_.dictionary().connection();
  const QString source = reading_;
  const std::string level =
      source.startsWith(kLevelPrefix) ? source.mid(kLevelPrefix.size()).toStdString() : "";
  reader_ = std::thread([this, dictionary, source, level] {
    std::string error;
    std::vector<std::string> words =
        level.empty() ? quorvi::learner::mostHeardWords(dictionary, kMostHeard, &stop_, error)
                      : quorvi::learner::levelWords(dictionary, level, &stop_, error);
    if (stop_) return;
    QMetaObject::invokeMethod(
        this,
        [this, source, words = std::move(words), error]() mutable {
          finished(source, std::move(words), error);
        },
        Qt::QueuedConnection);
  });
}

void DrillWordLists::finished(const QString& source, std::vector<std::string> words,
                              const std::string& error) {
  if (reader_.joinable()) reader_.join();
  reading_.clear();
  errors_[source] = QString::fromStdString(error);
  lists_[source] = std::move(words);
  emit ready(source);
  startNext();
}
