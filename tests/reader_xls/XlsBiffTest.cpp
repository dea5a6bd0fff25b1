// The workbook stream: records built by hand, each test aiming at one way
// a writer may lay values out.
#include <gtest/gtest.h>

#include "XlsTestUtil.h"

using namespace qx::test;
using qx::reader::CellType;
using qx::reader::Workbook;

namespace {

// ---- Shared strings ----

// Two-record table: the first record ends right after a string's header;
// the next starts with the option byte and the characters.
TEST(XlsSst, SplitBetweenHeaderAndCharacters) {
  std::string sst = Rec(0x00FC, U32(2) + U32(2) + U16(5) + U8(0)) +
                    Continue(U8(0) + "hello" + XlStr(u"next"));
  Workbook b = ReadOk(XlsFile(OneSheet(LabelSst(0, 0, 0) + LabelSst(0, 1, 1),
                                       "", sst)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "hello");
  EXPECT_EQ(TextAt(b, 0, 1, 2), "next");
}

// The characters change width at the boundary, both ways.
TEST(XlsSst, SplitMidCharactersSwitchesWidth) {
  std::string sst =
      Rec(0x00FC, U32(2) + U32(2) + U16(4) + U8(0) + "ab") +
      Continue(U8(1) + Chars(u"中文", true) + U16(3) + U8(1) +
               Chars(u"题", true)) +
      Continue(U8(0) + "xy");
  Workbook b = ReadOk(XlsFile(OneSheet(LabelSst(0, 0, 0) + LabelSst(1, 0, 1),
                                       "", sst)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "ab中文");
  EXPECT_EQ(TextAt(b, 0, 2, 1), "题xy");
}

// A string whose characters end exactly at a boundary: the next string
// starts the CONTINUE with its own header, no option byte.
TEST(XlsSst, StringEndsAtBoundary) {
  std::string sst = Rec(0x00FC, U32(2) + U32(2) + XlStr(u"one")) +
                    Continue(XlStr(u"two"));
  Workbook b = ReadOk(XlsFile(OneSheet(LabelSst(0, 0, 1), "", sst)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "two");
}

// Rich-text runs and phonetic data are skipped, even when they run over
// boundaries (where they get no option byte).
TEST(XlsSst, RichAndPhoneticRunsSplitAcrossRecords) {
  std::string first = U32(3) + U32(3) + U16(2) + U8(0x0D) + U16(2) +
                      U32(10) + Chars(u"漢字", true) + "RUN1";
  std::string second = "RUN2" + std::string(6, 'P');
  std::string third = std::string(4, 'P') + U16(3) + U8(0x08) + U16(1) +
                      "abc" + "RRRR" + XlStr(u"last");
  std::string sst = Rec(0x00FC, first) + Continue(second) + Continue(third);
  Workbook b = ReadOk(XlsFile(OneSheet(
      LabelSst(0, 0, 0) + LabelSst(0, 1, 1) + LabelSst(0, 2, 2), "", sst)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "漢字");
  EXPECT_EQ(TextAt(b, 0, 1, 2), "abc");
  EXPECT_EQ(TextAt(b, 0, 1, 3), "last");
}

// Characters split inside a rich string, then its runs in the next record.
TEST(XlsSst, RichStringCharactersSplit) {
  std::string sst = Rec(0x00FC, U32(1) + U32(1) + U16(6) + U8(0x08) + U16(1) +
                                    "abc") +
                    Continue(U8(1) + Chars(u"def", true) + "RUNS");
  Workbook b = ReadOk(XlsFile(OneSheet(LabelSst(0, 0, 0), "", sst)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "abcdef");
}

TEST(XlsSst, SurrogatePairsAndLatin1) {
  std::u16string wide = u"\U0001F600\u00E9";
  std::u16string latin = u"caf\u00E9";  // compressed: one byte per char
  Workbook b = ReadOk(XlsFile(
      OneSheet(LabelSst(0, 0, 0) + LabelSst(0, 1, 1), "", Sst({wide, latin}))));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "\xF0\x9F\x98\x80\xC3\xA9");
  EXPECT_EQ(TextAt(b, 0, 1, 2), "caf\xC3\xA9");
}

// A second table (which no writer makes) is ignored: indexes point into
// the first one.
TEST(XlsSst, OnlyTheFirstTableCounts) {
  std::string sst = Sst({u"first", u"second"}) + Sst({u"other"});
  Workbook b = ReadOk(XlsFile(OneSheet(LabelSst(0, 0, 1), "", sst)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "second");
  EXPECT_EQ(b.strings.size(), 2u);
}

TEST(XlsSst, BrokenTablesAreErrors) {
  // A string cut short with no CONTINUE to finish it.
  std::string cut = Rec(0x00FC, U32(1) + U32(1) + U16(10) + U8(0) + "abc");
  EXPECT_NE(ReadErr(XlsFile(OneSheet("", "", cut))).find("共享字符串表不完整"),
            std::string::npos);
  // Phonetic data claiming more bytes than the records hold.
  std::string ext = Rec(0x00FC, U32(1) + U32(1) + U16(1) + U8(0x04) +
                                    U32(0x7FFFFFFF) + "a");
  EXPECT_NE(ReadErr(XlsFile(OneSheet("", "", ext))).find("共享字符串表"),
            std::string::npos);
  // A cell pointing past the table.
  EXPECT_NE(ReadErr(XlsFile(OneSheet(LabelSst(0, 0, 5), "", Sst({u"a"}))))
                .find("共享字符串索引越界"),
            std::string::npos);
  // The count claims more strings than there are: the ones present count.
  std::string fewer = Rec(0x00FC, U32(9) + U32(1000000) + XlStr(u"only"));
  Workbook b = ReadOk(XlsFile(OneSheet(LabelSst(0, 0, 0), "", fewer)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "only");
}

// ---- Numbers ----

TEST(XlsNumbers, RkVariants) {
  std::string cells = Rk(0, 0, RkInt(42)) + Rk(0, 1, RkInt(-7)) +
                      Rk(0, 2, RkInt(12345, true)) + Rk(0, 3, RkDouble(0.5)) +
                      Rk(0, 4, RkDouble(-1.25)) +
                      Rk(0, 5, RkDouble(314.0, true)) +
                      Rk(0, 6, RkInt(-536870912)) +
                      Rk(0, 7, RkInt(536870911)) + Rk(0, 8, RkInt(-1, true));
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const double want[] = {42, -7, 123.45, 0.5, -1.25, 3.14,
                         -536870912, 536870911, -0.01};
  for (int c = 0; c < 9; ++c) {
    const auto* cell = At(b.sheets[0], 1, c + 1);
    ASSERT_NE(cell, nullptr) << c;
    EXPECT_EQ(cell->type, CellType::Number) << c;
    EXPECT_DOUBLE_EQ(cell->number, want[c]) << c;
  }
}

TEST(XlsNumbers, NumberAndMulRk) {
  std::string cells = Number(0, 0, 3.141592653589793) +
                      MulRk(1, 2, {RkInt(1), RkInt(250, true), RkDouble(2.5)}) +
                      Number(2, 0, -0.0);
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const auto& s = b.sheets[0];
  ASSERT_EQ(s.cells.size(), 5u);
  EXPECT_DOUBLE_EQ(At(s, 1, 1)->number, 3.141592653589793);
  EXPECT_DOUBLE_EQ(At(s, 2, 3)->number, 1);
  EXPECT_DOUBLE_EQ(At(s, 2, 4)->number, 2.5);
  EXPECT_DOUBLE_EQ(At(s, 2, 5)->number, 2.5);
  EXPECT_EQ(At(s, 2, 2), nullptr);
  EXPECT_EQ(At(s, 2, 6), nullptr);
}

// ---- Formulas, booleans, errors, inline text ----

TEST(XlsValues, FormulaCachedResults) {
  std::string shrfmla = Rec(0x04BC, std::string(10, '\0'));
  std::string cells = FormulaNumber(0, 0, 6.5) +
                      FormulaSpecial(0, 1, 0) + StringRec(u"结果") +
                      FormulaSpecial(0, 2, 1, 1) +
                      FormulaSpecial(0, 3, 2, 0x07) +
                      FormulaSpecial(0, 4, 3) +
                      // SHRFMLA may sit between a formula and its text.
                      FormulaSpecial(0, 5, 0) + shrfmla + StringRec(u"共享") +
                      // A STRING with no formula waiting for it is ignored.
                      StringRec(u"stray") + FormulaSpecial(0, 6, 1, 0);
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const auto& s = b.sheets[0];
  EXPECT_DOUBLE_EQ(At(s, 1, 1)->number, 6.5);
  EXPECT_EQ(TextAt(b, 0, 1, 2), "结果");
  EXPECT_EQ(At(s, 1, 3)->type, CellType::Boolean);
  EXPECT_EQ(At(s, 1, 3)->number, 1);
  EXPECT_EQ(At(s, 1, 4)->type, CellType::Error);
  EXPECT_EQ(TextAt(b, 0, 1, 4), "#DIV/0!");
  EXPECT_EQ(At(s, 1, 5)->type, CellType::Text);
  EXPECT_EQ(TextAt(b, 0, 1, 5), "");
  EXPECT_EQ(TextAt(b, 0, 1, 6), "共享");
  EXPECT_EQ(At(s, 1, 7)->number, 0);
  for (const auto& str : b.strings) EXPECT_NE(str, "stray");
}

// A long formula text goes on in a CONTINUE, with its option byte.
TEST(XlsValues, FormulaStringContinued) {
  std::string cells = FormulaSpecial(0, 0, 0) +
                      Rec(0x0207, U16(6) + U8(0) + "abc") +
                      Continue(U8(1) + Chars(u"中文字", true));
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  EXPECT_EQ(TextAt(b, 0, 1, 1), "abc中文字");
}

TEST(XlsValues, BoolErrAndErrorCodes) {
  const std::pair<uint8_t, const char*> errors[] = {
      {0x00, "#NULL!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALUE!"}, {0x17, "#REF!"},
      {0x1D, "#NAME?"}, {0x24, "#NUM!"},   {0x2A, "#N/A"}};
  std::string cells = BoolErr(0, 0, 1, false) + BoolErr(0, 1, 0, false);
  for (uint16_t i = 0; i < 7; ++i)
    cells += BoolErr(1, i, errors[i].first, true);
  cells += BoolErr(2, 0, 0x2A, true) + BoolErr(2, 1, 0x99, true);
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const auto& s = b.sheets[0];
  EXPECT_EQ(At(s, 1, 1)->type, CellType::Boolean);
  EXPECT_EQ(At(s, 1, 1)->number, 1);
  EXPECT_EQ(At(s, 1, 2)->number, 0);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(At(s, 2, i + 1)->type, CellType::Error);
    EXPECT_EQ(TextAt(b, 0, 2, i + 1), errors[i].second);
  }
  // The same error twice shares one pooled literal.
  EXPECT_EQ(At(s, 3, 1)->textId, At(s, 2, 7)->textId);
  EXPECT_EQ(TextAt(b, 0, 3, 2), "#N/A");
}

TEST(XlsValues, InlineLabelAndBlanksAreNotValues) {
  std::string cells = Label(0, 0, u"直接文本") + Label(0, 1, u"plain") +
                      Rec(0x0201, Cell(0, 2, 0)) +
                      Rec(0x00BE, U16(1) + U16(0) + U16(0) + U16(0) + U16(1));
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  EXPECT_EQ(b.sheets[0].cells.size(), 2u);
  EXPECT_EQ(TextAt(b, 0, 1, 1), "直接文本");
  EXPECT_EQ(TextAt(b, 0, 1, 2), "plain");
}

// A string holding U+0000, in the shared table or in a cell of its own:
// the cell's text, as the window receives it, ends there.
TEST(XlsValues, TextEndsAtANul) {
  const std::u16string withNul(u"b\0c", 3);
  std::string cells = LabelSst(0, 0, 0) + Label(0, 1, withNul) + LabelSst(0, 2, 1);
  Workbook b = ReadOk(XlsFile(OneSheet(cells, "", Sst({u"a\0z", u"next"}))));
  auto show = [&](int col) {
    return qx::reader::CellDisplayText(b, *At(b.sheets[0], 1, col));
  };
  EXPECT_EQ(show(1), "a");
  EXPECT_EQ(show(2), "b");
  EXPECT_EQ(show(3), "next");
}

// ---- Cell order and limits ----

TEST(XlsCells, SortedWithoutDuplicatesLastWins) {
  std::string cells = Number(5, 1, 1) + Number(0, 3, 2) + Number(0, 0, 3) +
                      Number(5, 1, 4) + Number(2, 0, 5) + Number(0, 3, 6);
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const auto& c = b.sheets[0].cells;
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].row, 1);
  EXPECT_EQ(c[0].col, 1);
  EXPECT_EQ(c[1].col, 4);
  EXPECT_EQ(c[1].number, 6);
  EXPECT_EQ(c[2].row, 3);
  EXPECT_EQ(c[3].row, 6);
  EXPECT_EQ(c[3].number, 4);
}

TEST(XlsCells, ColumnsPastBiff8LimitDropped) {
  std::string cells = Number(65535, 255, 1) + Number(0, 256, 2) +
                      Number(0, 0xFFFF, 3) + MulRk(1, 254, {2, 2, 2, 2});
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const auto& c = b.sheets[0].cells;
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].row, 2);
  EXPECT_EQ(c[0].col, 255);
  EXPECT_EQ(c[1].col, 256);
  EXPECT_EQ(c[2].row, 65536);
  EXPECT_EQ(c[2].col, 256);
}

// Values inside an embedded chart's own substream are not the sheet's.
TEST(XlsCells, EmbeddedChartSubstreamSkipped) {
  std::string cells = Number(0, 0, 1) + Bof(0x0020) + Number(0, 1, 99) +
                      Eof() + Number(1, 0, 2);
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  const auto& s = b.sheets[0];
  ASSERT_EQ(s.cells.size(), 2u);
  EXPECT_EQ(At(s, 1, 2), nullptr);
  EXPECT_EQ(At(s, 2, 1)->number, 2);
}

// ---- Sheets ----

TEST(XlsSheets, OrderFromBoundSheetRecords) {
  std::vector<SheetDef> sheets = {
      {u"第一", Number(0, 0, 1)},
      {u"Chart1", Number(0, 0, 9), 2, 0x0020},
      {u"Module", "", 6, 0x0010},
      {u"Third", Number(0, 0, 3)},
  };
  Workbook b = ReadOk(XlsFile(WorkbookStream(sheets, "", "", true)));
  ASSERT_EQ(b.sheets.size(), 3u);  // the code module is no sheet
  EXPECT_EQ(b.sheets[0].name, "第一");
  EXPECT_EQ(At(b.sheets[0], 1, 1)->number, 1);
  EXPECT_EQ(b.sheets[1].name, "Chart1");
  EXPECT_TRUE(b.sheets[1].cells.empty());
  EXPECT_EQ(b.sheets[2].name, "Third");
  EXPECT_EQ(At(b.sheets[2], 1, 1)->number, 3);
}

TEST(XlsSheets, WorksheetEntryHoldingMacrosHasNoCells) {
  std::vector<SheetDef> sheets = {{u"Macro", Number(0, 0, 1), 0, 0x0040},
                                  {u"Data", Number(0, 0, 2)}};
  Workbook b = ReadOk(XlsFile(WorkbookStream(sheets)));
  ASSERT_EQ(b.sheets.size(), 2u);
  EXPECT_TRUE(b.sheets[0].cells.empty());
  EXPECT_EQ(b.sheets[1].cells.size(), 1u);
}

// ---- Dates ----

// xf 0 general, 1 built-in 14, 2 custom "yyyy/m/d", 3 custom "0.00",
// 4 built-in 22 (date and time).
std::string DateStyles() {
  return Format(164, u"yyyy/m/d") + Format(165, u"0.00") + Xf(0) + Xf(14) +
         Xf(164) + Xf(165) + Xf(22);
}

TEST(XlsDates, FormatsDecideDates) {
  std::string cells = Number(0, 0, 45306, 0) + Number(0, 1, 45306, 1) +
                      Rk(0, 2, RkInt(45306), 2) + Number(0, 3, 45306, 3) +
                      Number(0, 4, 45306.5, 4) + Number(0, 5, 45306, 77) +
                      MulRk(1, 0, {RkInt(1), RkInt(60), RkInt(61)}, 1) +
                      FormulaNumber(2, 0, 45306, 2);
  Workbook b = ReadOk(XlsFile(OneSheet(cells, DateStyles())));
  const auto& s = b.sheets[0];
  EXPECT_EQ(At(s, 1, 1)->type, CellType::Number);
  EXPECT_EQ(At(s, 1, 2)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 1, 2)->number, 45306);
  EXPECT_EQ(At(s, 1, 3)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 1, 4)->type, CellType::Number);
  EXPECT_EQ(At(s, 1, 5)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 1, 5)->number, 45306.5);
  EXPECT_EQ(At(s, 1, 6)->type, CellType::Number);  // no such style
  // Serials before March 1900 move by one day into the automation scale.
  EXPECT_EQ(At(s, 2, 1)->number, 2);
  EXPECT_EQ(At(s, 2, 2)->number, 61);
  EXPECT_EQ(At(s, 2, 3)->number, 61);
  EXPECT_EQ(At(s, 3, 1)->type, CellType::DateTime);
}

