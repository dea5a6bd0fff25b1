// Code page 936 has characters of one byte above 0x7F as well: 0x80 is the
// euro sign, and 0xFF begins nothing. Only 0x81..0xFE begin a character of
// two bytes; a scan that takes 0x80 for one falls a byte out of step with
// the text after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/Commands.h"
#include "runtime/LeadByte.h"
#include "runtime/Startup.h"

namespace qx {
namespace {

using test::TakeText;
using test::TakeTextArray;
using test::Text;

TEST(LeadBytes, OnlyEightyOneToFeBeginATwoByteCharacter) {
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(c >= 0x81 && c <= 0xFE, IsLeadByte(static_cast<unsigned char>(c))) << c;
  EXPECT_EQ(1u, CharacterBytes("\x80" "a", 0));
  EXPECT_EQ(2u, CharacterBytes("\x81" "a", 0));
  EXPECT_EQ(1u, CharacterBytes("\x81", 0));  // a lead byte with nothing after it
  EXPECT_EQ(1u, CharacterBytes("\xFF\x81", 0));
}

TEST(LeadBytes, TheLastCharacterIsFoundOnCharacterBoundaries) {
  EXPECT_EQ(8u, LastCharacterAt("D:\\题库€\\x", '\\'));
  EXPECT_EQ(std::string_view::npos, LastCharacterAt("\x81\x5C", '\\'));
  EXPECT_EQ(2u, LastCharacterAt("a€.", '.'));
  EXPECT_EQ(std::string_view::npos, LastCharacterAt("", '.'));
}

std::string Replace(const char* text, const char* search, const char* replacement) {
  TaggedValue a[] = {Text(text), Text(search), Text(replacement), Omitted(), Omitted(),
                     MakeBool(true)};
  return TakeText(CallCommand(ReplaceText, 6, a));
}

TEST(ReplaceText, TheWordAfterAEuroSignIsFound) {
  EXPECT_EQ("€X", Replace("€单选题", "单选题", "X"));
  EXPECT_EQ("€€X", Replace("€€单选题", "单选题", "X"));
  EXPECT_EQ("€€€X", Replace("€€€单选题", "单选题", "X"));
  EXPECT_EQ("\xFFX", Replace("\xFF单选题", "单选题", "X"));
  EXPECT_EQ("欧元欧元", Replace("€€", "€", "欧元"));
}

TEST(ReplaceText, AEuroSignIsNeitherDroppedAtTheEndNorTakenFromInsideACharacter) {
  EXPECT_EQ("X€", Replace("a€", "a", "X"));
  EXPECT_EQ("€€€", Replace("€€€", "x", "y"));
  // 0x81 0x80 is one character whose second byte is 0x80.
  EXPECT_EQ("\x81\x80", Replace("\x81\x80", "€", "X"));
  EXPECT_EQ("\x81\x80X", Replace("\x81\x80€", "€", "X"));
}

TEST(SplitText, ABackslashAfterAEuroSignSeparates) {
  TaggedValue a[] = {Text("D:\\题库€\\€第一章.xls"), Text("\\")};
  EXPECT_EQ((std::vector<std::string>{"D:", "题库€", "€第一章.xls"}),
            TakeTextArray(ValuePointer(CallCommand(SplitText, 2, a))));
  TaggedValue b[] = {Text("€\\\xFF\\"), Text("\\")};
  EXPECT_EQ((std::vector<std::string>{"€", "\xFF"}),
            TakeTextArray(ValuePointer(CallCommand(SplitText, 2, b))));
}

// The program's own path: a name whose last character ends in 0x5C (0x81
// 0x5C) is no folder.
TEST(SplitProgramPath, TheNameIsAfterTheLastBackslashCharacter) {
  std::string folder, name;
  SplitProgramPath("D:\\软件€\\题库\x81\x5C.exe", &folder, &name);
  EXPECT_EQ("D:\\软件€", folder);
  EXPECT_EQ("题库\x81\x5C.exe", name);
  SplitProgramPath("\x81\x5C.exe", &folder, &name);
  EXPECT_EQ("", folder);
  EXPECT_EQ("\x81\x5C.exe", name);
}

}  // namespace
}  // namespace qx
