// The text a client makes of each cell value the server hands out (the
// platform's coercion to BSTR, then the ANSI code page, as the workbook
// control does) equals what the headless converter prints for that cell,
// for every cell of every workbook we ship.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServerFixture_win.h"
#include "reader/Workbook.h"

namespace qx::test {
namespace {

// What the workbook control makes of a value: coerced to BSTR (flags 0),
// then to the ANSI code page; a value with no text gives empty text.
std::string ControlText(const Var& value) {
  VARIANT text;
  VariantInit(&text);
  if (V_VT(&value.v) == VT_EMPTY) return {};
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value.v), 0, VT_BSTR))) return {};
  std::string out;
  if (V_BSTR(&text)) {
    int wlen = static_cast<int>(SysStringLen(V_BSTR(&text)));
    int n = WideCharToMultiByte(CP_ACP, 0, V_BSTR(&text), wlen, nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(&text), wlen, out.data(), n, nullptr, nullptr);
  }
  VariantClear(&text);
  return out;
}

class TextTest : public ServerTest, public testing::WithParamInterface<const char*> {};

TEST_P(TextTest, EveryCellReadsAsTheConverterPrintsIt) {
  ASSERT_EQ(GetACP(), 936u) << "the comparison needs code page 936";
  const std::string relative = GetParam();
  qx::reader::Workbook book;
  qx::reader::OpenFailure error;
  const bool readable = qx::reader::OpenWorkbookFile(std::string(QX_SOURCE_DIR) + "/" + relative, &book, &error);
  // The wide path from the same GBK bytes.
  std::wstring path = SourcePath("");
  {
    std::string gbk = relative;
    int n = MultiByteToWideChar(936, 0, gbk.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.c_str(), -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    for (wchar_t& c : w)
      if (c == L'/') c = L'\\';
    path += w;
  }
  Var books = Get(app, L"Workbooks");
  CallResult opened = Call(books.obj(), 0x2AA, DISPATCH_METHOD, {Var(path.c_str())});
  if (!readable) {
    // A file the converter refuses, the server refuses with the same
    // reason (the part after the file name).
    EXPECT_EQ(opened.hr, DISP_E_EXCEPTION);
    std::string reason = qx::reader::OpenFailureReason(error);
    int n = MultiByteToWideChar(CP_UTF8, 0, reason.c_str(), -1, nullptr, 0);
    std::wstring wreason(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, reason.c_str(), -1, wreason.data(), n);
    wreason.resize(static_cast<size_t>(n - 1));
    EXPECT_NE(opened.description.find(wreason), std::wstring::npos) << testing::PrintToString(opened.description);
    return;
  }
  ASSERT_EQ(opened.hr, S_OK) << testing::PrintToString(opened.description);
  Var sheets = GetId(opened.value.obj(), 0x1E5);
  ASSERT_EQ(GetId(sheets.obj(), 0x76).number(), static_cast<double>(book.sheets.size()));
  int differences = 0, cells = 0;
  for (size_t s = 0; s < book.sheets.size(); ++s) {
    Var sheet = GetId(sheets.obj(), 0xAA, {Var(static_cast<int>(s + 1))});
    for (const qx::reader::Cell& cell : book.sheets[s].cells) {
      std::string address = qx::reader::ColumnName(cell.col) + std::to_string(cell.row);
      std::wstring waddress(address.begin(), address.end());
      Var range = GetId(sheet.obj(), 0xC5, {Var(waddress.c_str()), Var(waddress.c_str())});
      std::string got = ControlText(GetId(range.obj(), 0x6));
      std::string want = qx::reader::CellDisplayText(book, cell);
      ++cells;
      if (got != want && ++differences <= 20)
        ADD_FAILURE() << relative << " sheet " << s + 1 << " " << address << " type "
                      << static_cast<int>(cell.type) << ": server gives \"" << got
                      << "\", the converter \"" << want << "\"";
    }
    // The used range as one block gives the same texts.
    qx::reader::UsedRange used = qx::reader::GetUsedRange(book.sheets[s]);
    Var block = GetId(Get(sheet.obj(), L"UsedRange").obj(), 0x6);
    if (used.rowCount * used.colCount == 1) continue;
    ASSERT_EQ(block.type(), VT_ARRAY | VT_VARIANT);
    for (const qx::reader::Cell& cell : book.sheets[s].cells) {
      LONG index[2] = {cell.row - used.firstRow + 1, cell.col - used.firstCol + 1};
      Var v;
      ASSERT_EQ(SafeArrayGetElement(V_ARRAY(&block.v), index, &v.v), S_OK);
      EXPECT_EQ(ControlText(v), qx::reader::CellDisplayText(book, cell));
    }
  }
  EXPECT_EQ(differences, 0) << "of " << cells << " cells";
  EXPECT_GT(cells, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, TextTest,
    testing::Values("samples/题库示例.xlsx", "samples/题库示例.xls", "samples/题库示例.ods",
                    "samples/题库示例.csv", "tests/reader/data/date1904.xlsx",
                    "tests/reader/data/types-gnm.ods", "tests/reader/data/types-gnm.xlsx",
                    "tests/reader/data/types-lo.ods", "tests/reader/data/types-lo.xlsx",
                    "tests/reader/data/malformed-utf8.xlsx",
                    "tests/reader/data/types.xlsx", "tests/reader_xls/data/gnumeric_biff5.xls",
                    "tests/reader_xls/data/gnumeric_csv.xls", "tests/reader_xls/data/gnumeric_dual.xls",
                    "tests/reader_xls/data/gnumeric_formulas.xls", "tests/reader_xls/data/questions.csv",
                    "tests/reader_xls/data/xlwt_basic.xls"));

}  // namespace
}  // namespace qx::test
