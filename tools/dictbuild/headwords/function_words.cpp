#include "function_words.h"

#include <unordered_map>

namespace quorvi::dictbuild {
namespace {

struct Word {
  const char* word;
  const char* explain;  // lines separated by '|'
};

// Roughly in order of frequency in running English.
const Word kWords[] = {
    {"the", "det. the definite article: refers to someone or something already known"},
    {"of", "prep. belonging to, part of, or about; \"the name of the street\""},
    {"and", "conj. joins words, phrases or sentences; also"},
    {"a", "det. the indefinite article: one, any one"},
    {"to", "prep. in the direction of; as far as|particle. marks the infinitive: \"I want to go\""},
    {"in", "prep. inside; during; using"},
    {"is", "v. third person singular present of be"},
    {"you", "pron. the person or people spoken to"},
    {"that",
     "det. pron. the one there; the one mentioned|conj. introduces a clause: \"she said that she "
     "was tired\""},
    {"it", "pron. the thing, animal or situation mentioned"},
    {"he", "pron. the male person or animal mentioned"},
    {"was", "v. past tense of be (first and third person singular)"},
    {"for", "prep. intended for; because of; during"},
    {"on", "prep. touching the top surface of; about; at the time of"},
    {"are", "v. present tense of be (plural and second person)"},
    {"as", "conj. prep. in the way that; when; because; in the role of"},
    {"with", "prep. together with; having; using"},
    {"his", "det. pron. belonging to him"},
    {"they", "pron. the people or things mentioned"},
    {"I", "pron. the person speaking or writing"},
    {"at", "prep. in or near a place; at a point in time"},
    {"be", "v. exist; have a quality, identity or position"},
    {"this", "det. pron. the one here; the one now being mentioned"},
    {"have", "v. own, hold or experience|aux. forms perfect tenses: \"I have finished\""},
    {"from", "prep. starting at; out of; sent or given by"},
    {"or", "conj. joins alternatives"},
    {"one", "pron. a person in general; a single thing|num. the number 1"},
    {"had", "v. past tense and past participle of have"},
    {"by", "prep. near; through the action of; not later than"},
    {"but", "conj. however; except"},
    {"not", "adv. makes a word or sentence negative"},
    {"what", "pron. det. which thing or things; the thing that"},
    {"all", "det. pron. the whole of; every one of"},
    {"were", "v. past tense of be (plural and second person)"},
    {"we", "pron. the speaker together with others"},
    {"when", "adv. conj. at what time; at the time that"},
    {"your", "det. belonging to you"},
    {"can", "modal v. be able to; be allowed to"},
    {"said", "v. past tense and past participle of say"},
    {"there", "adv. in or at that place|pron. introduces a statement: \"there is a cat\""},
    {"an", "det. the indefinite article before a vowel sound"},
    {"each", "det. pron. every one of two or more, taken separately"},
    {"which", "pron. det. what one of a group; introduces a relative clause"},
    {"she", "pron. the female person or animal mentioned"},
    {"do", "v. perform, carry out|aux. forms questions and negatives: \"do you know?\""},
    {"how", "adv. in what way; to what degree"},
    {"their", "det. belonging to them"},
    {"if", "conj. on condition that; whether"},
    {"will", "modal v. forms the future; be willing to"},
    {"up", "adv. prep. towards a higher place or position"},
    {"about", "prep. on the subject of; around|adv. approximately"},
    {"out", "adv. away from the inside; not at home"},
    {"many", "det. pron. a large number of"},
    {"then", "adv. at that time; next; in that case"},
    {"them", "pron. object form of they"},
    {"these", "det. pron. plural of this"},
    {"so", "adv. to such a degree; in this way|conj. therefore"},
    {"some", "det. pron. an amount or number of; a certain"},
    {"her", "pron. object form of she|det. belonging to her"},
    {"would", "modal v. past of will; expresses a condition or a polite request"},
    {"him", "pron. object form of he"},
    {"into", "prep. to the inside of"},
    {"has", "v. third person singular present of have"},
    {"more", "det. pron. adv. a greater amount or number; to a greater degree"},
    {"two", "num. the number 2"},
    {"no", "det. not any|int. used to refuse or deny"},
    {"my", "det. belonging to me"},
    {"than", "conj. prep. used in comparisons: \"taller than me\""},
    {"been", "v. past participle of be"},
    {"who", "pron. which person; the person that"},
    {"its", "det. belonging to it"},
    {"now", "adv. at the present time"},
    {"could", "modal v. past of can; expresses possibility or a polite request"},
    {"our", "det. belonging to us"},
    {"over", "prep. above; across; more than"},
    {"me", "pron. object form of I"},
    {"because", "conj. for the reason that"},
    {"should", "modal v. ought to; expresses advice or what is likely"},
    {"us", "pron. object form of we"},
    {"those", "det. pron. plural of that"},
    {"why", "adv. for what reason"},
    {"where", "adv. conj. in or to what place; in the place that"},
    {"while", "conj. during the time that; whereas"},
    {"through", "prep. in at one side and out at the other; by means of"},
    {"may", "modal v. expresses possibility or permission"},
    {"might", "modal v. expresses a weaker possibility; past of may"},
    {"must", "modal v. have to; expresses certainty"},
    {"shall", "modal v. forms the future with I and we; in offers: \"shall I help?\""},
    {"ought", "modal v. ought to: should"},
    {"am", "v. first person singular present of be"},
    {"does", "v. third person singular present of do"},
    {"did", "v. past tense of do"},
    {"being", "v. present participle of be"},
    {"whether", "conj. if; used to introduce alternatives"},
    {"although", "conj. in spite of the fact that"},
    {"though", "conj. although|adv. however"},
    {"unless", "conj. except if"},
    {"until", "prep. conj. up to the time that"},
    {"till", "prep. conj. until"},
    {"since", "prep. conj. from a time in the past until now; because"},
    {"whose", "pron. det. of whom; belonging to which person"},
    {"whom", "pron. object form of who"},
    {"whatever", "pron. det. anything that; no matter what"},
    {"whoever", "pron. any person who; no matter who"},
    {"nor", "conj. and not"},
    {"yet", "adv. until now; still|conj. but"},
    {"either", "det. pron. one or the other of two|conj. either ... or: introduces alternatives"},
    {"neither", "det. pron. not one nor the other of two"},
    {"both", "det. pron. the two together"},
    {"every", "det. each, all without exception"},
    {"any", "det. pron. one or some, no matter which"},
    {"another", "det. pron. one more; a different one"},
    {"such", "det. of that kind; to so great a degree"},
    {"own", "det. belonging to the person mentioned"},
    {"myself", "pron. reflexive and emphatic form of I"},
    {"yourself", "pron. reflexive and emphatic form of you"},
    {"himself", "pron. reflexive and emphatic form of he"},
    {"herself", "pron. reflexive and emphatic form of she"},
    {"itself", "pron. reflexive and emphatic form of it"},
    {"ourselves", "pron. reflexive and emphatic form of we"},
    {"yourselves", "pron. reflexive and emphatic form of you (plural)"},
    {"themselves", "pron. reflexive and emphatic form of they"},
    {"mine", "pron. the one or ones belonging to me"},
    {"yours", "pron. the one or ones belonging to you"},
    {"hers", "pron. the one or ones belonging to her"},
    {"ours", "pron. the one or ones belonging to us"},
    {"theirs", "pron. the one or ones belonging to them"},
    {"someone", "pron. some person"},
    {"somebody", "pron. some person"},
    {"something", "pron. a thing not named or known"},
    {"anyone", "pron. any person"},
    {"anybody", "pron. any person"},
    {"anything", "pron. any thing"},
    {"everyone", "pron. every person"},
    {"everybody", "pron. every person"},
    {"everything", "pron. all things"},
    {"nobody", "pron. no person"},
    {"nothing", "pron. not anything"},
    {"none", "pron. not one; not any"},
    {"among", "prep. in the middle of; between more than two"},
    {"between", "prep. in the space or time separating two things"},
    {"against", "prep. in opposition to; touching"},
    {"during", "prep. throughout; at some time in"},
    {"without", "prep. not having; not with"},
    {"within", "prep. inside; not beyond"},
    {"towards", "prep. in the direction of"},
    {"toward", "prep. towards"},
    {"upon", "prep. on"},
    {"onto", "prep. to a position on"},
    {"across", "prep. from one side to the other of"},
    {"along", "prep. from one end towards the other of"},
    {"around", "prep. on every side of; approximately"},
    {"behind", "prep. at the back of"},
    {"beside", "prep. next to"},
    {"beyond", "prep. on the far side of; more than"},
    {"despite", "prep. in spite of"},
    {"except", "prep. not including"},
    {"per", "prep. for each"},
    {"unlike", "prep. different from"},
    {"via", "prep. by way of"},
    {"amongst", "prep. among"},
    {"whilst", "conj. while"},
    {"shan't", "modal v. shall not"},
    {"can't", "modal v. cannot"},
    {"cannot", "modal v. can not"},
    {"won't", "modal v. will not"},
    {"don't", "v. do not"},
    {"doesn't", "v. does not"},
    {"didn't", "v. did not"},
    {"isn't", "v. is not"},
    {"aren't", "v. are not"},
    {"wasn't", "v. was not"},
    {"weren't", "v. were not"},
    {"haven't", "v. have not"},
    {"hasn't", "v. has not"},
    {"wouldn't", "modal v. would not"},
    {"couldn't", "modal v. could not"},
    {"shouldn't", "modal v. should not"},
    {"mustn't", "modal v. must not"},
    {"yes", "int. used to agree or accept"},
    {"hello", "int. a greeting"},
    {"please", "int. used to ask politely"},
    {"thanks", "int. thank you"},
    {"oh", "int. expresses surprise or understanding"},
};

}  // namespace

std::vector<DictEntry> functionWords() {
  std::vector<DictEntry> out;
  const double count = static_cast<double>(sizeof kWords / sizeof kWords[0]);
  double rank = 0;
  for (const Word& w : kWords) {
    DictEntry e;
    e.caption = w.word;
    std::string text = w.explain;
    size_t start = 0;
    while (true) {
      size_t bar = text.find('|', start);
      e.explainLines.push_back(
          text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    // Above every WordNet count, in list order.
    e.frequency = 100000.0 + (count - rank);
    rank += 1;
    out.push_back(std::move(e));
  }
  return out;
}

void addFunctionWords(std::vector<DictEntry>& entries) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  for (DictEntry& f : functionWords()) {
    auto it = byCaption.find(f.caption);
    if (it == byCaption.end()) {
      byCaption.emplace(f.caption, entries.size());
      entries.push_back(std::move(f));
      continue;
    }
    DictEntry& e = entries[it->second];
    // An inflected form already made from the exception lists ("is", "had") keeps its
    // own lines only when they say something the grammatical line does not.
    std::vector<std::string> lines = f.explainLines;
    for (const auto& l : e.explainLines)
      if (e.anchor < 0) lines.push_back(l);
    e.explainLines = std::move(lines);
    e.frequency = f.frequency;
    e.anchor = -1;  // ranked on its own now
  }
}

}  // namespace quorvi::dictbuild
