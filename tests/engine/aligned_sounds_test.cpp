#include "engine/aligned_sounds.h"

#include <gtest/gtest.h>

#include <QString>

#include "engine/sound_alignment.h"
#include "engine/sound_code.h"

namespace {

using sound::AlignedSound;
using Kind = AlignedSound::Kind;

std::string codes(const char* utf8) {
  return sound::fromSymbols(QString::fromUtf8(utf8).toStdU16String());
}

std::string describe(const std::vector<AlignedSound>& steps) {
  std::string text;
  for (const AlignedSound& s : steps) {
    const char* mark = s.kind == Kind::Same      ? "="
                       : s.kind == Kind::HeardAs ? "~"
                       : s.kind == Kind::Added   ? "+"
                       : s.kind == Kind::Unheard ? "-"
                                                 : ".";
    text += s.stored + mark + s.typed + " ";
  }
  return text;
}

}  // namespace

// Each kind of slip shows as the learner made it: a sound heard as another, a typed sound the
// word lacks, a sound of the word not heard, and the sounds after the last one typed.
TEST(AlignedSounds, ShowEachSlipWhereTheLearnerMadeIt) {
  EXPECT_EQ(describe(sound::alignSounds(codes("siŋk"), codes("ˈθiŋk"))), "θ~s i=i ŋ=ŋ k=k ");
  EXPECT_EQ(describe(sound::alignSounds(codes("wɛri"), codes("ˈveri"))), "v~w e=ɛ r=r i=i ");
  EXPECT_EQ(describe(sound::alignSounds(codes("kæ"), codes("kæt"))), "k=k æ=æ t. ");
  EXPECT_EQ(describe(sound::alignSounds(codes("fi:lim"), codes("film"))), "f=f i=iː l=l +i m=m ");
  EXPECT_EQ(describe(sound::alignSounds(codes("plis"), codes("pəˈliːs"))), "p=p ə- l=l iː=i s=s ");
  EXPECT_EQ(describe(sound::alignSounds(codes("tʃeindʒ"), codes("tʃeindʒ"))),
            "tʃ=tʃ ei=ei n=n dʒ=dʒ ");
  EXPECT_TRUE(sound::alignSounds(codes(""), codes("kæt")).empty());
  EXPECT_TRUE(sound::alignSounds(codes("kæt"), codes("ˈ")).empty());
}

// The costs along the alignment add up to what the search weighs for the same row.
TEST(AlignedSounds, CostsAddUpToTheSearchsWeight) {
  // One typed sound is weighed by a path of its own: against rows that hold it first, last,
  // twice, in a cluster, as another length, or not at all.
  const char* typed[] = {"kæt", "θɔ:t", "ləndən", "igzɑ:mpl", "s",    "t",
                         "i:",  "ə",    "ŋ",      "beisbɔ:l", "nju:ə"};
  const char* rows[] = {"ˈkæt",   "ˈθɔːt",        "ˈlʌndən",   "igˈzɑːmpl", "ˈsʌmθiŋ", "ˈbeisbɔːl",
                        "ˈnjuːə", "ˌæbsəˈluːtli", "kəˈlekʃən", "ˈstrɔŋ",    "tiːt",    "ˈsiti",
                        "ə",      "ˈstrenθs"};
  for (const char* t : typed) {
    const sound::TypedSounds sounds(codes(t));
    for (const char* r : rows) {
      int sum = 0;
      for (const AlignedSound& s : sound::alignSounds(codes(t), codes(r))) sum += s.cost;
      std::uint8_t row[sound::TypedSounds::kMaxRow];
      const std::size_t n = sound::tokenize(codes(r), row, sound::TypedSounds::kMaxRow);
      EXPECT_EQ(sum, sounds.weigh(row, n, sound::TypedSounds::kFar, sound::TypedSounds::kFar).cost)
          << t << " / " << r;
    }
  }
}