TEST(XlsDates, Date1904System) {
  std::string cells = Number(0, 0, 43844, 1) + Number(0, 1, 43844, 0) +
                      Rk(0, 2, RkInt(0), 2);
  Workbook b = ReadOk(XlsFile(OneSheet(cells, DateMode1904() + DateStyles())));
  const auto& s = b.sheets[0];
  EXPECT_EQ(At(s, 1, 1)->number, 45306);
  EXPECT_EQ(At(s, 1, 2)->number, 43844);
  EXPECT_EQ(At(s, 1, 3)->number, 1462);
}

// A later FORMAT record for an id replaces an earlier one; styles naming
// an id no FORMAT defines use the built-in meaning of that id.
TEST(XlsDates, LaterFormatRecordWins) {
  std::string styles = Format(164, u"0.00") + Format(165, u"yyyy/m/d") +
                       Format(164, u"yyyy/m/d") + Format(165, u"0.00") +
                       Xf(164) + Xf(165) + Xf(15) + Xf(3000);
  std::string cells = Number(0, 0, 100, 0) + Number(0, 1, 100, 1) +
                      Number(0, 2, 100, 2) + Number(0, 3, 100, 3);
  Workbook b = ReadOk(XlsFile(OneSheet(cells, styles)));
  const auto& s = b.sheets[0];
  EXPECT_EQ(At(s, 1, 1)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 1, 2)->type, CellType::Number);
  EXPECT_EQ(At(s, 1, 3)->type, CellType::DateTime);  // built-in 15, d-mmm-yy
  EXPECT_EQ(At(s, 1, 4)->type, CellType::Number);
}

