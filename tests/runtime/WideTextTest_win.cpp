// The Win32 half of the encoding module under the tests' code page (936):
// the program's bytes through UTF-16 and back, and that it agrees with the
// portable half the native build converts by.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/encoding/Gbk.h"
#include "runtime/encoding/Wide_win.h"

namespace qx {
namespace {

TEST(WideText, TheProgramsBytesGoThroughUtf16AndBackUnchanged) {
  ASSERT_EQ(GetACP(), kProgramCodePage);
  const std::string gbk = "题库\x80 a";  // two characters, the one-byte euro, ASCII
  std::wstring wide = WideFromAnsi(gbk);
  EXPECT_EQ(wide, L"题库€ a");
  bool lost = true;
  EXPECT_EQ(AnsiFromWide(wide, &lost), gbk);
  EXPECT_FALSE(lost);
  EXPECT_EQ(WideFromAnsi(""), L"");
  EXPECT_EQ(AnsiFromWide(L"", &lost), "");
}

TEST(WideText, ACharacterTheCodePageLacksIsSaidToBeLost) {
  bool lost = false;
  EXPECT_EQ(AnsiFromWide(L"a\u0E01b", &lost), "a?b");  // a Thai letter
  EXPECT_TRUE(lost);
}

TEST(WideText, Utf8AgreesWithThePortableHalf) {
  const std::string utf8 = "\xE9\xA2\x98 \xF0\x9F\x98\x80 \xE2\x82\xAC";  // 题, an emoji, the euro
  std::wstring wide = WideFromUtf8(utf8);
  EXPECT_EQ(wide, L"题 \U0001F600 €");
  EXPECT_EQ(Utf8FromWide(wide), utf8);
  const std::wstring text = L"单选题：题干【】€";
  std::string portable;
  EXPECT_TRUE(gbk::FromUtf8(Utf8FromWide(text), &portable));
  EXPECT_EQ(AnsiFromWide(text), portable);
}

}  // namespace
}  // namespace qx
