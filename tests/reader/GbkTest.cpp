#include <gtest/gtest.h>

#include "runtime/encoding/Gbk.h"

namespace qx::gbk {
namespace {

TEST(Gbk, ConvertsChineseBothWays) {
  std::string out;
  EXPECT_TRUE(FromUtf8("中文题库 ABC", &out));
  EXPECT_EQ(out, "\xD6\xD0\xCE\xC4\xCC\xE2\xBF\xE2 ABC");
  EXPECT_EQ(ToUtf8(out), "中文题库 ABC");
  // Full-width punctuation and the symbols a question bank uses.
  EXPECT_TRUE(FromUtf8("【单选题】（）℃π", &out));
  EXPECT_EQ(ToUtf8(out), "【单选题】（）℃π");
}

TEST(Gbk, EuroIsTheSingleByte80) {
  std::string out;
  EXPECT_TRUE(FromUtf8("€", &out));
  EXPECT_EQ(out, "\x80");
  EXPECT_EQ(ToUtf8("\x80"), "€");
}

TEST(Gbk, UnmappableBecomesQuestionMark) {
  std::string out;
  EXPECT_FALSE(FromUtf8("a한b", &out));  // Hangul is not in GBK
  EXPECT_EQ(out, "a?b");
  // Outside the BMP: one '?' per UTF-16 half, as the platform does.
  EXPECT_FALSE(FromUtf8("x😀y", &out));
  EXPECT_EQ(out, "x??y");
  EXPECT_FALSE(FromUtf8("\xC0\x80z\xFF", &out));  // overlong NUL, stray byte
  EXPECT_EQ(out, "??z?");
}

// Three-byte sequences are taken on a short path when they are a GBK
// character; every other one as before: malformed ones byte by byte.
TEST(Gbk, ThreeByteSequencesThatAreNoGbkCharacter) {
  std::string out;
  EXPECT_FALSE(FromUtf8("\xE0\x80\x80|\xE4\xB8|\xE4\x38\xAD", &out));  // overlong, cut, bad second byte
  EXPECT_EQ(out, "???|??|?8?");
  EXPECT_FALSE(FromUtf8("\xED\xA0\x80", &out));  // a surrogate half
  EXPECT_EQ(out, "???");
  EXPECT_FALSE(FromUtf8("\xE0\xA0\x80", &out));  // U+0800, not in GBK
  EXPECT_EQ(out, "?");
  EXPECT_TRUE(FromUtf8("中€文", &out));
  EXPECT_EQ(out, "\xD6\xD0\x80\xCE\xC4");
  EXPECT_TRUE(FromUtf8UpToNul(std::string("中\0文", 7), &out));
  EXPECT_EQ(out, "\xD6\xD0");
}

TEST(Gbk, BadGbkBecomesReplacementCharacter) {
  EXPECT_EQ(ToUtf8("\xD6"), "\uFFFD");            // lead byte at the end
  EXPECT_EQ(ToUtf8("\x81" "0A"), "\uFFFD" "0A");  // ASCII after a lead stays
  EXPECT_EQ(ToUtf8("\xA1\x7F"), "\uFFFD\x7F");
}

TEST(Gbk, EveryTableEntryRoundTrips) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      std::string utf8 = ToUtf8(pair);
      if (utf8.find("\uFFFD") != std::string::npos) continue;  // not a character
      ++mapped;
      std::string back;
      ASSERT_TRUE(FromUtf8(utf8, &back)) << std::hex << lead << trail;
      ASSERT_EQ(back, pair) << std::hex << lead << trail;
    }
  }
  EXPECT_EQ(mapped, 23940);
}

// As the system's code page 936 does it, which the window program converts
// by: the user-defined areas are private-use characters both ways (a
// character made for a rare name survives), 0xFF stands for U+F8F5, and a
// character GBK lacks is written as a near one where the system has one.
TEST(Gbk, UserDefinedCharactersAndNearOnesAsTheSystemHasThem) {
  std::string out;
  EXPECT_EQ(ToUtf8("\xAA\xA1\xA1\x40\xFE\xFE"), "\uE000\uE4C6\uE4C5");
  EXPECT_TRUE(FromUtf8("\uE000\uE4C6\uE4C5", &out));
  EXPECT_EQ(out, "\xAA\xA1\xA1\x40\xFE\xFE");
  EXPECT_EQ(ToUtf8("\xFF" "a"), "\uF8F5" "a");
  EXPECT_TRUE(FromUtf8("\uF8F5", &out));
  EXPECT_EQ(out, "\xFF");
  // Superscript two, a compatibility ideograph (as U+8C48), the cent sign
  // (as the full-width one), beside one that has nothing near. Neither
  // reads back as it was: a file name with one is no file name in GBK.
  EXPECT_FALSE(FromUtf8("x²\uF900¢", &out));
  EXPECT_EQ(out, "x2" "\xD8\x4D" "\xA1\xE9");
  EXPECT_FALSE(FromUtf8("한", &out));
  EXPECT_EQ(out, "?");
}

TEST(Gbk, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain, 中文, €, 😀"));
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_FALSE(IsValidUtf8("\xD6\xD0\xCE\xC4"));  // GBK 中文
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));          // cut short
}

TEST(Gbk, Utf16BothWays) {
  std::u16string u = Utf8ToUtf16("中😀a");
  EXPECT_EQ(u, (std::u16string{0x4E2D, 0xD83D, 0xDE00, u'a'}));
  EXPECT_EQ(Utf16ToUtf8(u), "中😀a");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'b'}), "\uFFFD" "b");
  EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string{0xFFFD});
}

}  // namespace
}  // namespace qx::gbk