// ---- Before BIFF8: byte strings in the workbook's code page ----

// A BIFF5 workbook stream: globals (BOF, `globals`, one BOUNDSHEET per
// sheet, EOF), then one worksheet substream per sheet. Names are bytes.
std::string Biff5Stream(const std::string& globals,
                        const std::vector<std::pair<std::string, std::string>>& sheets) {
  std::string head = Bof(5, 0x0500) + globals;
  size_t at = head.size() + Eof().size();
  for (const auto& s : sheets) at += 4 + 7 + s.first.size();
  std::string bounds, subs;
  for (const auto& s : sheets) {
    bounds += Rec(0x0085, U32(static_cast<uint32_t>(at + subs.size())) + U8(0) + U8(0) +
                              U8(static_cast<uint8_t>(s.first.size())) + s.first);
    subs += Bof(0x0010, 0x0500) + s.second + Eof();
  }
  return head + bounds + Eof() + subs;
}
std::string ByteStr16(const std::string& bytes) {
  return U16(static_cast<uint16_t>(bytes.size())) + bytes;
}
std::string CodePage(uint16_t cp) { return Rec(0x0042, U16(cp)); }

TEST(XlsBiff5, TextInTheCodePageOfTheWorkbook) {
  const std::string ti = "\xCC\xE2", ku = "\xBF\xE2", nian = "\xC4\xEA";  // 题 库 年 in GBK
  std::string globals = CodePage(936) +
                        Rec(0x041E, U16(164) + U8(9) + "yyyy"" + nian + ""m") +
                        Xf(0) + Xf(164);
  std::string cells =
      Rec(0x0204, Cell(0, 0, 0) + ByteStr16(ti + "A")) +
      // RSTRING: the text, then its formatting runs.
      Rec(0x00D6, Cell(0, 1, 0) + ByteStr16(ku + ti) + U8(1) + U16(0x0100)) +
      Number(1, 0, 45306, 1) + FormulaSpecial(1, 1, 0) +
      Rec(0x0207, ByteStr16(ti + ti));
  Workbook b = ReadOk(XlsFile(Biff5Stream(globals, {{ti + ku, cells}, {"2", ""}})));
  ASSERT_EQ(b.sheets.size(), 2u);
  EXPECT_EQ(b.sheets[0].name, "题库");
  EXPECT_EQ(TextAt(b, 0, 1, 1), "题A");
  EXPECT_EQ(TextAt(b, 0, 1, 2), "库题");
  EXPECT_EQ(At(b.sheets[0], 2, 1)->type, CellType::DateTime);
  EXPECT_EQ(TextAt(b, 0, 2, 2), "题题");
  EXPECT_EQ(b.sheets[1].name, "2");
}

