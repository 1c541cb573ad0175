#include "ecdict_source.h"

#include <algorithm>
#include <cstdlib>

#include "chinese_line.h"
#include "ecdict_importer.h"
#include "import_common.h"
#include "line_reader.h"
#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

// Lines that only say which form of another word this one is: the form's own label says so.
const std::string_view kFormNotes[] = {"的过去式",   "的过去分词", "的现在分词", "的复数",
                                       "的第三人称", "的比较级",   "的最高级",   "的现在时",
                                       "的现在式",   "的过去时"};

// Chinese words that are vulgar or slurs: never on a sense that is not.
const std::string_view kVulgarChinese[] = {
    "杂种", "狗日", "奶子", "他妈", "妈的", "屄",   "屌",   "鸡巴", "婊子", "王八蛋",
    "狗娘", "贱货", "贱人", "傻逼", "混帐", "混账", "操你", "肏",   "日你", "龟孙",
    "黑鬼", "支那", "鬼子", "娘炮", "骚货", "淫妇", "狗屎", "屁眼"};
// The body's words: the meaning of testicle, slang of balls. The first sense of a translation
// keeps them, a later one (the slang of an ordinary word) does not.
const std::string_view kBodyChinese[] = {"睾丸", "阴茎", "阴户", "乳头"};

// Bracketed marks of usage rather than of a special field: the sense stays.
const std::string_view kUsageMarks[] = {"口",   "俚",   "美",     "英",      "古", "诗",     "方",
                                        "旧",   "罕",   "书",     "喻",      "谑", "废",     "婉",
                                        "儿",   "俗",   "苏格兰", "澳",      "加", "爱尔兰", "口语",
                                        "俚语", "美口", "英口",   "诗歌用语"};
// Marks of a vulgar or offensive use.
const std::string_view kVulgarMarks[] = {"粗", "侮", "贬", "鄙", "卑", "粗俗", "侮辱", "贬义"};

struct Level {
  const char* tag;
  const char* chinese;
};
const Level kExamLists[] = {{"zk", "中考"}, {"gk", "高考"},    {"cet4", "四级"},  {"cet6", "六级"},
                            {"ky", "考研"}, {"ielts", "雅思"}, {"toefl", "托福"}, {"gre", "GRE"}};
const char kOxford[] = "牛津3000";
const char kCollins[] = "柯林斯";
const char kStar[] = "★";
const char kLevelSeparator[] = " · ";

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

long parseNumber(const std::string& s) {
  if (s.empty()) return 0;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  return (end && *end == '\0' && v > 0) ? v : 0;
}

bool holdsHan(std::string_view text) {
  const auto decoded = decodeUtf8(text);
  return decoded && std::any_of(decoded->begin(), decoded->end(), isHanCharacter);
}

// The part of speech a line opens with ("vt. ", "pron. & a. "), as written, and the rest.
struct PosSplit {
  std::string pos;  // normalised: "adj." for "a.", "interj." for "int.", "n." for "pl."
  char kind = 0;    // 'n', 'v', 'a', 'r' or 0
  std::string_view rest;
};

PosSplit splitPos(std::string_view line) {
  PosSplit out;
  out.rest = line;
  size_t i = 0;
  while (i < line.size() && line[i] >= 'a' && line[i] <= 'z') ++i;
  if (i == 0 || i > 6 || i >= line.size() || line[i] != '.') return out;
  std::string word(line.substr(0, i));
  size_t next = i + 1;
  // "pron. & a." names two; the first counts.
  std::string_view after = trim(line.substr(next));
  if (after.size() > 1 && after[0] == '&') {
    std::string_view second = trim(after.substr(1));
    size_t j = 0;
    while (j < second.size() && second[j] >= 'a' && second[j] <= 'z') ++j;
    if (j > 0 && j < second.size() && second[j] == '.') after = trim(second.substr(j + 1));
  }
  if (word == "a" || word == "adj" || word == "s")
    out.pos = "adj.", out.kind = 'a';
  else if (word == "adv" || word == "ad")
    out.pos = "adv.", out.kind = 'r';
  else if (word == "n" || word == "pl")
    out.pos = "n.", out.kind = 'n';
  else if (word == "v" || word == "vt" || word == "vi" || word == "aux")
    out.pos = word + ".", out.kind = 'v';
  else if (word == "int" || word == "interj")
    out.pos = "interj.", out.kind = 'i';
  else if (word == "pron")
    out.pos = "pron.", out.kind = 'p';
  else if (word == "prep")
    out.pos = "prep.", out.kind = 'e';
  else if (word == "conj")
    out.pos = "conj.", out.kind = 'c';
  else if (word == "art" || word == "det")
    out.pos = word + ".", out.kind = 'd';
  else
    out.pos = word + ".";
  out.rest = after;
  return out;
}

