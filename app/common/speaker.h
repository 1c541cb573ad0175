#pragma once

#include <QString>

#include "speech/speech_synthesiser.h"

// What a feature may ask of the window's speech without knowing it: the drill says words.
class Speaker {
 public:
  virtual ~Speaker() = default;
  // Says `headword` as the Say buttons do, in the British or the American voice.
  virtual void speakHeadword(const QString& headword,
                             quorvi::speech::Voice voice = quorvi::speech::Voice::kBritish) = 0;
  // Reads `typed` as the search by sound reads it, and speaks it.
  virtual void speakTyped(const QString& typed) = 0;
  // Why the latest speech could not be heard; empty when it was played.
  virtual QString lastProblem() const = 0;
};