TEST(XlsBiff5, WesternWithoutCodePageAndUnknownCodePagesRefused) {
  std::string cells = Rec(0x0204, Cell(0, 0, 0) + ByteStr16("caf\xE9 \x80"));
  Workbook b = ReadOk(XlsFile(Biff5Stream("", {{"S\xE9", cells}})));
  EXPECT_EQ(b.sheets[0].name, "S\xC3\xA9");
  EXPECT_EQ(TextAt(b, 0, 1, 1), "caf\xC3\xA9 \xE2\x82\xAC");
  const std::string error = ReadErr(XlsFile(Biff5Stream(CodePage(932), {{"S", cells}})));
  EXPECT_NE(error.find("932"), std::string::npos) << error;
  // Cut short, a label is an error as in BIFF8.
  std::string cut = Rec(0x0204, Cell(0, 0, 0) + U16(5) + "ab");
  EXPECT_NE(ReadErr(XlsFile(Biff5Stream("", {{"S", cut}}))).find("文本单元格"),
            std::string::npos);
}

// The FORMAT record as far as it goes: a string shorter than its count
// is taken as it stands, a record without even its header leaves its
// cells in the general format.
TEST(XlsDates, FormatRecordsShorterThanTheyClaim) {
  std::string formats = Rec(0x041E, U16(164) + U16(9) + U8(1) + Chars(u"yyyy/m/d", true)) +
                        Rec(0x041E, U16(165) + U8(4)) + Xf(0) + Xf(164) + Xf(165);
  Workbook b = ReadOk(XlsFile(OneSheet(Number(0, 0, 45306, 1) + Number(0, 1, 45306, 2), "",
                                       formats)));
  EXPECT_EQ(At(b.sheets[0], 1, 1)->type, CellType::DateTime);
  EXPECT_EQ(At(b.sheets[0], 1, 2)->type, CellType::Number);
}

