// Reads a transcription as learners write it and turns it into the symbols of the engine's
// table: brackets or slashes around it, spaces (at either end, or between words), the IPA
// forms of today's learner dictionaries, and stress or length marks wherever they stand.
// Beside that literal reading it reads the text a second way, as typed on a plain keyboard or
// in the Kenyon and Knott symbols of American dictionaries: sh ʃ, ch tʃ, th θ, zh ʒ, ng ŋ,
// ee iː, oo uː, ae æ, ai aɪ, ou aʊ, c and q k, x ks, y j; the capitals A æ, E ə, O ɔ, U ʊ,
// I ɪ, V ʌ and @ ə, ^ ʌ; KK's o as oʊ (so that o then ɪ is two sounds), ɚ as ər, ɝ as ɜːr,
// and e as eɪ where the text writes the vowel of bed ɛ; and i before ə as two sounds.
#pragma once

#include <string>
#include <string_view>

struct LearnerInput {
  // The text in table symbols: no stress marks, and a length mark only right after a vowel.
  std::u16string symbols;
  // The plain-keyboard and KK reading, in table symbols, a stress mark parting two symbols
  // that are two sounds (o ˈi: not the glide ɔi); empty when it reads as `symbols` does. When
  // only it can read the text, `symbols` is it without those marks.
  std::u16string otherReading;
  // The text as an American speaker's sounds are heard in the British transcriptions the rows
  // hold (americanAsBritish, below), of the other reading where there is one; empty when that
  // changes nothing.
  std::u16string americanReading;
  // The same with a d between vowels read as the t it may be (T Voicing); empty when that
  // changes nothing.
  std::u16string flapReading;
  // The learner typed a blank between sounds: several words (the symbols run on across it).
  bool severalWords = false;
  // When the text cannot be read: the 1-based position (in characters of what was typed)
  // and the character that stopped it. 0 when the text was read.
  int errorPosition = 0;
  char32_t errorCharacter = 0;
  bool readable() const { return errorPosition == 0 && !symbols.empty(); }
};

// Empty or blank text gives empty symbols and no error position.
LearnerInput readLearnerInput(std::u16string_view typed);

// The same reading with the stress marks and word breaks kept, as a transcription in the
// stored notation (ˈwɔːtə(r) gives ˈwɔːtə, /ʃɪp/ gives ʃip): what speech says for the typed text.
std::u16string learnerTranscription(std::u16string_view typed);

// Table symbols of American English as the British transcriptions write the same sounds, by the
// differences between General American and British Received Pronunciation that J. C. Wells
// describes in Accents of English (Cambridge University Press, 1982), vol. 3, ch. 6.1 (North
// America): rhoticity, the r after a vowel (ɑːr ɑː, ɔːr ɔː, ər ə, ɜːr ɜː, ɪr ɪə, er eə,
// ʊr ʊə); T Voicing, t between vowels heard as d (with `dAsFlap`, d between vowels is read
// as t); LOT
// Unrounding, the vowel of lot as ɑ or ɑː (ɒ); GOAT as oʊ (əʊ); and Yod Dropping after t, d and
// n (uː juː). Stress marks stay as they are.
std::u16string americanAsBritish(std::u16string_view symbols, bool dAsFlap);