// Splits at commas and semicolons outside brackets.
std::vector<std::string_view> splitItems(std::string_view text) {
  std::vector<std::string_view> items;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    auto at = [&](std::string_view s) { return text.substr(i, s.size()) == s; };
    size_t sepLength = 0;
    if (c == '(' || c == '[' || c == '<') {
      ++depth;
    } else if (c == ')' || c == ']' || c == '>') {
      if (depth > 0) --depth;
    } else if (at("（") || at("【") || at("〔") || at("《")) {
      ++depth;
    } else if (at("）") || at("】") || at("〕") || at("》")) {
      if (depth > 0) --depth;
    } else if (depth == 0 && (c == ',' || c == ';')) {
      sepLength = 1;
    } else if (depth == 0 && (at("，") || at("；"))) {
      sepLength = 3;
    }
    if (sepLength > 0) {
      items.push_back(text.substr(start, i - start));
      i += sepLength;
      start = i;
      continue;
    }
    i += c < 0x80 ? 1 : (c >= 0xF0 ? 4 : (c >= 0xE0 ? 3 : 2));
  }
  items.push_back(text.substr(start));
  return items;
}

enum class Mark { None, Usage, Vulgar, Field };

Mark markOf(std::string_view tag) {
  for (std::string_view m : kVulgarMarks)
    if (tag == m) return Mark::Vulgar;
  for (std::string_view m : kUsageMarks)
    if (tag == m) return Mark::Usage;
  return Mark::Field;
}

// Takes the bracketed marks off the front of an item ("[医] 混合", "〔美〕..."), telling the
// strongest of them.
Mark takeMarks(std::string_view& item) {
  Mark strongest = Mark::None;
  while (true) {
    item = trim(item);
    std::string_view open, close;
    if (item.substr(0, 1) == "[")
      open = "[", close = "]";
    else if (item.substr(0, 3) == "〔")
      open = "〔", close = "〕";
    else if (item.substr(0, 3) == "【")
      open = "【", close = "】";
    else
      return strongest;
    const size_t end = item.find(close);
    if (end == std::string_view::npos) return strongest;
    const Mark m = markOf(trim(item.substr(open.size(), end - open.size())));
    if (m > strongest) strongest = m;
    item.remove_prefix(end + close.size());
  }
}

// An item as the window shows it: no markup characters, no control characters.
std::string plainItem(std::string_view item) {
  std::string out;
  for (size_t i = 0; i < item.size(); ++i) {
    const char c = item[i];
    // A semicolon inside brackets would split the word in two on the line.
    if (item.substr(i, 3) == "；") {
      out += "，";
      i += 2;
    } else if (c == ';') {
      out += "，";
    } else if (c == '<')
      out += "〈";
    else if (c == '>')
      out += "〉";
    else if (c == '&')
      out += "＆";
    else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
      out += c;
  }
  return std::string(trim(out));
}

struct ParsedLine {
  std::string text;
  char kind = 0;
  int group = 0;       // 0 general, 1 special field, 2 web gloss
  bool other = false;  // a title, acronym or element, not a sense of the word's own
};

