#include "inflections.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "function_words.h"

namespace quorvi::dictbuild {
namespace {

bool isVowelLetter(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool isPlainWord(const std::string& s) {
    return s.size() >= 2 && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

int vowelGroups(const std::string& w) {
    int groups = 0;
    bool inGroup = false;
    for (size_t i = 0; i < w.size(); ++i) {
        bool v = isVowelLetter(w[i]) || (w[i] == 'y' && i > 0);
        if (v && !inGroup) ++groups;
        inGroup = v;
    }
    // A final silent e ("make") does not make a syllable.
    if (groups > 1 && endsWith(w, "e") && !endsWith(w, "ee") && !isVowelLetter(w[w.size() - 2])) --groups;
    return groups;
}

// One-syllable words ending consonant-vowel-consonant double the consonant: stop -> stopped.
bool doublesFinal(const std::string& w) {
    if (w.size() < 3 || vowelGroups(w) != 1) return false;
    char last = w.back(), mid = w[w.size() - 2], before = w[w.size() - 3];
    if (isVowelLetter(last) || last == 'w' || last == 'x' || last == 'y') return false;
    if (!isVowelLetter(mid) || isVowelLetter(before)) return false;
    if (before == 'q' || (w.size() >= 4 && w[w.size() - 4] == 'q')) return true;  // quit -> quitting
    return true;
}

bool consonantY(const std::string& w) {
    return w.size() >= 2 && w.back() == 'y' && !isVowelLetter(w[w.size() - 2]);
}

std::string sibilantPlural(const std::string& w) {
    if (endsWith(w, "s") || endsWith(w, "x") || endsWith(w, "z") || endsWith(w, "ch") || endsWith(w, "sh"))
        return w + "es";
    if (consonantY(w)) return w.substr(0, w.size() - 1) + "ies";
    return w + "s";
}

std::string withSuffixE(const std::string& w, const std::string& suffix) {
    // suffix starts with 'e': "ed", "er", "est"
    if (endsWith(w, "e")) return w + suffix.substr(1);
    if (consonantY(w)) return w.substr(0, w.size() - 1) + "i" + suffix;
    if (doublesFinal(w)) return w + w.back() + suffix;
    return w + suffix;
}

enum class Form { Plural, ThirdPerson, Past, PastIrregular, Ing, Comparative, Superlative, Graded };

std::string label(Form f, const std::string& base) {
    switch (f) {
        case Form::Plural: return "plural of " + base;
        case Form::ThirdPerson: return "third person singular of " + base;
        case Form::Past: return "past tense and past participle of " + base;
        case Form::PastIrregular: return "past tense or past participle of " + base;
        case Form::Ing: return "present participle of " + base;
        case Form::Comparative: return "comparative of " + base;
        case Form::Superlative: return "superlative of " + base;
        case Form::Graded: return "comparative or superlative of " + base;
    }
    return base;
}

Form classifyVerbException(const std::string& form, const std::string& base) {
    if (endsWith(form, "ing")) return Form::Ing;
    if (endsWith(form, "s") && (form == base + "s" || form == base + "es" || form == "has" || form == "is"))
        return Form::ThirdPerson;
    return Form::PastIrregular;
}

Form classifyGraded(const std::string& form) {
    if (endsWith(form, "est")) return Form::Superlative;
    if (endsWith(form, "er")) return Form::Comparative;
    return Form::Graded;
}

// Forms the exception lists leave out but every learner meets.
struct FixedForm {
    const char* form;
    const char* base;
    const char* text;
};
const FixedForm kFixed[] = {
    {"am", "be", "first person singular present of be"},
    {"are", "be", "present tense of be"},
    {"is", "be", "third person singular of be"},
    {"was", "be", "past tense of be"},
    {"were", "be", "past tense of be"},
    {"been", "be", "past participle of be"},
    {"being", "be", "present participle of be"},
    {"has", "have", "third person singular of have"},
    {"had", "have", "past tense and past participle of have"},
    {"having", "have", "present participle of have"},
    {"does", "do", "third person singular of do"},
    {"did", "do", "past tense of do"},
    {"done", "do", "past participle of do"},
    {"doing", "do", "present participle of do"},
};
const std::set<std::string> kNoRegularForms = {"be", "have", "do"};

}  // namespace

std::string pluralOf(const std::string& noun) {
    // man -> men, woman -> women, fireman -> firemen; not human, German, talisman ...
    static const std::set<std::string> manPlurals = {"human", "german", "roman", "shaman", "talisman",
                                                     "caiman", "cayman", "ottoman", "dolman", "doberman"};
    if (endsWith(noun, "man") && !manPlurals.count(noun)) return noun.substr(0, noun.size() - 3) + "men";
    return sibilantPlural(noun);
}

std::string thirdPersonOf(const std::string& verb) {
    if (endsWith(verb, "o") && !endsWith(verb, "oo")) return verb + "es";  // goes, echoes
    return sibilantPlural(verb);
}

std::string pastOf(const std::string& verb) { return withSuffixE(verb, "ed"); }

std::string presentParticipleOf(const std::string& verb) {
    if (endsWith(verb, "ie")) return verb.substr(0, verb.size() - 2) + "ying";
    if (endsWith(verb, "e") && !endsWith(verb, "ee") && !endsWith(verb, "ye") && !endsWith(verb, "oe") &&
        verb.size() > 2)
        return verb.substr(0, verb.size() - 1) + "ing";
    if (doublesFinal(verb)) return verb + verb.back() + "ing";
    return verb + "ing";
}

std::string comparativeOf(const std::string& adjective) {
    int groups = vowelGroups(adjective);
    if (groups == 1 || (groups == 2 && consonantY(adjective))) return withSuffixE(adjective, "er");
    return {};
}

std::string superlativeOf(const std::string& adjective) {
    int groups = vowelGroups(adjective);
    if (groups == 1 || (groups == 2 && consonantY(adjective))) return withSuffixE(adjective, "est");
    return {};
}

size_t addInflections(WordNetData& data) {
    auto& entries = data.headwords;
    std::unordered_map<std::string, size_t> byCaption;
    for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
    const size_t lemmaCount = entries.size();
    size_t added = 0;

    auto add = [&](const std::string& form, const std::string& base, const std::string& line) {
        if (form.empty() || form == base) return;
        auto baseIt = byCaption.find(base);
        auto formIt = byCaption.find(form);
        if (formIt != byCaption.end()) {
            auto& lines = entries[formIt->second].explainLines;
            if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
            // A form made first for a less useful lemma moves next to the more useful one.
            DictEntry& e = entries[formIt->second];
            if (e.anchor >= 0 && baseIt != byCaption.end() &&
                entries[baseIt->second].frequency > entries[e.anchor].frequency) {
                e.anchor = static_cast<int>(baseIt->second);
                e.frequency = entries[baseIt->second].frequency;
            }
            return;
        }
        DictEntry e;
        e.caption = form;
        e.explainLines.push_back(line);
        if (baseIt != byCaption.end()) {
            e.anchor = static_cast<int>(baseIt->second);
            e.frequency = entries[baseIt->second].frequency;
        }
        byCaption.emplace(form, entries.size());
        entries.push_back(std::move(e));
        ++added;
    };

    // Which forms the exception lists give, so that no regular form is made beside them.
    std::set<std::pair<std::string, int>> irregular;  // (base, Form)
    for (const auto& f : kFixed) add(f.form, f.base, f.text);

    for (auto& [pos, list] : data.exceptions) {
        for (const auto& [form, bases] : list) {
            for (const std::string& base : bases) {
                Form kind = pos == 'n' ? Form::Plural
                          : pos == 'v' ? classifyVerbException(form, base)
                                       : classifyGraded(form);
                irregular.emplace(base + "#" + pos, static_cast<int>(kind));
                if (kind == Form::Graded) {
                    irregular.emplace(base + "#" + pos, static_cast<int>(Form::Comparative));
                    irregular.emplace(base + "#" + pos, static_cast<int>(Form::Superlative));
                }
                add(form, base, label(kind, base));
            }
        }
    }

    auto hasIrregular = [&](const std::string& base, char pos, Form f) {
        std::string key = base + "#" + pos;
        if (irregular.count({key, static_cast<int>(f)})) return true;
        return f == Form::Past && irregular.count({key, static_cast<int>(Form::PastIrregular)}) != 0;
    };

    // Grammatical words take no regular endings: no "iner", "allest", "ups".
    std::set<std::string> grammatical;
    for (const DictEntry& f : functionWords()) grammatical.insert(f.caption);

    for (size_t i = 0; i < lemmaCount; ++i) {
        const std::string lemma = entries[i].caption;
        if (grammatical.count(lemma)) continue;
        if (entries[i].frequency <= 0 || !isPlainWord(lemma)) continue;
        // Only the parts of speech the lemma is actually met in: no "catted" from a verb
        // sense nobody uses.
        std::string pos;
        for (char p : std::string("nva")) {
            auto it = data.posCounts.find(lemma + '#' + p);
            if (it != data.posCounts.end() && it->second >= 1) pos.push_back(p);
        }
        if (kNoRegularForms.count(lemma)) continue;
        if (pos.find('n') != std::string::npos && !hasIrregular(lemma, 'n', Form::Plural) &&
            !(endsWith(lemma, "s") && !endsWith(lemma, "ss")))
            add(pluralOf(lemma), lemma, label(Form::Plural, lemma));
        if (pos.find('v') != std::string::npos && !kNoRegularForms.count(lemma)) {
            if (!hasIrregular(lemma, 'v', Form::ThirdPerson))
                add(thirdPersonOf(lemma), lemma, label(Form::ThirdPerson, lemma));
            if (!hasIrregular(lemma, 'v', Form::Past)) add(pastOf(lemma), lemma, label(Form::Past, lemma));
            if (!hasIrregular(lemma, 'v', Form::Ing))
                add(presentParticipleOf(lemma), lemma, label(Form::Ing, lemma));
        }
        // Ordinals and compass points are not compared: no "fourthest", "southest".
        if (pos.find('a') != std::string::npos && !(endsWith(lemma, "th") && lemma != "smooth")) {
            if (!hasIrregular(lemma, 'a', Form::Comparative))
                add(comparativeOf(lemma), lemma, label(Form::Comparative, lemma));
            if (!hasIrregular(lemma, 'a', Form::Superlative))
                add(superlativeOf(lemma), lemma, label(Form::Superlative, lemma));
        }
    }
    return added;
}

}  // namespace quorvi::dictbuild
