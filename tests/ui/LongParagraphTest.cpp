// How a text with a long paragraph is cut before it goes into a wrapping
// box, and where a line of row prefixes may break, without the system.
#include <gtest/gtest.h>

#include <string>

#include "ui/ParagraphPieces.h"
#include "ui/RowPrefixBreak.h"

namespace qx {
namespace {

bool GbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool NoLead(unsigned char) { return false; }

std::string Prefixes(int from, int to) {
  std::string s;
  for (int i = from; i < to; ++i) s += std::to_string(i) + ":";
  return s;
}

TEST(LongParagraph, OnlyARunWithoutALineFeedLongerThanTheLimitCounts) {
  EXPECT_FALSE(HasLongParagraph("", 4));
  EXPECT_FALSE(HasLongParagraph("abcd", 4));
  EXPECT_TRUE(HasLongParagraph("abcde", 4));
  EXPECT_FALSE(HasLongParagraph("abc\r\nabc\r\nabc", 4));  // "abc\r" is four
  EXPECT_TRUE(HasLongParagraph("abc\r\nabcd\r\n", 4));
  EXPECT_TRUE(HasLongParagraph("ab\nabcde", 4)) << "the last paragraph has no line feed";
  EXPECT_FALSE(HasLongParagraph("\n\n\n", 0));
}

TEST(LongParagraph, PiecesCarryAtMostTheLongestOfOneParagraphAndJoinToTheText) {
  const std::string rows = "0:题型\r\n题目\r\n1:单选题\r\n";
  const std::string text = rows + Prefixes(300, 2300) + "最后一格\r\n";
  std::vector<size_t> ends = ParagraphPieceEnds(text, 512, GbkLead);
  ASSERT_GT(ends.size(), 2u);
  EXPECT_EQ(text.size(), ends.back());
  size_t from = 0;
  for (size_t end : ends) {
    ASSERT_GT(end, from);
    std::string piece = text.substr(from, end - from);
    size_t run = 0, longest = 0;
    for (char c : piece) {
      run = c == '\n' ? 0 : run + 1;
      if (run > longest) longest = run;
    }
    EXPECT_LE(longest, 513u) << "piece at " << from;
    from = end;
  }
  // The short rows ride with the first piece: only the long line is cut.
  EXPECT_EQ(rows.size() + 512, ends[0]);
  EXPECT_EQ(ends, ParagraphPieceEnds(text, 512, NoLead)) << "no two-byte character to mind";
}

TEST(LongParagraph, AShortTextIsOnePieceAndACutNeverSplitsATwoByteCharacter) {
  EXPECT_EQ(std::vector<size_t>{7}, ParagraphPieceEnds("abc\r\nde", 512, GbkLead));
  EXPECT_EQ(std::vector<size_t>{0}, ParagraphPieceEnds("", 512, GbkLead));
  // Two-byte characters only, cut after three bytes: every cut still comes
  // after a whole character, a byte late.
  const std::string wide = "题目选项答案解析光合作用";
  std::vector<size_t> ends = ParagraphPieceEnds(wide, 3, GbkLead);
  for (size_t end : ends) EXPECT_EQ(0u, end % 2) << end;
  EXPECT_EQ(wide.size(), ends.back());
  // A second byte that looks like a colon's neighbour does not end a character.
  const std::string tricky = "\x81@\x81@\x81@";  // '@' is a valid second byte
  ends = ParagraphPieceEnds(tricky, 1, GbkLead);
  EXPECT_EQ((std::vector<size_t>{2, 4, 6}), ends);
  // A lead byte at the very end stands alone.
  EXPECT_EQ((std::vector<size_t>{1, 2}), ParagraphPieceEnds("a\x81", 1, GbkLead));
}

TEST(RowPrefixBreak, ARunOfPrefixesBreaksAfterEachColonAndNothingElseDoes) {
  const std::string s = "300:301:302:";
  auto breaks = [&](const std::string& t, size_t i) { return BreaksAfterRowPrefix(t.data(), t.size(), i); };
  EXPECT_TRUE(breaks(s, 4));
  EXPECT_TRUE(breaks(s, 8));
  for (size_t i : {0u, 1u, 2u, 3u, 5u, 7u, 9u, 11u}) EXPECT_FALSE(breaks(s, i)) << i;
  EXPECT_FALSE(breaks(s, 12)) << "past the end";
  // The last prefix of the run, before the stray value's text, and a time
  // of day in a question keep together.
  const std::string tail = "5298:5299:最后";
  EXPECT_TRUE(breaks(tail, 5));
  EXPECT_FALSE(breaks(tail, 10));
  EXPECT_FALSE(breaks("10:30 上课", 3));
  EXPECT_FALSE(breaks("a:1:", 2)) << "a letter is no row number";
  const std::u16string wide = u"7:8:9:";
  EXPECT_TRUE(BreaksAfterRowPrefix(wide.data(), wide.size(), 2));
  EXPECT_TRUE(BreaksAfterRowPrefix(wide.data(), wide.size(), 4));
  EXPECT_FALSE(BreaksAfterRowPrefix(wide.data(), wide.size(), 6));
}

}  // namespace
}  // namespace qx