// Some translations end their lines with the escape "\\r\\n" (or a real "\r"): lines are
// split at "\\n", so a carriage return would stay at the end of a Chinese line.
std::string withoutCarriageReturns(std::string text) {
  for (size_t at = text.find("\\r"); at != std::string::npos; at = text.find("\\r", at))
    text.erase(at, 2);
  std::erase(text, '\r');
  return text;
}

}  // namespace

char partOfSpeechOf(std::string_view line) {
  if (line.substr(0, 6) == "modal ") line.remove_prefix(6);
  return splitPos(line).kind;
}

std::string formNote(std::string_view translation, std::string& lemma) {
  size_t start = 0;
  while (start < translation.size()) {
    size_t end = translation.find("\\n", start);
    const size_t newline = translation.find('\n', start);
    size_t step = 2;
    if (end == std::string_view::npos || newline < end) end = newline, step = 1;
    if (end == std::string_view::npos) end = translation.size();
    const std::string_view line = trim(translation.substr(start, end - start));
    start = end + step;
    for (std::string_view note : kFormNotes) {
      const size_t at = line.find(note);
      if (at == std::string_view::npos || at == 0) continue;
      const std::string_view word = trim(line.substr(0, at));
      if (!std::all_of(word.begin(), word.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '-';
          }))
        continue;
      std::string text = plainItem(line);
      if (!isValidUtf8(text) || text.find("；") != std::string::npos) continue;
      lemma = std::string(word);
      return text;
    }
  }
  return {};
}

bool EcdictWord::isLearnerWord() const {
  return frq > 0 || bnc > 0 || !tag.empty() || collins > 0 || oxford;
}

const EcdictWord* EcdictData::find(const std::string& word) const {
  auto it = words_.find(word);
  return it == words_.end() ? nullptr : &it->second;
}

bool loadEcdictData(const std::string& path, EcdictData& data, std::string& error,
                    size_t* skippedRecords) {
  LineReader reader(path, kMaxRecordBytes);
  if (!reader.isOpen()) {
    error = "cannot read " + path;
    return false;
  }
  std::vector<std::string> fields;
  int word = -1, translation = -1, definition = -1, collins = -1, oxford = -1, tag = -1, bnc = -1,
      frq = -1, exchange = -1;
  size_t columns = 0, skipped = 0;
  bool header = true;
  std::string recordError;
  while (true) {
    recordError.clear();
    if (!readCsvRecord(reader, fields, recordError)) break;
    if (header) {
      if (!recordError.empty()) {
        error = path + ":1: " + recordError;
        return false;
      }
      for (size_t i = 0; i < fields.size(); ++i) {
        const int c = static_cast<int>(i);
        const std::string& h = fields[i];
        if (h == "word") word = c;
        if (h == "translation") translation = c;
        if (h == "definition") definition = c;
        if (h == "collins") collins = c;
        if (h == "oxford") oxford = c;
        if (h == "tag") tag = c;
        if (h == "bnc") bnc = c;
        if (h == "frq") frq = c;
        if (h == "exchange") exchange = c;
      }
      if (word < 0 || translation < 0) {
        error = path + ":1: the header names no word and translation columns";
        return false;
      }
      columns = fields.size();
      header = false;
      continue;
    }
    if (!recordError.empty() || fields.size() != columns) {
      ++skipped;
      if (reader.tooLong()) break;
      continue;
    }
    auto col = [&](int c) -> std::string& {
      static std::string empty;
      empty.clear();
      return c >= 0 ? fields[static_cast<size_t>(c)] : empty;
    };
    std::string caption(trim(col(word)));
    if (caption.empty() || caption.size() > kMaxCaptionBytes || col(translation).empty()) continue;
    EcdictWord w;
    w.translation = withoutCarriageReturns(std::move(col(translation)));
    w.definition = std::move(col(definition));
    w.tag = std::move(col(tag));
    w.exchange = std::move(col(exchange));
    w.bnc = parseNumber(col(bnc));
    w.frq = parseNumber(col(frq));
    w.collins = static_cast<int>(std::min(5L, parseNumber(col(collins))));
    w.oxford = parseNumber(col(oxford)) > 0;
    data.add(std::move(caption), std::move(w));
  }
  if (header) {
    error = path + ":1: the file is empty (no header line)";
    return false;
  }
  if (skippedRecords) *skippedRecords = skipped;
  return true;
}

