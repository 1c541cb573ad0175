#pragma once
// re- meaning "again" is said with a full vowel and its own stress: rebuild ˌriːˈbild,
// reopen ˌriːˈəupən, reset ˌriːˈset; the re- of refer, reply, repeat, record stays weak.
// espeak-ng reads every re- as the weak ri, so these words are transcribed as ˌriː and the
// word after re-.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::dictbuild {

// True when the first sense among `explainLines` ("v. build again") says the word means
// doing something again: again, anew, once more, a second time (not in its examples).
bool senseMeansAgain(const std::vector<std::string>& explainLines);

// The word after re- ("build" of "rebuild", "open" of "re-open") when `caption` may be read
// as re- meaning again; empty when it may not (not re-, a phrase, too short a rest, or a word
// whose re- is weak whatever its sense says: repeat, recur, review ...).
std::string againStem(std::string_view caption);

// ˌriː in front of the transcription of the word after re-: ˈbild -> ˌriːˈbild.
std::u16string withAgainPrefix(const std::u16string& stemSymbols);

}  // namespace quorvi::dictbuild
