// The dictionary's side of the listening drill: the words a drill may ask (a learner level's
// headwords, the most heard words) and what an answer tells about the learner's hearing (the
// typed sounds set against the word's transcription, the sounds heard as others).
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include <QString>

#include "engine/aligned_sounds.h"
#include "learner/drill.h"

struct sqlite3;

namespace quorvi::learner {

// The headwords whose learner-levels line names the list `tag` ("CET4", "Oxford3000"; see
// levelTags), each once, in the table's order. Reads every row of `dictionary` (an open
// dictionary connection, which may be shared: it is used through SQLite's own locking);
// stops early, empty, when `stop` is set. `error` is set when the rows cannot be read.
std::vector<std::string> levelWords(sqlite3* dictionary, const std::string& tag,
                                    const std::atomic<bool>* stop, std::string& error);

// The first `count` plain headwords (lower-case letters only) in the table's order, which is
// the order of usefulness: the words a learner hears most.
std::vector<std::string> mostHeardWords(sqlite3* dictionary, std::size_t count,
                                        const std::atomic<bool>* stop, std::string& error);

// What the learner typed (as learners write it) set against a transcription as the entry shows
// it, sound by sound; empty when either holds no readable sound.
std::vector<sound::AlignedSound> alignHeard(const QString& typed, const QString& transcription);

// The sounds of the word the alignment shows heard as others, in the word's order; none when
// fewer than half its steps are the same sound (another word was heard, not a slip).
std::vector<Confusion> confusionsOf(const std::vector<sound::AlignedSound>& steps);

}  // namespace quorvi::learner