std::vector<std::string> exchangeValues(std::string_view exchange, char code) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < exchange.size()) {
    size_t end = exchange.find('/', start);
    if (end == std::string_view::npos) end = exchange.size();
    const std::string_view part = exchange.substr(start, end - start);
    if (part.size() > 2 && part[0] == code && part[1] == ':') out.emplace_back(part.substr(2));
    start = end + 1;
  }
  return out;
}

bool holdsFormNote(std::string_view text) {
  return std::any_of(std::begin(kFormNotes), std::end(kFormNotes),
                     [&](std::string_view n) { return contains(text, n); });
}

// `line` without the bracketed notes that say which form of which word it is.
std::string withoutBracketedFormNotes(std::string_view line) {
  std::string out;
  size_t from = 0;
  while (from < line.size()) {
    size_t open = std::string_view::npos, openSize = 0;
    std::string_view close;
    for (const auto& [o, c] :
         {std::pair<std::string_view, std::string_view>{"(", ")"}, {"（", "）"}})
      if (const size_t at = line.find(o, from); at < open)
        open = at, openSize = o.size(), close = c;
    const size_t end = open == std::string_view::npos ? open : line.find(close, open + openSize);
    if (end == std::string_view::npos) break;
    const std::string_view note = line.substr(open, end + close.size() - open);
    out.append(line.substr(from, open - from));
    if (!holdsFormNote(note)) out.append(note);
    from = end + close.size();
  }
  if (from < line.size()) out.append(line.substr(from));
  return out;
}

namespace {

// The lines of a translation, split at its newlines (real or escaped). A line indented by more
// than a space, or opening with a conjunction (且, 而且, 并且, 以及), goes on with the sentence
// the source broke ("……装入高内存区\\n且允许其设备驱动程序……"): it is joined to the line before.
std::vector<std::string> translationLines(std::string_view translation) {
  static constexpr std::string_view kGoingOn[] = {"且", "而且", "并且", "以及"};
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= translation.size()) {
    size_t end = translation.size();
    size_t next = end + 1;
    for (size_t i = start; i < translation.size(); ++i) {
      if (translation[i] == '\n') {
        end = i, next = i + 1;
        break;
      }
      if (translation[i] == '\\' && i + 1 < translation.size() && translation[i + 1] == 'n') {
        end = i, next = i + 2;
        break;
      }
    }
    const std::string_view line = translation.substr(start, end - start);
    start = next;
    const bool goesOn = !lines.empty() && !trim(line).empty() &&
                        (line.starts_with("  ") ||
                         std::any_of(std::begin(kGoingOn), std::end(kGoingOn),
                                     [&](std::string_view w) { return line.starts_with(w); }));
    if (goesOn)
      lines.back() += trim(line);
    else
      lines.emplace_back(line);
  }
  return lines;
}

}  // namespace

bool holdsVulgarChinese(std::string_view text) {
  return std::any_of(std::begin(kVulgarChinese), std::end(kVulgarChinese),
                     [&](std::string_view w) { return contains(text, w); });
}

