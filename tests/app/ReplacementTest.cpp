#include <gtest/gtest.h>

#include "app/Replacement.h"

namespace qx::app {
namespace {

TEST(AutoReplace, WrapsEveryOccurrenceOfTheNineWords) {
  EXPECT_EQ("【单选题】 x 【单选题】", AutoReplace("单选题 x 单选题"));
  EXPECT_EQ("【多选题】【判断题】【填空题】【简答题】【论述题】【计算题】【名词解释】【画图题】",
            AutoReplace("多选题判断题填空题简答题论述题计算题名词解释画图题"));
}

TEST(AutoReplace, AlreadyBracketedWordsGetASecondPair) {
  EXPECT_EQ("【【单选题】】", AutoReplace("【单选题】"));
}

TEST(AutoReplace, NeverMatchesHalfACharacter) {
  // "选题" inside 单选题 is not a word of the table, and no table word can be
  // found starting at a trail byte: 啊 (B0 A1) before 单 (B5 A5).
  EXPECT_EQ("啊【单选题】", AutoReplace("啊单选题"));
  EXPECT_EQ("", AutoReplace(""));
}

TEST(ManualReplace, CaseSensitiveDeletesWithEmptyReplacementAndIgnoresEmptySearch) {
  EXPECT_EQ("Abc abc", ManualReplace("Abc abc", "ABC", "x"));
  EXPECT_EQ("Abc x", ManualReplace("Abc abc", "abc", "x"));
  EXPECT_EQ("答案：", ManualReplace("答案：A", "A", ""));
  EXPECT_EQ("不变", ManualReplace("不变", "", "x"));
}

// The body is bytes: a NUL inside it neither ends the search nor cuts
// what follows it.
TEST(ManualReplace, TheWholeBodyIncludingNulBytes) {
  const std::string body("a\0单选题\0b", 10);
  EXPECT_EQ(std::string("a\0X\0b", 5), ManualReplace(body, "单选题", "X"));
  EXPECT_EQ(std::string("a\0【单选题】\0b", 14), AutoReplace(body));
  EXPECT_EQ(std::string("a-单选题-b", 10), ManualReplace(body, std::string(1, '\0'), "-"));
}

}  // namespace
}  // namespace qx::app