// Formula cells under the record number of the older formats, 0x0406,
// with their text in the STRING record after them.
TEST(XlsValues, FormulasUnderTheOlderRecordNumber) {
  auto old = [](std::string record) {
    record[1] = 0x04;
    return record;
  };
  std::string cells = old(FormulaNumber(0, 0, 6.5)) + old(FormulaSpecial(0, 1, 0)) +
                      StringRec(u"结果") + old(FormulaSpecial(0, 2, 1, 1));
  Workbook b = ReadOk(XlsFile(OneSheet(cells)));
  ASSERT_EQ(b.sheets[0].cells.size(), 3u);
  EXPECT_DOUBLE_EQ(At(b.sheets[0], 1, 1)->number, 6.5);
  EXPECT_EQ(TextAt(b, 0, 1, 2), "结果");
  EXPECT_EQ(At(b.sheets[0], 1, 3)->type, CellType::Boolean);
}

TEST(XlsRefused, BareOldWorksheetsNameTheirVersion) {
  for (auto [bof, version] : {std::pair<uint16_t, const char*>{0x0009, "BIFF2"},
                              {0x0209, "BIFF3"}, {0x0409, "BIFF4"}}) {
    std::string sheet = Rec(bof, U16(0) + U16(0x0010) + U16(0)) + Eof();
    EXPECT_NE(ReadErr(sheet).find(version), std::string::npos) << version;
  }
}