std::vector<std::string> ecdictChineseLines(std::string_view translation, char commonest,
                                            bool vulgarWord, bool* special,
                                            std::string* crossReference, bool asForm) {
  std::vector<ParsedLine> parsed;
  bool formNoted = false;
  for (const std::string& joined : translationLines(translation)) {
    std::string_view raw = trim(joined);
    if (raw.empty() || !isValidUtf8(joined)) continue;
    // A form note in brackets beside senses of the word's own ("(biker 的复数) n. 骑自行车的人",
    // "小鸡鸡（儿童用语, willy的复数）") leaves them; a line that is the note is no sense.
    const std::string senses = withoutBracketedFormNotes(raw);
    if (senses.size() != raw.size() && !asForm) {
      formNoted = true;
      raw = trim(senses);
    }
    if (raw.empty() || holdsFormNote(raw)) {
      formNoted = true;
      continue;
    }
    ParsedLine line;
    std::string_view body = raw;
    if (body.substr(0, 8) == "[网络]") {
      line.group = 2;
      body.remove_prefix(8);
    }
    const PosSplit pos = splitPos(trim(body));
    line.kind = pos.kind;
    // A mark of a special field before the first sense holds for the whole line.
    std::string_view rest = pos.rest;
    const Mark lineMark = takeMarks(rest);
    std::vector<std::string> items;
    bool firstItem = true;
    // A note that names a title names it in each of the words before it ("销声匿迹, 无影无踪（美国
    // 电视连续剧剧名）"): none of them is the word's own sense. A word after it, or with a note of
    // its own, is ("鲁格尔(德国造半自动手枪的商标名)；鲁格尔手枪",
    // "艾丽卡（电影名）；厄勒克特拉（希腊 神话中的人物）").
    const std::vector<std::string_view> lineItems = splitItems(pos.rest);
    std::vector<bool> titled(lineItems.size(), false);
    bool covered = false;
    for (size_t i = lineItems.size(); i-- > 0;) {
      const std::string text = plainItem(lineItems[i]);
      if (otherSenseOfItem(text) == OtherSense::Title)
        covered = true;
      else if (text.find("（") != std::string::npos || text.find('(') != std::string::npos)
        covered = false;
      titled[i] = covered;
    }
    for (size_t at = 0; at < lineItems.size(); ++at) {
      std::string_view item = lineItems[at];
      Mark mark = takeMarks(item);
      if (lineMark == Mark::Field && !firstItem && mark == Mark::None) mark = Mark::Field;
      firstItem = false;
      std::string text = plainItem(item);
      if (text.empty() || !holdsHan(text)) continue;
      // A pointer to another headword is no Chinese; titles, acronyms and elements go last
      // like the senses of special fields.
      const OtherSense other = pos.pos == "abbr." ? OtherSense::Acronym : otherSenseOfItem(text);
      if (other == OtherSense::CrossReference) {
        if (crossReference && crossReference->empty()) *crossReference = crossReferenceTarget(text);
        continue;
      }
      if (other != OtherSense::None || titled[at]) mark = Mark::Field;
      const bool mainSense = parsed.empty() && items.empty();
      const bool bodyWord = std::any_of(std::begin(kBodyChinese), std::end(kBodyChinese),
                                        [&](std::string_view w) { return contains(text, w); });
      if (holdsVulgarChinese(text) || mark == Mark::Vulgar || (bodyWord && !mainSense)) {
        if (!vulgarWord) continue;
        text += "（粗俗）";
      }
      if (mark == Mark::Field && line.group == 0) {
        // Senses of a special field go last: kept only when nothing else is there.
        ParsedLine field;
        field.kind = pos.kind;
        field.group = 1;
        field.other = other != OtherSense::None || titled[at];
        field.text = (pos.pos.empty() ? "" : pos.pos + " ") + text;
        parsed.push_back(std::move(field));
        continue;
      }
      if (std::find(items.begin(), items.end(), text) == items.end()) items.push_back(text);
    }
    if (items.empty()) continue;
    if (items.size() > kMostChineseWords) items.resize(kMostChineseWords);
    line.text = (pos.pos.empty() ? "" : pos.pos + " ") + chineseLine(items);
    parsed.push_back(std::move(line));
  }
  int best = 2;
  for (const ParsedLine& l : parsed) best = std::min(best, l.group);
  // A form's special senses ("is": 信息系统) are no Chinese for it: its lemma's are.
  if (formNoted && best > 0) return {};
  if (special) *special = best > 0;
  std::vector<ParsedLine> kept;
  for (ParsedLine& l : parsed)
    if (l.group == best) kept.push_back(std::move(l));
  if (best == 1) {
    // Only senses of special fields: one line of at most four of them, without their mark, a
    // title, acronym or element after the word's own ("[天] 厄勒克特拉（希腊神话中的人物）" before
    // "艾丽卡（电影名）").
    std::stable_partition(kept.begin(), kept.end(), [](const ParsedLine& l) { return !l.other; });
    std::vector<std::string> words;
    for (ParsedLine& l : kept) {
      std::string_view t = l.text;
      if (const PosSplit p = splitPos(t); !p.pos.empty()) t = p.rest;
      if (words.size() < kMostChineseWords &&
          std::find(words.begin(), words.end(), t) == words.end())
        words.emplace_back(t);
    }
    kept.clear();
    kept.push_back({chineseLine(words), 0, 1});
  }
  if (commonest != 0)
    std::stable_partition(kept.begin(), kept.end(),
                          [&](const ParsedLine& l) { return l.kind == commonest; });
  std::vector<std::string> out;
  for (ParsedLine& l : kept)
    if (std::find(out.begin(), out.end(), l.text) == out.end()) out.push_back(std::move(l.text));
  if (out.size() > 4) out.resize(4);
  return out;
}

