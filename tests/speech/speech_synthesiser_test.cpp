// Speech synthesised to a buffer, never through a speaker.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "engine/phonetic_dictionary.h"
#include "speech/phoneme_input.h"
#include "speech/speech_synthesiser.h"

using quorvi::speech::SpeechSynthesiser;

namespace {

int loudest(const std::vector<std::int16_t>& samples) {
  int peak = 0;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
  return peak;
}

}  // namespace

// As in the window: the library is set up on another thread while a synthesiser is made on
// this one, which waits for that one set-up, sees its outcome and speaks.
TEST(SpeechSynthesiser, MadeWhileAnotherThreadSetsTheLibraryUpItSpeaks) {
  std::thread preparing(SpeechSynthesiser::prepare);
  SpeechSynthesiser synthesiser;
  preparing.join();
  ASSERT_TRUE(synthesiser.ready()) << synthesiser.error();
  SpeechSynthesiser::prepare();  // again: nothing more happens
  const SpeechSynthesiser another;
  EXPECT_EQ(another.sampleRate(), synthesiser.sampleRate());
  EXPECT_GT(loudest(synthesiser.speakText("cat")), 2000);
}

TEST(SpeechSynthesiser, SpeaksAWordAudiblyAndLongerWordsTakeLonger) {
  SpeechSynthesiser synthesiser;
  ASSERT_TRUE(synthesiser.ready()) << synthesiser.error();
  EXPECT_GE(synthesiser.sampleRate(), 8000);

  const auto cat = synthesiser.speakText("cat");
  const auto catastrophe = synthesiser.speakText("catastrophe");
  EXPECT_GT(loudest(cat), 2000);
  EXPECT_GT(cat.size(), size_t(synthesiser.sampleRate() / 10));
  EXPECT_GT(catastrophe.size(), cat.size() + cat.size() / 2);
  EXPECT_TRUE(synthesiser.speakText("").empty());
}

TEST(SpeechSynthesiser, SpeaksATypedTranscription) {
  SpeechSynthesiser synthesiser;
  ASSERT_TRUE(synthesiser.ready()) << synthesiser.error();
  const auto typed = quorvi::speech::toEspeakPhonemes(u"igz\u0251:mpl");
  ASSERT_TRUE(typed.readable());
  const auto example = synthesiser.speakPhonemes(typed.codes);
  EXPECT_GT(loudest(example), 2000);
  const auto longer = synthesiser.speakPhonemes(
      quorvi::speech::toEspeakPhonemes(u"igz\u0251:mpl \u0259v \u03B8\u0254\u02D0t").codes);
  EXPECT_GT(longer.size(), example.size() + example.size() / 2);
}

TEST(SpeechSynthesiser, EverySymbolIsHeard) {
  SpeechSynthesiser synthesiser;
  ASSERT_TRUE(synthesiser.ready()) << synthesiser.error();
  for (const auto& [symbol, stored] : PhoneticDictionary::symbolMap()) {
    const std::string codes = quorvi::speech::toEspeakPhonemes(symbol).codes;
    if (codes.empty() || codes == "'" || codes == ",") continue;  // marks have no sound alone
    // Between two vowels, so that a consonant is heard as one.
    EXPECT_GT(loudest(synthesiser.speakPhonemes("@" + codes + "@")), 1000) << stored;
  }
}

TEST(SpeechSynthesiser, RefusesCodesItDidNotWrite) {
  SpeechSynthesiser synthesiser;
  ASSERT_TRUE(synthesiser.ready()) << synthesiser.error();
  EXPECT_TRUE(synthesiser.speakPhonemes("kat]] [[kat").empty());
  EXPECT_TRUE(synthesiser.speakPhonemes("<speak>").empty());
  // Brackets in text are read as text, not as phoneme codes.
  EXPECT_FALSE(synthesiser.speakText("[[kat]]").empty());
}