// ---- Refused streams ----

TEST(XlsRefused, EncryptedVersionAndStructure) {
  EXPECT_NE(ReadErr(XlsFile(OneSheet("", Rec(0x002F, U16(1) + U32(0)))))
                .find("加密"),
            std::string::npos);
  std::string biff4 = Bof(5, 0x0400) + Eof();
  EXPECT_NE(ReadErr(XlsFile(biff4)).find("BIFF5"), std::string::npos);
  EXPECT_NE(ReadErr(XlsFile(Number(0, 0, 1))).find("BOF"), std::string::npos);
  EXPECT_NE(ReadErr(XlsFile(Bof(0x10) + Eof())).find("全局"),
            std::string::npos);
  EXPECT_NE(ReadErr(XlsFile(Bof(5) + Eof())).find("没有工作表"),
            std::string::npos);
}

TEST(XlsRefused, RecordsBeyondTheStream) {
  // A cell record in a sheet claiming more bytes than are left.
  std::string stream = OneSheet(Number(0, 0, 1));
  stream.resize(stream.size() - Eof().size());
  stream += U16(0x0203) + U16(400) + std::string(10, '\0');
  EXPECT_NE(ReadErr(XlsFile(stream)).find("超出"), std::string::npos);
  // The same in the globals.
  std::string globals = Bof(5) + U16(0x00FC) + U16(900) + "abc";
  EXPECT_NE(ReadErr(XlsFile(globals)).find("超出"), std::string::npos);
  // Records too short for what they must hold.
  EXPECT_NE(ReadErr(XlsFile(OneSheet(Rec(0x0203, Cell(0, 0, 0) + "12"))))
                .find("长度"),
            std::string::npos);
  EXPECT_NE(ReadErr(XlsFile(OneSheet(Rec(0x00BD, U16(0) + U16(0) + U16(0)))))
                .find("长度"),
            std::string::npos);
}