std::string learnerLevelsLine(const EcdictWord& word) {
  std::string lists;
  for (const Level& level : kExamLists) {
    bool listed = false;
    size_t start = 0;
    while (start < word.tag.size()) {
      size_t end = word.tag.find(' ', start);
      if (end == std::string::npos) end = word.tag.size();
      if (word.tag.compare(start, end - start, level.tag) == 0) listed = true;
      start = end + 1;
    }
    if (!listed) continue;
    if (!lists.empty()) lists += ' ';
    lists += level.chinese;
  }
  std::string out = lists;
  auto part = [&](const std::string& p) {
    if (!out.empty()) out += kLevelSeparator;
    out += p;
  };
  if (word.oxford) part(kOxford);
  if (word.collins > 0) {
    std::string stars = kCollins;
    for (int i = 0; i < word.collins; ++i) stars += kStar;
    part(stars);
  }
  return out;
}

double learnerLevelWeight(const EcdictWord& word) {
  size_t lists = 0;
  for (const Level& level : kExamLists)
    if (contains(word.tag, level.tag)) ++lists;
  return 1.0 + 0.1 * static_cast<double>(lists) + (word.oxford ? 0.5 : 0.0) + 0.1 * word.collins;
}

bool looksLikeLearnerLevels(std::string_view line) {
  // "柯林斯；科林斯" is the Chinese of Collins, not its stars.
  const std::string collinsStar = std::string(kCollins) + kStar;
  if (line.substr(0, collinsStar.size()) == collinsStar) return true;
  const std::string_view oxford = kOxford;
  if (line.substr(0, oxford.size()) == oxford &&
      (line.size() == oxford.size() || line[oxford.size()] == ' '))
    return true;
  return std::any_of(std::begin(kExamLists), std::end(kExamLists), [&](const Level& l) {
    const std::string_view name = l.chinese;
    return line.substr(0, name.size()) == name &&
           (line.size() == name.size() || line[name.size()] == ' ');
  });
}

bool isLearnerLevelsLine(std::string_view line) {
  if (line.empty()) return false;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    const std::string_view token = line.substr(start, end - start);
    start = end + 1;
    if (token == "·" || token == kOxford) continue;
    if (token.substr(0, std::string_view(kCollins).size()) == kCollins) {
      std::string_view stars = token.substr(std::string_view(kCollins).size());
      size_t count = 0;
      while (stars.substr(0, std::string_view(kStar).size()) == kStar) {
        stars.remove_prefix(std::string_view(kStar).size());
        ++count;
      }
      if (!stars.empty() || count < 1 || count > 5) return false;
      continue;
    }
    if (std::none_of(std::begin(kExamLists), std::end(kExamLists),
                     [&](const Level& l) { return token == l.chinese; }))
      return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
