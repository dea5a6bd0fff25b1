// The euro sign (0x80, one byte in the program's code page) before the
// words the replacements look for and in the name a document is saved under.
#include <gtest/gtest.h>

#include "app/Replacement.h"
#include "app/SaveDocument.h"

namespace qx::app {
namespace {

TEST(EuroSign, TheReplacementsFindTheWordsAfterIt) {
  EXPECT_EQ("€X", ManualReplace("€单选题", "单选题", "X"));
  EXPECT_EQ("€€X€", ManualReplace("€€单选题€", "单选题", "X"));
  EXPECT_EQ("€【单选题】 €€【多选题】 €€€【判断题】 €",
            AutoReplace("€单选题 €€多选题 €€€判断题 €"));
}

TEST(EuroSign, TheDocumentNameKeepsItAndIsCutAtTheRealDot) {
  EXPECT_EQ("价格€", DocumentBaseName("D:\\题库\\价格€.xls"));
  EXPECT_EQ("€第一章", DocumentBaseName("D:\\题库€\\€第一章.xls"));
  EXPECT_EQ("€€", DocumentBaseName("€€.csv"));
}

}  // namespace
}  // namespace qx
