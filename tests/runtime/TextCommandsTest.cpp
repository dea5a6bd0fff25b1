#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/Commands.h"

namespace qx {
namespace {

using test::TakeText;
using test::TakeTextArray;
using test::Text;

std::string Call(CommandFn f, std::vector<TaggedValue> args) {
  return TakeText(CallCommand(f, static_cast<int32_t>(args.size()), args.data()));
}

TEST(TextLengthAndLeftText, CountBytesNotCharacters) {
  TaggedValue a[] = {Text("题目ab")};
  EXPECT_EQ(6, static_cast<int32_t>(CallCommand(TextLength, 1, a).lo));
  EXPECT_EQ("", Call(LeftText, {Text("abc"), MakeInt(0)}));
  EXPECT_EQ("", Call(LeftText, {Text("abc"), MakeInt(-2)}));
  EXPECT_EQ("abc", Call(LeftText, {Text("abc"), MakeInt(99)}));
  EXPECT_EQ("ab", Call(LeftText, {Text("abc"), MakeDouble(2.9)}));  // truncated
  // A cut inside a two-byte character keeps its lead byte.
  EXPECT_EQ("\xCC", Call(LeftText, {Text("题"), MakeInt(1)}));
  EXPECT_EQ(nullptr, ValueText(CallCommand(LeftText, 0, nullptr)));
}

TEST(CharFromCode, OneByteAndZeroGivesEmpty) {
  EXPECT_EQ("A", Call(CharFromCode, {MakeByte(65)}));
  EXPECT_EQ("[", Call(CharFromCode, {MakeInt(91)}));
  EXPECT_EQ("A", Call(CharFromCode, {MakeInt(256 + 65)}));  // low 8 bits
  TaggedValue zero[] = {MakeInt(0)};
  EXPECT_EQ(nullptr, ValueText(CallCommand(CharFromCode, 1, zero)));
}

TEST(ToText, DoublesUseThirteenSignificantDigits) {
  EXPECT_EQ("0", Call(ToText, {MakeDouble(0.0)}));
  EXPECT_EQ("12", Call(ToText, {MakeDouble(12.0)}));
  EXPECT_EQ("0.5", Call(ToText, {MakeDouble(0.5)}));
  EXPECT_EQ("0.3333333333333", Call(ToText, {MakeDouble(1.0 / 3)}));
  EXPECT_EQ("1e+15", Call(ToText, {MakeDouble(1e15)}));
  EXPECT_EQ("-42", Call(ToText, {MakeInt(-42)}));
  EXPECT_EQ("文字", Call(ToText, {Text("文字")}));
}

// Date-times are days from 1899-12-30, the fraction the time of day.
TEST(ToText, DateTimesGiveTheDateAndTheTimeUnlessItIsMidnight) {
  auto date = [](double days) {
    TaggedValue v = MakeDouble(days);
    v.tag = kTagDateTime;
    return Call(ToText, {v});
  };
  EXPECT_EQ("2023年3月15日", date(45000));
  EXPECT_EQ("2023年3月15日12时0分0秒", date(45000.5));
  EXPECT_EQ("1899年12月30日", date(0));
  EXPECT_EQ("2000年2月29日23时59分59秒", date(36585 + 86399.0 / 86400));
  // Before the first day the time still runs forward from midnight.
  EXPECT_EQ("1899年12月29日6时0分0秒", date(-1.25));
  // Rounded to the second, up to the next day's midnight.
  EXPECT_EQ("2000年1月1日", date(36526 - 0.1 / 86400));
  EXPECT_EQ("1年1月1日", date(-693593));
  EXPECT_EQ("", date(1e9));
  EXPECT_EQ("", date(std::nan("")));
}

TEST(ToByteSet, TextBecomesItsBytesWithoutTerminator) {
  TaggedValue a[] = {Text("中a")};
  TaggedValue r = CallCommand(ToByteSet, 1, a);
  void* b = ValuePointer(r);
  ASSERT_EQ(3, ByteSetLength(b));
  EXPECT_EQ(0, memcmp(ByteSetBytes(b), "中a", 3));
  EXPECT_EQ(1, static_cast<int32_t*>(b)[0]);
  FreeMemory(b);
  TaggedValue empty[] = {Text(nullptr)};
  EXPECT_EQ(nullptr, ValuePointer(CallCommand(ToByteSet, 1, empty)));
}

std::string Replace(const char* text, const char* search, const char* repl,
                    TaggedValue start = Omitted(), TaggedValue count = Omitted(),
                    TaggedValue caseSensitive = MakeBool(true)) {
  return Call(ReplaceText, {Text(text), Text(search), repl ? Text(repl) : Omitted(), start,
                            count, caseSensitive});
}

TEST(ReplaceText, MatchesDoNotOverlapAndReplacementIsNotRescanned) {
  EXPECT_EQ("ba", Replace("aaa", "aa", "b"));
  EXPECT_EQ("【【单选题】】", Replace("【单选题】", "单选题", "【单选题】"));
  EXPECT_EQ("xaxxax", Replace("aa", "a", "xax"));
}

TEST(ReplaceText, NothingToDoReturnsACopy) {
  EXPECT_EQ("abc", Replace("abc", "", "x"));
  EXPECT_EQ("", Replace("", "a", "x"));
  EXPECT_EQ("abc", Replace("abc", "a", "x", MakeInt(4)));
  EXPECT_EQ("abc", Replace("abc", "a", "x", Omitted(), MakeInt(0)));
  EXPECT_EQ("bc", Replace("abc", "a", nullptr));  // replacement omitted: delete
}

TEST(ReplaceText, StartIsOneBasedAndCountLimits) {
  EXPECT_EQ("aXXaa", Replace("aaaaa", "a", "X", MakeInt(2), MakeInt(2)));
  EXPECT_EQ("XXXXX", Replace("aaaaa", "a", "X", MakeInt(-7)));
  EXPECT_EQ("XXX", Replace("aaa", "a", "X", Omitted(), MakeInt(-5)));  // negative: no limit
}

TEST(ReplaceText, CaseInsensitiveOnlyForAsciiLettersAndDefaultIsInsensitive) {
  EXPECT_EQ("x-x", Replace("Ab-aB", "ab", "x", Omitted(), Omitted(), Omitted()));
  EXPECT_EQ("Ab-aB", Replace("Ab-aB", "ab", "x"));
  EXPECT_EQ("x", Replace("[", "[", "x", Omitted(), Omitted(), MakeBool(false)));
  EXPECT_EQ("{", Replace("{", "[", "x", Omitted(), Omitted(), MakeBool(false)));
}

TEST(ReplaceText, NeverMatchesAcrossTwoByteCharacters) {
  // 啊啊 is B0 A1 B0 A1: the pair A1 B0 straddles the two characters.
  EXPECT_EQ("啊啊", Replace("啊啊", "\xA1\xB0", "X"));
  // An ASCII-range trail byte (@ = 0x40 in 丂, 81 40) is not a character.
  EXPECT_EQ("丂", Replace("丂", "@", "X"));
  EXPECT_EQ("a丂X", Replace("a丂@", "@", "X"));
}

TEST(ReplaceText, StrayLeadByteAtTheEndIsDropped) {
  EXPECT_EQ("Xb", Replace("ab\xB0", "a", "X"));
  EXPECT_EQ("Xb\xB0", Replace("ab\xB0", "a", "X", Omitted(), MakeInt(1)));
}

TEST(SplitText, EdgesOfTheSeparator) {
  auto split = [](const char* text, TaggedValue sep, TaggedValue max = Omitted()) {
    TaggedValue a[] = {Text(text), sep, max};
    return TakeTextArray(ValuePointer(CallCommand(SplitText, 3, a)));
  };
  using V = std::vector<std::string>;
  EXPECT_EQ((V{"a", "b", "c"}), split("a\\b\\c", Text("\\")));
  EXPECT_EQ((V{"a", "b"}), split("a\\b\\", Text("\\")));
  EXPECT_EQ((V{"", "a"}), split("\\a", Text("\\")));
  EXPECT_EQ((V{"a", "", "b"}), split("a\\\\b", Text("\\")));
  EXPECT_EQ(V{}, split("", Text("\\")));
  EXPECT_EQ((V{"x", "y"}), split("x,y", Omitted()));
  EXPECT_EQ(V{"a,b"}, split("a,b", Text("")));
  EXPECT_EQ((V{"a"}), split("a,b,c", Omitted(), MakeInt(1)));
  EXPECT_EQ(V{}, split("a,b,c", Omitted(), MakeInt(-3)));
  EXPECT_EQ((V{"D:", "题库", "第一章.xls"}), split("D:\\题库\\第一章.xls", Text("\\")));
  // A backslash that is the trail byte of a two-byte character is part of
  // that character, not a separator.
  EXPECT_EQ((V{"\x81\x5C" "a", "b"}), split("\x81\x5C" "a\\b", Text("\\")));
}

// Independent models, written the slow obvious way over std::string and
// character boundaries, to compare against on many generated GBK texts.
// 0x81..0xFE begin a two-byte character; 0x80 (the euro sign) and 0xFF
// stand alone.
bool ModelLead(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

std::string ModelReplace(const std::string& t, const std::string& s, const std::string& r) {
  if (t.empty() || s.empty()) return t;
  std::vector<size_t> starts;  // character starts
  for (size_t i = 0; i < t.size();) {
    starts.push_back(i);
    i += (ModelLead(t[i]) && i + 1 < t.size()) ? 2 : 1;
  }
  std::string out;
  size_t i = 0;
  while (i < t.size()) {
    if (t.compare(i, s.size(), s) == 0 && i + s.size() <= t.size()) {
      out += r;
      i += s.size();
      continue;
    }
    bool lead = ModelLead(t[i]);
    if (t.size() - i < s.size()) {
      out += t.substr(i);
      break;
    }
    if (lead && i + 1 >= t.size()) break;  // a stray final lead byte is dropped
    size_t n = lead ? 2 : 1;
    out += t.substr(i, n);
    i += n;
  }
  return out;
}

std::vector<std::string> ModelSplit(const std::string& t, const std::string& sep) {
  std::vector<std::string> out;
  if (t.empty()) return out;
  std::string cur;
  size_t i = 0;
  while (i < t.size()) {
    if (t.size() - i >= sep.size() && t.compare(i, sep.size(), sep) == 0) {
      out.push_back(cur);
      cur.clear();
      i += sep.size();
      continue;
    }
    if (t.size() - i < sep.size()) {
      cur += t.substr(i);
      break;
    }
    bool lead = ModelLead(t[i]);
    if (lead && i + 1 >= t.size()) {
      cur += t.substr(i);
      break;
    }
    size_t n = lead ? 2 : 1;
    cur += t.substr(i, n);
    i += n;
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

std::string RandomGbk(std::mt19937& rng, int maxChars) {
  // A small alphabet makes matches frequent: ASCII, backslash, two Chinese
  // characters that share bytes across their boundary (啊 B0A1, 薄 B1A1),
  // a character whose trail byte is ASCII '@', and the single bytes 0x80
  // (the euro sign) and 0xFF.
  static const char* const pieces[] = {"a", "b", "\\", "啊", "薄", "丂", "@", "\xA1", "题", "€", "\xFF"};
  std::uniform_int_distribution<int> len(0, maxChars), pick(0, 10);
  std::string s;
  int n = len(rng);
  for (int i = 0; i < n; ++i) s += pieces[pick(rng)];
  return s;
}

TEST(TextCommandsModel, ReplaceAgreesWithAModelOnGeneratedTexts) {
  std::mt19937 rng(20261208);
  for (int i = 0; i < 20000; ++i) {
    std::string t = RandomGbk(rng, 12), s = RandomGbk(rng, 2), r = RandomGbk(rng, 2);
    ASSERT_EQ(ModelReplace(t, s, r), Replace(t.c_str(), s.c_str(), r.c_str()))
        << "text " << test::Hex(t.c_str()) << " search " << test::Hex(s.c_str());
  }
}

TEST(TextCommandsModel, SplitAgreesWithAModelOnGeneratedTexts) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    std::string t = RandomGbk(rng, 12), sep = RandomGbk(rng, 2);
    if (sep.empty()) continue;
    TaggedValue a[] = {Text(t.c_str()), Text(sep.c_str())};
    ASSERT_EQ(ModelSplit(t, sep), TakeTextArray(ValuePointer(CallCommand(SplitText, 2, a))))
        << "text " << test::Hex(t.c_str()) << " sep " << test::Hex(sep.c_str());
  }
}

TEST(Commands, NeverFreeTheirArguments) {
  // Arguments in the value heap stay valid after every command.
  char* t = CopyText("a\\b");
  TaggedValue a[] = {Text(t), Text("\\"), Text("x")};
  FreeMemory(ValueText(CallCommand(ReplaceText, 3, a)));
  TakeTextArray(ValuePointer(CallCommand(SplitText, 2, a)));
  FreeMemory(ValueText(CallCommand(LeftText, 2, a)));
  EXPECT_STREQ("a\\b", t);
  FreeMemory(t);
}

}  // namespace
}  // namespace qx
