// Hidden rows (ROW's fDyZero) and columns (COLINFO's fHidden) of an .xls
// sheet, and the cells whose format shows nothing.
#include <gtest/gtest.h>

#include "XlsTestUtil.h"
#include "reader/Visibility.h"

namespace {

using namespace qx::test;

std::string Row(uint16_t row, uint16_t flags) {
  return Rec(0x0208, U16(row) + U16(0) + U16(2) + U16(255) + U16(0) + U16(0) + U16(flags) + U16(15));
}
std::string ColInfo(uint16_t first, uint16_t last, uint16_t flags) {
  return Rec(0x007D, U16(first) + U16(last) + U16(2340) + U16(15) + U16(flags) + U16(0));
}

TEST(XlsVisibility, HiddenRowsColumnsAndBlankFormats) {
  const std::string styles = Format(164, u";;;") + Format(165, u"0;-0;;@") + Xf(0) + Xf(164) + Xf(165);
  const std::string cells = ColInfo(0, 0, 1) + ColInfo(2, 3, 1) + ColInfo(4, 4, 0) + ColInfo(7, 255, 1) +
                            Row(1, 0x20) + Row(2, 0x20) + Row(3, 0x100) + Rec(0x0208, U16(5)) +
                            Number(0, 1, 7, 1) + Number(1, 1, 0, 2) + Number(1, 2, 3, 2) +
                            Label(3, 1, u"t", 1) + Number(3, 0, 1, 0);
  qx::reader::Workbook book = ReadOk(BuildCfb(OneSheet(cells, styles)).bytes);
  const qx::reader::Sheet& s = book.sheets[0];
  ASSERT_EQ(s.hiddenRows.size(), 1u);
  EXPECT_EQ(s.hiddenRows[0].first, 2);
  EXPECT_EQ(s.hiddenRows[0].last, 3);
  ASSERT_EQ(s.hiddenColumns.size(), 3u);
  EXPECT_EQ(s.hiddenColumns[1].first, 3);
  EXPECT_EQ(s.hiddenColumns[1].last, 4);
  EXPECT_EQ(s.hiddenColumns[2].first, 8);
  EXPECT_EQ(s.hiddenColumns[2].last, 256);
  EXPECT_TRUE(qx::reader::ShownAsNothing(s, 1, 2));
  EXPECT_TRUE(qx::reader::ShownAsNothing(s, 2, 2));
  EXPECT_FALSE(qx::reader::ShownAsNothing(s, 2, 3));
  EXPECT_TRUE(qx::reader::ShownAsNothing(s, 4, 2));
  EXPECT_FALSE(qx::reader::ShownAsNothing(s, 4, 1));
  EXPECT_EQ(s.cells.size(), 5u) << "every cell is read as before";
}

}  // namespace
