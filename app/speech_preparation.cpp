#include "speech_preparation.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "speech/speech_synthesiser.h"

std::future<void> prepareSpeechInBackground() {
  return std::async(std::launch::async, [] {
#ifdef __linux__
    // The window's own steps come first.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
    quorvi::speech::SpeechSynthesiser::prepare();
  });
}
