#include <gtest/gtest.h>

#include <random>

#include "FakeWorksheet.h"
#include "app/ReaderWorksheet.h"

namespace qx::app {
namespace {

using test::Convert;
using test::FakeWorksheet;

TEST(CellAddresses, ColumnsAfterZTakeTwoAndThreeLetters) {
  EXPECT_EQ("A", ColumnLetters(1));
  EXPECT_EQ("Z", ColumnLetters(26));
  EXPECT_EQ("AA", ColumnLetters(27));
  EXPECT_EQ("AZ", ColumnLetters(52));
  EXPECT_EQ("BA", ColumnLetters(53));
  EXPECT_EQ("ZZ", ColumnLetters(702));
  EXPECT_EQ("AAA", ColumnLetters(703));
  EXPECT_EQ("XFD", ColumnLetters(16384));
  EXPECT_EQ("C12", CellAddress(12, 3));
}

FakeWorksheet WorkedExample() {
  FakeWorksheet w;
  w.box = {1, 1, 3, 2};
  w.Set(1, 1, "题目");
  w.Set(1, 2, "答案");
  w.Set(2, 1, "1+1=?");
  w.Set(2, 2, "2");
  w.Set(3, 1, "x");
  return w;
}

TEST(Conversion, WorkedExampleNowKeepsTheLastRow) {
  FakeWorksheet w = WorkedExample();
  EXPECT_EQ("0:题目\r\n答案\r\n1:1+1=?\r\n2\r\n2:x\r\n", Convert(&w));
  // Read cell by cell from A1, row by row.
  std::vector<std::string> expected = {"A1", "B1", "A2", "B2", "A3", "B3"};
  EXPECT_EQ(expected, w.addressesRead);
}

TEST(Conversion, EmptyRowInsideTheDataKeepsItsPrefixButTrailingEmptyRowsLeaveNothing) {
  FakeWorksheet w;
  w.box = {1, 1, 6, 2};  // formatted rows 4 to 6 hold nothing
  w.Set(1, 1, "a");
  w.Set(3, 2, "b");
  EXPECT_EQ("0:a\r\n1:2:b\r\n", Convert(&w));
}

TEST(Conversion, BlankSheetOrNoSheetGivesNothing) {
  FakeWorksheet blank;
  blank.box = {1, 1, 1, 1};  // the lone empty A1 a blank sheet reports
  EXPECT_EQ("", Convert(&blank));
  FakeWorksheet none;
  none.box = {0, 0, 0, 0};
  EXPECT_EQ("", Convert(&none));
  EXPECT_TRUE(none.addressesRead.empty());
  FakeWorksheet failing = WorkedExample();
  failing.opens = false;
  std::string text;
  OpenSheetFailure error;
  EXPECT_FALSE(ConvertWorksheetToText({&test::kFakeOps, &failing}, "p", &text, &error));
  EXPECT_EQ("", text);
}

TEST(Conversion, OneRowSheetIsConverted) {
  FakeWorksheet w;
  w.box = {1, 1, 1, 3};
  w.Set(1, 3, "only");
  EXPECT_EQ("0:only\r\n", Convert(&w));
}

TEST(Conversion, RangeNotStartingAtA1IsWalkedFromA1ThroughItsOwnEdges) {
  FakeWorksheet w;
  w.box = {3, 2, 7, 3};  // B3:D9
  w.Set(3, 2, "top-left");
  w.Set(9, 4, "bottom-right");
  std::string doc = Convert(&w);
  EXPECT_EQ("0:1:2:top-left\r\n3:4:5:6:7:8:bottom-right\r\n", doc);
  EXPECT_EQ("A1", w.addressesRead.front());
  EXPECT_EQ("D9", w.addressesRead.back());
  EXPECT_EQ(9u * 4u, w.addressesRead.size());
}

TEST(Conversion, CellsPastColumnZAreRead) {
  FakeWorksheet w;
  w.box = {1, 1, 1, 28};
  w.Set(1, 27, "AA");
  w.Set(1, 28, "AB");
  EXPECT_EQ("0:AA\r\nAB\r\n", Convert(&w));
}

TEST(Conversion, CellTextWithLineBreaksIsAppendedAsItIs) {
  FakeWorksheet w;
  w.box = {1, 1, 1, 1};
  w.Set(1, 1, "第一行\n第二行\r\n");
  EXPECT_EQ("0:第一行\n第二行\r\n\r\n", Convert(&w));
}

// The stored-cell walk must give exactly what the cell-by-cell walk gives.
WorksheetSource StoredCellFake(FakeWorksheet* w) {
  static WorksheetOps ops = test::kFakeOps;
  ops.nextStoredCell = [](void* self, int32_t row, int32_t column, int32_t lastRow,
                          int32_t lastColumn, int32_t* fr, int32_t* fc) {
    auto* f = static_cast<FakeWorksheet*>(self);
    bool found = false;
    int32_t bestRow = 0, bestCol = 0;
    for (const auto& [address, text] : f->cellsByAddress) {
      size_t digits = address.find_first_of("0123456789");
      int32_t c = 0;
      for (size_t i = 0; i < digits; ++i) c = c * 26 + (address[i] - 'A' + 1);
      int32_t r = std::stoi(address.substr(digits));
      if (r > lastRow || c > lastColumn) continue;
      if (r < row || (r == row && c < column)) continue;
      if (!found || r < bestRow || (r == bestRow && c < bestCol)) {
        found = true;
        bestRow = r;
        bestCol = c;
      }
    }
    *fr = bestRow;
    *fc = bestCol;
    return found;
  };
  return {&ops, w};
}

TEST(Conversion, StoredCellWalkMatchesTheCellByCellWalk) {
  std::mt19937 rng(42);
  for (int round = 0; round < 300; ++round) {
    FakeWorksheet w;
    w.recordReads = false;
    std::uniform_int_distribution<int> dim(1, 9), coin(0, 3);
    w.box = {dim(rng), dim(rng), dim(rng), dim(rng)};
    for (int r = 1; r <= 20; ++r)
      for (int c = 1; c <= 20; ++c)
        if (coin(rng) == 0) w.Set(r, c, coin(rng) == 0 ? "" : "v" + std::to_string(r * 100 + c));
    std::string slow = Convert(&w), fast;
    ConvertWorksheetToText(StoredCellFake(&w), "p", &fast, nullptr);
    ASSERT_EQ(slow, fast) << "round " << round;
  }
}

TEST(Conversion, ReaderSourceSkipsCellsOutsideTheWalkedBox) {
  ReaderWorksheet sheet;
  sheet.book.sheets.resize(1);
  sheet.book.strings = {"x"};
  auto text = [](int32_t r, int32_t c) { return reader::Cell{r, c, 0, 0, reader::CellType::Text}; };
  sheet.book.sheets[0].cells = {text(1, 1), text(1, 5), text(2, 2), text(4, 1)};
  sheet.sheet = &sheet.book.sheets[0];
  WorksheetSource src = MakeReaderWorksheetSource(&sheet);
  int32_t r = 0, c = 0;
  ASSERT_TRUE(src.ops->nextStoredCell(src.self, 1, 2, 10, 3, &r, &c));
  EXPECT_EQ(std::make_pair(2, 2), std::make_pair(r, c));  // (1,5) is past column 3
  ASSERT_TRUE(src.ops->nextStoredCell(src.self, 2, 3, 10, 3, &r, &c));
  EXPECT_EQ(std::make_pair(4, 1), std::make_pair(r, c));
  EXPECT_FALSE(src.ops->nextStoredCell(src.self, 2, 3, 3, 3, &r, &c));
}

TEST(Conversion, ALoneValueAtTheFarCornerGivesAMillionPrefixesQuickly) {
  // Only the cells that exist are walked: this would be 17 billion cell
  // reads one by one.
  ReaderWorksheet sheet;
  sheet.book.sheets.resize(1);
  sheet.book.strings = {"\xE8\xA7\x92\xE8\x90\xBD"};  // 角落, the pool is UTF-8
  sheet.book.sheets[0].cells = {{1048576, 16384, 0, 0, reader::CellType::Text}};
  sheet.sheet = &sheet.book.sheets[0];
  WorksheetSource source = MakeReaderWorksheetSource(&sheet);
  static WorksheetOps ops = *source.ops;
  ops.openFirstSheet = [](void*, const std::string&, OpenSheetFailure*) { return true; };
  std::string doc;
  ASSERT_TRUE(ConvertWorksheetToText({&ops, source.self}, "", &doc, nullptr));
  EXPECT_EQ(0u, doc.find("0:1:2:"));
  std::string tail = "1048574:1048575:\xBD\xC7\xC2\xE4\r\n";  // 角落 in GBK
  ASSERT_GT(doc.size(), tail.size());
  EXPECT_EQ(tail, doc.substr(doc.size() - tail.size()));
  size_t colons = 0;
  for (char c : doc) colons += c == ':';
  EXPECT_EQ(1048576u, colons);
}

}  // namespace
}  // namespace qx::app
