// The Win32 half of the encoding module under the tests' code page (936):
// the program's bytes through UTF-16 and back, and that it agrees with the
// portable half the native build converts by, character by character.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
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

// The headless converter turns the reader's text into GBK by our table,
// the window program by the system's code page: every character must come
// out the same both ways, or the two documents differ.
TEST(WideText, EveryCharacterEncodesAsTheSystemEncodesIt) {
  ASSERT_EQ(GetACP(), kProgramCodePage);
  int differences = 0;
  for (char32_t cp = 1; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::wstring wide(1, static_cast<wchar_t>(cp));
    std::string ours;
    gbk::FromUtf8(Utf8FromWide(wide), &ours);
    const std::string system = AnsiFromWide(wide);
    if (ours != system && ++differences <= 10) {
      char hex[8];
      snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(cp));
      ADD_FAILURE() << "U+" << hex << ": ours " << testing::PrintToString(ours) << ", the system's "
                    << testing::PrintToString(system);
    }
  }
  EXPECT_EQ(differences, 0);
}

// And back: a pair the system reads as a character, the reader's GBK
// files (CSV, old workbooks) read as that character; one it refuses, as
// U+FFFD.
TEST(WideText, EveryBytePairDecodesAsTheSystemDecodesIt) {
  int differences = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t wide[4];
      const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pair, 2, wide, 4);
      const std::string ours = gbk::ToUtf8(std::string_view(pair, 2));
      const bool same = n > 0 ? ours == Utf8FromWide(std::wstring_view(wide, static_cast<size_t>(n)))
                              : ours.rfind("\xEF\xBF\xBD", 0) == 0;
      if (!same && ++differences <= 10)
        ADD_FAILURE() << std::hex << lead << trail << ": ours " << testing::PrintToString(ours);
    }
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace qx