TEST(XlsRefused, SheetOffsetsThatMissTheirBof) {
  std::string stream = OneSheet(Number(0, 0, 1));
  // The BOUNDSHEET's offset field follows BOF (20 bytes) and its header.
  std::string past = stream;
  Put32(&past, 24, 0x7FFFFFF0);
  EXPECT_NE(ReadErr(XlsFile(past)).find("Sheet1"), std::string::npos);
  // A name with line breaks is quoted on one line (found by fuzzing).
  std::string named = WorkbookStream({SheetDef{u"a\nb\r" + std::u16string(
                                                   80, u'长'),
                                               Number(0, 0, 1)}});
  Put32(&named, 24, 0x7FFFFFF0);
  std::string message = ReadErr(XlsFile(named));
  EXPECT_NE(message.find("a b "), std::string::npos) << message;
  EXPECT_LT(message.size(), 200u);
  std::string mid = stream;
  Put32(&mid, 24, 2);
  EXPECT_NE(ReadErr(XlsFile(mid)).find("位置无效"), std::string::npos);
}

// Sheets whose substreams overlap are refused: many BOUNDSHEET records
// naming one big substream would otherwise cost its size times their
// number.
TEST(XlsRefused, OverlappingSheets) {
  std::string big;
  for (int i = 0; i < 200; ++i) big += Number(static_cast<uint16_t>(i), 0, i);
  std::string stream =
      WorkbookStream({{u"Big", big}, {u"Small", Number(0, 0, 1)}});
  ReadOk(XlsFile(stream));
  // The second BOUNDSHEET's offset field (after BOF, 20 bytes, the first
  // BOUNDSHEET, 15, and its own header) gets the first one's (at 24).
  stream.replace(20 + 15 + 4, 4, stream.substr(24, 4));
  EXPECT_NE(ReadErr(XlsFile(stream)).find("重叠"), std::string::npos);
}

}  // namespace
