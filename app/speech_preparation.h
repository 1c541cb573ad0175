#pragma once

#include <future>

// Sets espeak-ng up (SpeechSynthesiser::prepare) on a thread of its own, behind the
// window's thread in priority, so that the first speech does not pay for it on the window's
// thread. Speech asked for before it is over waits for it and is spoken. The future waits
// for the thread when it is destroyed.
std::future<void> prepareSpeechInBackground();
