#include "spoken_forms.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>

#include "chinese_line.h"
#include "data_tables.h"
#include "transcription_normaliser.h"

namespace quorvi::dictbuild {
namespace {

struct SpokenForm {
  const char* word;
  const char* standsFor;  // what it is short for or stands for; "" for interjections
  const char* gloss;
  // How it is said, where the spelling misleads the speech synthesiser (which reads "Sgt"
  // as letters and "gonna" as a weak form); the build normalises it like any transcription.
  const char* ipa = nullptr;
};

// Contractions keep their apostrophe; the negative ones with "n't" are grammatical words
// listed elsewhere.
const SpokenForm kContractions[] = {
    {"I'm", "I am", "contraction; \"I'm tired\""},
    {"I've", "I have", "contraction; \"I've seen it\""},
    {"I'll", "I will, I shall", "contraction; \"I'll call you\""},
    {"I'd", "I would, I had", "contraction; \"I'd like that\", \"I'd forgotten\""},
    {"you're", "you are", "contraction; \"you're right\""},
    {"you've", "you have", "contraction; \"you've won\""},
    {"you'll", "you will", "contraction; \"you'll see\""},
    {"you'd", "you would, you had", "contraction; \"you'd better go\""},
    {"he's", "he is, he has", "contraction; \"he's here\", \"he's gone\""},
    {"he'll", "he will", "contraction"},
    {"he'd", "he would, he had", "contraction"},
    {"she's", "she is, she has", "contraction; \"she's late\""},
    {"she'll", "she will", "contraction"},
    {"she'd", "she would, she had", "contraction"},
    {"it's", "it is, it has", "contraction; \"it's cold\" (not the possessive its)"},
    {"it'll", "it will", "contraction"},
    {"it'd", "it would, it had", "contraction"},
    {"we're", "we are", "contraction; \"we're ready\""},
    {"we've", "we have", "contraction"},
    {"we'll", "we will, we shall", "contraction"},
    {"we'd", "we would, we had", "contraction"},
    {"they're", "they are", "contraction; \"they're here\" (not their or there)"},
    {"they've", "they have", "contraction"},
    {"they'll", "they will", "contraction"},
    {"they'd", "they would, they had", "contraction"},
    {"that's", "that is, that has", "contraction; \"that's right\""},
    {"that'll", "that will", "contraction"},
    {"that'd", "that would", "contraction"},
    {"there's", "there is, there has", "contraction; \"there's a problem\""},
    {"there'll", "there will", "contraction"},
    {"there'd", "there would, there had", "contraction"},
    {"here's", "here is", "contraction; \"here's your tea\""},
    {"what's", "what is, what has", "contraction; \"what's wrong?\""},
    {"what'll", "what will", "contraction"},
    {"what'd", "what did, what would", "contraction"},
    {"what're", "what are", "contraction", "ˈwɒtə"},
    {"who's", "who is, who has", "contraction; \"who's there?\" (not whose)"},
    {"who'll", "who will", "contraction"},
    {"who'd", "who would, who had", "contraction"},
    {"where's", "where is, where has", "contraction"},
    {"where'd", "where did, where would", "contraction"},
    {"when's", "when is", "contraction"},
    {"why's", "why is", "contraction"},
    {"why'd", "why did, why would", "contraction"},
    {"how's", "how is, how has", "contraction; \"how's it going?\""},
    {"how'd", "how did, how would", "contraction"},
    {"let's", "let us", "contraction; makes a suggestion: \"let's go\""},
    {"hadn't", "had not", "contraction"},
    {"needn't", "need not", "contraction"},
    {"mightn't", "might not", "contraction"},
    {"ain't", "am not, is not, are not, has not, have not",
     "contraction, non-standard; \"it ain't fair\""},
    {"could've", "could have", "contraction; sounds like \"could of\""},
    {"would've", "would have", "contraction"},
    {"should've", "should have", "contraction"},
    {"might've", "might have", "contraction"},
    {"must've", "must have", "contraction"},
    {"y'all", "you all", "contraction, American; the people spoken to"},
    {"ma'am", "madam", "a polite way to address a woman"},
    {"'em", "them", "spoken form; \"get 'em\"", "əm"},
    {"'cause", "because", "spoken form"},
    {"'til", "until", "spoken form"},
    {"'tis", "it is", "old use, poetic; \"'tis the season\""},
    {"'twas", "it was", "old use, poetic; \"'twas the night before Christmas\""},
};

// Everyday words that the grammatical word list leaves out.
const SpokenForm kEveryday[] = {
    {"else", "", "adv. other, different; besides: \"someone else\", \"what else?\", \"or else\""},
    {"whenever", "", "conj. at any time that; every time that: \"come whenever you like\""},
    {"whichever", "", "det. pron. any one that; no matter which"},
    {"whomever", "", "pron. object form of whoever"},
    {"anytime", "any time", "adv. at any time; also a reply to thanks: you are welcome"},
    {"oneself", "", "pron. reflexive form of one: \"to wash oneself\""},
    {"thyself", "yourself", "old use"},
    {"versus", "", "prep. against (in sport or law); compared with"},
    {"whereas", "", "conj. while on the other hand"},
    {"amid", "", "prep. in the middle of; during"},
    {"alrighty", "all right", "int. spoken form; agreed, OK"},
    {"righty", "right", "spoken form; \"righty-ho\", \"righty then\""},
    {"congrats", "congratulations", "int. spoken form"},
    {"methinks", "I think", "old use, now humorous"},
    {"hisself", "himself", "spoken form, non-standard"},
    {"sirree", "sir", "spoken form, American; for emphasis: \"no sirree\""},
    {"'scuse", "excuse", "spoken form; \"'scuse me\""},
};

const SpokenForm kSpoken[] = {
    {"gonna", "going to", "spoken form; \"I'm gonna call her\"", "ˈɡɒnə"},
    {"gotta", "got to, have got to", "spoken form; \"I gotta go\""},
    {"wanna", "want to, want a", "spoken form; \"I wanna know\""},
    {"outta", "out of", "spoken form; \"get outta here\""},
    {"kinda", "kind of", "spoken form; rather: \"kinda cold\""},
    {"sorta", "sort of", "spoken form; rather"},
    {"lotta", "lot of", "spoken form; \"a lotta people\""},
    {"lemme", "let me", "spoken form"},
    {"gimme", "give me", "spoken form; \"gimme that\""},
    {"dunno", "don't know", "spoken form; \"I dunno\""},
    {"gotcha", "got you", "spoken form; I understand; or: caught you"},
    {"betcha", "bet you", "spoken form; \"I betcha he's late\""},
    {"whatcha", "what are you, what have you", "spoken form"},
    {"ya", "you", "spoken form; \"see ya\""},
    {"yer", "you, your", "spoken form"},
    {"youse", "you (plural)", "spoken form, dialect"},
    {"yous", "you (plural)", "spoken form, dialect"},
    {"ol'", "old", "spoken form; \"good ol' days\""},
    {"ol", "old", "spoken form of ol'"},
    {"til", "until", "spoken form"},
    {"cos", "because", "spoken form, British"},
    {"coz", "because", "spoken form, British"},
    {"cuz", "because; cousin", "spoken form"},
    {"innit", "isn't it", "spoken form, British; asks for agreement", "ˈɪnɪt"},
    {"helluva", "hell of a", "spoken form; very great: \"a helluva job\""},
    {"c'mon", "come on", "spoken form"},
    {"nope", "no", "spoken form"},
    {"yep", "yes", "spoken form"},
    {"yup", "yes", "spoken form"},
    {"yeah", "yes", "spoken form", "jeə"},
    {"nah", "no", "spoken form"},
    {"okay", "all right", "int. adj. OK; agreed, acceptable"},
    {"ok", "all right", "int. adj. agreed, acceptable"},
    {"bro", "brother", "spoken form; a friend (man)"},
    {"sis", "sister", "spoken form"},
    {"hon", "honey", "spoken form; a way to address someone you love"},
    {"kiddo", "kid", "spoken form; a way to address a young person"},
    {"goodnight", "good night", "int. said when leaving in the evening or going to bed"},
    {"g'day", "good day", "int. Australian; a greeting", "ɡəˈdeɪ"},
};

const SpokenForm kInterjections[] = {
    {"hey", "", "int. calls someone's attention, or greets: \"hey, how are you?\""},
    {"hi", "", "int. a greeting; hello"},
    {"hiya", "", "int. a greeting; hi"},
    {"huh", "", "int. asks for something to be repeated, or shows surprise"},
    {"uh", "", "int. a sound made while thinking what to say"},
    {"um", "", "int. a sound made while thinking what to say"},
    {"er", "", "int. a sound made while thinking what to say (British)"},
    {"erm", "", "int. a sound made while thinking what to say (British)"},
    {"ah", "", "int. expresses understanding, pleasure or surprise"},
    {"aah", "", "int. expresses pain, fear or relief"},
    {"aha", "", "int. expresses that you have found or understood something"},
    {"aw", "", "int. expresses sympathy or disappointment"},
    {"aww", "", "int. expresses sympathy or that something is sweet", "ɔː"},
    {"whoa", "", "int. tells someone to stop or slow down; expresses surprise"},
    {"wow", "", "int. expresses great surprise or admiration"},
    {"ow", "", "int. expresses sudden pain", "aʊ"},
    {"ouch", "", "int. expresses sudden pain"},
    {"oops", "", "int. said after a small mistake or accident"},
    {"whoops", "", "int. said after a small mistake or accident"},
    {"hmm", "", "int. expresses doubt or thinking", "hm"},
    {"mm", "", "int. expresses agreement or pleasure", "m"},
    {"mmm", "", "int. expresses pleasure, as at good food", "m"},
    {"shh", "", "int. asks for quiet", "ʃ"},
    {"sh", "", "int. asks for quiet", "ʃ"},
    {"psst", "", "int. quietly draws someone's attention"},
    {"yo", "", "int. a greeting, or calls attention (informal)"},
    {"eh", "", "int. asks for agreement or for something to be repeated"},
    {"ha", "", "int. expresses triumph or that something is funny"},
    {"haha", "", "int. the sound of laughing"},
    {"heh", "", "int. a short laugh", "he"},
    {"hee", "", "int. a high laugh"},
    {"ugh", "", "int. expresses disgust"},
    {"yuck", "", "int. expresses disgust"},
    {"eww", "", "int. expresses disgust"},
    {"yum", "", "int. says food tastes good"},
    {"yay", "", "int. expresses joy or approval"},
    {"hooray", "", "int. expresses joy"},
    {"yikes", "", "int. expresses fear or shock"},
    {"gosh", "", "int. expresses surprise (a mild form of God)"},
    {"golly", "", "int. expresses surprise"},
    {"geez", "", "int. expresses surprise or annoyance"},
    {"jeez", "", "int. expresses surprise or annoyance"},
    {"heck", "", "int. expresses annoyance (a mild form of hell)"},
    {"damn", "", "int. expresses anger or annoyance (rude)"},
    {"dammit", "damn it", "int. expresses anger or annoyance (rude)"},
    {"whoo", "", "int. expresses excitement"},
    {"woo", "", "int. expresses excitement"},
    {"hoo", "", "int. expresses excitement or surprise"},
    {"phew", "", "int. expresses relief or tiredness"},
    {"oi", "", "int. British; calls someone's attention rudely"},
    {"ahem", "", "int. a small cough to draw attention"},
    {"bye", "goodbye", "int. said when leaving"},
    {"ciao", "", "int. hello or goodbye (from Italian)"},
    {"bravo", "", "int. well done"},
    {"howdy", "how do you do", "int. a greeting (American, informal)"},
    {"ooh", "", "int. expresses pleasure, surprise or pain"},
    {"uh-huh", "", "int. yes; I am listening"},
    {"uh-oh", "", "int. says something has gone wrong"},
    {"duh", "", "int. says something is obvious"},
    {"meh", "", "int. expresses indifference"},
    {"aye", "yes", "int. yes (in Scotland and northern England, and in votes and the navy)"},
    {"ay", "yes", "int. yes; or: expresses surprise or pain"},
    {"umm", "", "int. a sound made while thinking what to say"},
    {"mmmm", "", "int. expresses pleasure, as at good food", "m"},
    {"whew", "", "int. expresses relief or surprise"},
    {"argh", "", "int. expresses anger, pain or frustration"},
    {"hah", "", "int. expresses triumph or scorn"},
    {"bah", "", "int. expresses scorn or annoyance"},
    {"oof", "", "int. the sound made when hit or when lifting something heavy"},
    {"oy", "", "int. calls attention, or expresses dismay"},
    {"ahoy", "", "int. a sailor's call to greet a ship or attract attention"},
    {"attaboy", "that's the boy", "int. well done (to a boy or man)"},
    {"attagirl", "that's the girl", "int. well done (to a girl or woman)"},
    {"atta", "that's a", "int. in \"atta boy\", \"atta girl\": well done"},
    {"hup", "", "int. marks a step or a jump: \"hup, two, three, four\""},
    {"yah", "yes", "int. yes; or: expresses scorn"},
    {"naw", "no", "int. spoken form"},
    {"whee", "", "int. expresses delight, as on a fast ride"},
    {"hurray", "", "int. expresses joy"},
    {"yippee", "", "int. expresses great joy"},
    {"voila", "", "int. there it is (from French)"},
    {"gesundheit", "", "int. said when someone sneezes (from German, health)"},
    {"blimey", "", "int. British; expresses surprise"},
    {"crikey", "", "int. British, Australian; expresses surprise"},
    {"jeepers", "", "int. expresses surprise"},
    {"phooey", "", "int. expresses disbelief or disappointment"},
    {"drat", "", "int. expresses mild annoyance"},
    {"huzzah", "", "int. old use; expresses joy"},
    {"lordy", "", "int. expresses surprise"},
    {"doggone", "", "int. adj. American; a mild form of damn"},
    {"goddammit", "God damn it", "int. expresses anger (rude)"},
    {"goddamnit", "God damn it", "int. expresses anger (rude)"},
    {"damnit", "damn it", "int. expresses anger (rude)"},
    {"ssh", "", "int. asks for quiet", "ʃ"},
    {"giddap", "get up", "int. tells a horse to go"},
};

// Words of other languages heard in English films and conversation.
const SpokenForm kBorrowed[] = {
    {"oui", "yes", "a French word"},
    {"bonjour", "good day, hello", "a French word"},
    {"bonsoir", "good evening", "a French word"},
    {"merci", "thank you", "a French word"},
    {"gracias", "thank you", "a Spanish word"},
    {"hola", "hello", "a Spanish word"},
    {"adios", "goodbye", "a Spanish word"},
    {"bueno", "good, well", "a Spanish word"},
    {"vamos", "let's go", "a Spanish word"},
    {"hasta", "until", "Spanish; \"hasta la vista\": see you"},
    {"grazie", "thank you", "a Italian word"},
    {"danke", "thank you", "a German word"},
    {"nein", "no", "a German word"},
    {"ja", "yes", "a German word"},
    {"salud", "to your health", "Spanish; said when drinking, or after a sneeze"},
};

const SpokenForm kTitles[] = {
    {"Mr", "mister", "a title before a man's family name: \"Mr Smith\""},
    {"Mrs", "missus", "a title before a married woman's family name"},
    {"Ms", "miz", "a title before a woman's family name", "mɪz"},
    {"Dr", "doctor", "a title before the name of a doctor"},
    {"St", "Saint; Street", "before a saint's name (St Paul); in addresses (Baker St)"},
    {"Prof", "professor", "a title before a professor's name", "prəˈfesə"},
    {"Lt", "lieutenant", "a military rank before a name", "lefˈtenənt"},
    {"Sgt", "sergeant", "a military or police rank before a name", "ˈsɑːdʒənt"},
    {"Capt", "captain", "a rank before a name", "ˈkæptɪn"},
    {"Col", "colonel", "a military rank before a name", "ˈkɜːnl"},
    {"Gen", "general", "a military rank before a name", "ˈdʒenrəl"},
    {"Jr", "junior", "after the name of a son with his father's name", "ˈdʒuːniə"},
    {"Sr", "senior", "after the name of a father whose son has his name", "ˈsiːniə"},
    {"Mt", "Mount", "before the name of a mountain", "maʊnt"},
    {"vs", "versus", "against (in sport or law)", "ˈvɜːsəs"},
    {"etc", "et cetera", "and so on"},
    {"et cetera", "", "adv. and so on; and other things of the same kind (Latin; written etc.)"},
    {"aka", "also known as", "before another name of the same person", "ˌeɪkeɪˈeɪ"},
    {"Cmdr", "commander", "a military rank before a name", "kəˈmɑːndə"},
    {"Rd", "Road", "in addresses: \"Station Rd\"", "rəʊd"},
    {"Ave", "Avenue", "in addresses: \"Fifth Ave\"", "ˈævənjuː"},
    {"Adm", "admiral", "a naval rank before a name", "ˈædmərəl"},
    {"Rev", "reverend", "a title before the name of a priest or minister", "ˈrevərənd"},
};

const SpokenForm kOldForms[] = {
    {"thee", "you", "old use; object form of thou"},
    {"thou", "you", "old use; one person spoken to"},
    {"thy", "your", "old use; belonging to thee"},
    {"thine", "yours, your", "old use"},
    {"ye", "you (plural)", "old use"},
    {"hath", "has", "old use"},
    {"doth", "does", "old use"},
    {"dost", "do (with thou)", "old use"},
    {"hast", "have (with thou)", "old use"},
    {"shalt", "shall (with thou)", "old use"},
    {"art", "are (with thou)", "old use"},
    {"unto", "to", "old use"},
    {"ere", "before", "old use"},
    {"lest", "in case, so that not", "conj. formal"},
    {"whence", "from where", "old use"},
};

// The table of data/heard_phrases.tsv, read once; empty if it cannot be read (its test says why).
const std::vector<DictEntry>& heardPhrases() {
  static const std::vector<DictEntry> phrases = [] {
    std::vector<DictEntry> out;
    std::string error;
    if (!readHeardPhrases(kHeardPhrasesText, out, error)) out.clear();
    return out;
  }();
  return phrases;
}

DictEntry entryOf(const SpokenForm& f) {
  DictEntry e;
  e.caption = f.word;
  if (f.ipa) e.transcription = f.ipa;
  if (*f.standsFor) e.explainLines.push_back(std::string(f.word) + ": " + f.standsFor);
  e.explainLines.push_back(f.gloss);
  return e;
}

template <size_t N>
void appendTable(std::vector<DictEntry>& out, const SpokenForm (&table)[N]) {
  for (const SpokenForm& f : table) out.push_back(entryOf(f));
}

}  // namespace

std::vector<DictEntry> spokenForms() {
  std::vector<DictEntry> out;
  appendTable(out, kContractions);
  appendTable(out, kSpoken);
  appendTable(out, kInterjections);
  appendTable(out, kTitles);
  appendTable(out, kOldForms);
  appendTable(out, kEveryday);
  appendTable(out, kBorrowed);
  return out;
}

std::vector<std::string> droppedGExplanation(const std::string& word, const std::string& full) {
  if (word.size() < 4 || word.compare(word.size() - 2, 2, "in") != 0 || full != word + "g")
    return {};
  return {word + ": " + full, "spoken form, with the final g dropped"};
}

bool readHeardPhrases(std::string_view text, std::vector<DictEntry>& out, std::string& error) {
  return readTsvRows(
      text, 4,
      [&out](const std::vector<std::string>& fields, std::string& why) {
        const std::string &caption = fields[0], &gloss = fields[1], &chinese = fields[2],
                          &ipa = fields[3];
        DictEntry e;
        e.caption = caption;
        e.transcription = ipa;
        e.explainLines = {chineseLine(splitText(chinese, kChineseSeparator)), gloss};
        std::string chineseWhy;
        if (caption.empty() || gloss.find(". ") == std::string::npos)
          why = "a phrase and its gloss, opening with its part of speech, are needed";
        else if (!checkChineseLine(e.explainLines[0], chineseWhy))
          why = "Chinese of " + caption + ": " + chineseWhy;
        else if (!normaliseTranscription(ipa).ok())
          why = "unreadable reading of " + caption;
        else
          out.push_back(std::move(e));
        return why.empty();
      },
      error);
}

size_t addHeardPhrases(std::vector<DictEntry>& entries) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  size_t added = 0;
  for (const DictEntry& phrase : heardPhrases()) {
    auto it = byCaption.find(phrase.caption);
    if (it == byCaption.end()) {
      byCaption.emplace(phrase.caption, entries.size());
      entries.push_back(phrase);
      ++added;
      continue;
    }
    // A word already in (cheers: plural of cheer) opens with what a learner hears it say.
    DictEntry& e = entries[it->second];
    std::vector<std::string>& lines = e.explainLines;
    if (!lines.empty() && opensWithChineseLine(lines.front()) &&
        std::none_of(lines.front().begin(), lines.front().end(),
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
      lines.erase(lines.begin());
    lines.insert(lines.begin(), phrase.explainLines.begin(), phrase.explainLines.end());
    e.transcription = phrase.transcription;
  }
  return added;
}

size_t addSpokenForms(std::vector<DictEntry>& entries) {
  std::unordered_set<std::string> present;
  for (const DictEntry& e : entries) present.insert(e.caption);
  size_t added = 0;
  for (DictEntry& f : spokenForms()) {
    if (!present.insert(f.caption).second) continue;
    entries.push_back(std::move(f));
    ++added;
  }
  return added;
}

}  // namespace quorvi::dictbuild
