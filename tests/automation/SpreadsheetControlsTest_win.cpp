// The two spreadsheet controls on a real window, against a stand-in
// application that logs every call it receives.
#include <ole2.h>

#include <gtest/gtest.h>

#include "FakeApplication_win.h"
#include "SpreadsheetWindow_win.h"
#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"
#include "automation/ObjectBlock.h"
#include "automation/SpreadsheetLibrary_win.h"
#include "runtime/Lifecycle.h"
#include "runtime/Memory.h"
#include "ui/DescriptionWriter.h"
#include "ui/Events.h"
#include "ui/TypeBlocks.h"
#include "ui/Properties.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx::test {
namespace {


// A workbook model: sheets of cells by address; Open knows one file.
struct FakeExcel {
  std::vector<std::string> log;
  FakeObject* app;
  FakeObject* workbooks;
  int quits = 0;
  std::string background;  // how SetBackgroundPicture was called, and with what
  std::map<std::string, std::string> cells = {{"A1", "题目"}, {"B2", "2"}};

  static VARIANT Text(const std::string& s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    V_BSTR(&v) = SysAllocStringLen(nullptr, n - 1);
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, V_BSTR(&v), n);
    return v;
  }
  static std::string Ansi(const VARIANT& v) {
    if (V_VT(&v) != VT_BSTR) return "?";
    int n = WideCharToMultiByte(CP_ACP, 0, V_BSTR(&v), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n - 1, 0);
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(&v), -1, s.data(), n, nullptr, nullptr);
    return s;
  }

  FakeObject* Sheets(const char* name, int count) {
    auto* sheets = new FakeObject(name, &log);
    sheets->members[0xAA] = [this, count, name](WORD, DISPPARAMS* p, VARIANT* r) {
      if (p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_I4) return DISP_E_TYPEMISMATCH;
      int n = V_I4(&p->rgvarg[0]);
      if (n < 1 || n > count) return DISP_E_EXCEPTION;
      auto* sheet = new FakeObject(std::string(name) + "[" + std::to_string(n) + "]", &log);
      sheet->members[0x1E6] = [n](WORD, DISPPARAMS*, VARIANT* r) {
        V_VT(r) = VT_I4;
        V_I4(r) = n;
        return S_OK;
      };
      sheet->members[0x4A4] = [this](WORD flags, DISPPARAMS* p, VARIANT*) {
        bool call = flags == DISPATCH_METHOD && p->cArgs == 1 && p->cNamedArgs == 0;
        background = (call ? "call " : "? ") + Ansi(p->rgvarg[0]);
        return S_OK;
      };
      sheet->members[0xC5] = [this](WORD, DISPPARAMS* p, VARIANT* r) {
        std::string a = Ansi(p->rgvarg[p->cArgs - 1]);
        if (a.empty() || a[0] < 'A' || a[0] > 'Z') return DISP_E_EXCEPTION;
        auto* range = new FakeObject("range " + a, &log);
        range->members[0x427] = [](WORD, DISPPARAMS*, VARIANT* r) {
          V_VT(r) = VT_NULL;  // cells that differ; the data word left as it was
          V_I4(r) = 1;
          return S_OK;
        };
        range->members[0x6] = [this, a](WORD, DISPPARAMS*, VARIANT* r) {
          auto it = cells.find(a);
          if (it != cells.end()) *r = Text(it->second);
          return S_OK;
        };
        HRESULT hr = ReturnObject(r, range);
        range->Release();
        return hr;
      };
      HRESULT hr = ReturnObject(r, sheet);
      sheet->Release();
      return hr;
    };
    return sheets;
  }

  FakeExcel() {
    app = new FakeObject("app", &log);
    workbooks = new FakeObject("workbooks", &log);
    app->members[0x23C] = [this](WORD, DISPPARAMS*, VARIANT* r) { return ReturnObject(r, workbooks); };
    app->members[0x94] = [this](WORD, DISPPARAMS*, VARIANT* r) { return ReturnObject(r, app); };
    app->members[0x1E5] = [this](WORD, DISPPARAMS*, VARIANT* r) {
      FakeObject* s = Sheets("blank", 1);
      HRESULT hr = ReturnObject(r, s);
      s->Release();
      return hr;
    };
    app->members[0x12E] = [this](WORD, DISPPARAMS*, VARIANT*) {
      ++quits;
      return S_OK;
    };
    app->members[0x188] = [](WORD, DISPPARAMS*, VARIANT* r) {
      *r = Text("16.0");
      return S_OK;
    };
    workbooks->members[0xB5] = [](WORD, DISPPARAMS*, VARIANT*) { return S_OK; };
    workbooks->members[0x115] = [](WORD, DISPPARAMS*, VARIANT*) { return S_OK; };
    workbooks->members[0x2AA] = [this](WORD, DISPPARAMS* p, VARIANT* r) {
      if (p->cArgs != 13) return DISP_E_BADPARAMCOUNT;
      if (Ansi(p->rgvarg[12]) != "题库.xlsx") return DISP_E_EXCEPTION;
      auto* book = new FakeObject("book", &log);
      book->members[0x1E5] = [this](WORD, DISPPARAMS*, VARIANT* r) {
        FakeObject* s = Sheets("book", 2);
        HRESULT hr = ReturnObject(r, s);
        s->Release();
        return hr;
      };
      book->members[0x130] = [](WORD, DISPPARAMS*, VARIANT*) { return S_OK; };
      HRESULT hr = ReturnObject(r, book);
      book->Release();
      return hr;
    };
  }
  ~FakeExcel() {
    workbooks->Release();
    app->Release();
  }
  bool Asked(const std::string& call) const {
    return std::find(log.begin(), log.end(), call) != log.end();
  }
};

FakeExcel* g_fake = nullptr;
HRESULT CreateFake(IUnknown** out) {
  if (!g_fake) return REGDB_E_CLASSNOTREG;
  *out = g_fake->app;
  g_fake->app->AddRef();
  return S_OK;
}
const ApplicationFactory kFakeFactory = {CreateFake};

class SpreadsheetControls : public SpreadsheetWindow {
 protected:
  void SetUp() override {
    SetApplicationFactory(&kFakeFactory);
    SpreadsheetWindow::SetUp();
  }
  void TearDown() override {
    SpreadsheetWindow::TearDown();
    SetApplicationFactory(nullptr);
    g_fake = nullptr;
  }
};

TEST_F(SpreadsheetControls, DetachedControlsAnswerDefaultsAndDoNothing) {
  EXPECT_FALSE(Start()) << "no application can be created";
  EXPECT_EQ(GetWord(kApp, 22), 0);
  EXPECT_EQ(GetWord(kApp, 14), 0);
  EXPECT_EQ(GetText(kApp, 16), "");
  Run(ReleaseApplication, kApp, kTagExcelApp);
  Run(QuitApplication, kApp, kTagExcelApp);
  EXPECT_FALSE(Attach()) << "the application control is detached";
  EXPECT_FALSE(Open("题库.xlsx")) << "no Workbooks before the attach step";
  EXPECT_EQ(GetText(kBooks, kWorkbooksCellContent), "");
  TaggedValue sheet = Run(GetCurrentSheetObject, kBooks, kTagExcelWorkbooks);
  auto* block = static_cast<ObjectBlock*>(ValuePointer(sheet));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->iface, nullptr);
  FreeObjectBlock(block);
}

TEST_F(SpreadsheetControls, StartingTwiceReleasesTheFirstWithoutQuit) {
  FakeExcel fake;
  g_fake = &fake;
  ASSERT_TRUE(Start());
  EXPECT_EQ(GetWord(kApp, 22), 1);
  EXPECT_EQ(GetText(kApp, 16), "16.0");
  ULONG held = fake.app->references;
  ASSERT_TRUE(Start());
  EXPECT_EQ(fake.app->references, held) << "the first reference went, one new one is held";
  EXPECT_EQ(fake.quits, 0);
  Run(ReleaseApplication, kApp, kTagExcelApp);
  EXPECT_EQ(GetWord(kApp, 22), 0);
  Run(QuitApplication, kApp, kTagExcelApp);
  EXPECT_EQ(fake.quits, 0) << "no Quit after the release";
  EXPECT_EQ(fake.app->references, 1u);
}

TEST_F(SpreadsheetControls, TheConvertersSequenceReadsCellsOfTheOpenedWorkbook) {
  FakeExcel fake;
  g_fake = &fake;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  EXPECT_TRUE(fake.Asked("workbooks.181")) << "Add makes the blank workbook";
  Run(ActivateWorkbook, kBooks, kTagExcelWorkbooks);  // the application refuses: swallowed
  ASSERT_TRUE(Open("题库.xlsx"));
  TaggedValue one = MakeInt(1);
  SetUnitProperty(kWindow, kBooks, kWorkbooksCurrentSheetIndex, -1, one.lo, one.hi);
  EXPECT_EQ(GetWord(kBooks, kWorkbooksCurrentSheetIndex), 1);
  EXPECT_EQ(Cell("A1"), "题目");
  EXPECT_EQ(Cell("B2"), "2");
  EXPECT_EQ(Cell("C9"), "");
  EXPECT_EQ(Cell("[1"), "") << "an address the application rejects gives empty text";
  // CellContent reads RangeStart whatever RangeEnd says.
  SetText(kWorkbooksRangeStart, "A1");
  SetText(kWorkbooksRangeEnd, "B2");
  EXPECT_EQ(GetText(kBooks, kWorkbooksCellContent), "题目");
  EXPECT_EQ(GetText(kBooks, kWorkbooksRangeEnd), "B2");
  // A sheet number past the count leaves the current sheet.
  TaggedValue nine = MakeInt(9);
  SetUnitProperty(kWindow, kBooks, kWorkbooksCurrentSheetIndex, -1, nine.lo, nine.hi);
  EXPECT_EQ(GetWord(kBooks, kWorkbooksCurrentSheetIndex), 1);
  TaggedValue two = MakeInt(2);
  SetUnitProperty(kWindow, kBooks, kWorkbooksCurrentSheetIndex, -1, two.lo, two.hi);
  EXPECT_EQ(GetWord(kBooks, kWorkbooksCurrentSheetIndex), 2);
}

// Only a stand-in sees these: the application draws the picture and has
// nothing to read it back by, and refuses writes of what it only reports.
TEST_F(SpreadsheetControls, ReadOnlySettingsAskNothingAndTheBackgroundPictureIsAMethod) {
  FakeExcel fake;
  g_fake = &fake;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  fake.log.clear();
  for (int32_t p : {kWorkbooksSheetCount, kWorkbooksReserved})
    SetUnitProperty(kWindow, kBooks, p, -1, 5, 0);
  TaggedValue height = MakeDouble(20);
  SetUnitProperty(kWindow, kBooks, kWorkbooksStandardHeight, -1, height.lo, height.hi);
  EXPECT_EQ(GetText(kBooks, kWorkbooksSheetBackground), "");
  EXPECT_TRUE(fake.log.empty()) << "asked: " << (fake.log.empty() ? "" : fake.log[0]);
  SetText(kWorkbooksSheetBackground, "C:\\背景.bmp");
  EXPECT_EQ(fake.background, "call C:\\背景.bmp");
}

TEST_F(SpreadsheetControls, ALogicalTheApplicationAnswersWithNullReadsFalse) {
  FakeExcel fake;
  g_fake = &fake;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  SetText(kWorkbooksRangeStart, "A1");
  SetText(kWorkbooksRangeEnd, "B2");
  EXPECT_EQ(GetWord(kBooks, kWorkbooksAddIndent), 0);
  EXPECT_TRUE(fake.Asked("range A1.1063"));
}

TEST_F(SpreadsheetControls, AnOpenThatFailsIsAFailureAndKeepsTheReferences) {
  FakeExcel fake;
  g_fake = &fake;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  EXPECT_FALSE(Open("不存在.xlsx"));
  // Still the blank workbook's first sheet of the attach step.
  EXPECT_EQ(GetWord(kBooks, kWorkbooksCurrentSheetIndex), 1);
  ASSERT_TRUE(Open("题库.xlsx"));
  EXPECT_FALSE(Open("不存在.xlsx"));
  EXPECT_EQ(Cell("A1"), "题目") << "the opened workbook stays current";
}

TEST_F(SpreadsheetControls, RangeEndNeedsASheetAndDetachForgetsEverything) {
  FakeExcel fake;
  g_fake = &fake;
  SetText(kWorkbooksRangeStart, "A1");
  SetText(kWorkbooksRangeEnd, "A1");  // no sheet: not stored
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  ASSERT_TRUE(Open("题库.xlsx"));
  EXPECT_EQ(GetText(kBooks, kWorkbooksRangeEnd), "") << "no range was ever built";
  EXPECT_EQ(Cell("A1"), "题目");
  Run(DetachWorkbooks, kBooks, kTagExcelWorkbooks);
  EXPECT_EQ(GetText(kBooks, kWorkbooksRangeStart), "");
  EXPECT_EQ(GetText(kBooks, kWorkbooksCellContent), "");
  fake.log.clear();
  Run(CloseAllWorkbooks, kBooks, kTagExcelWorkbooks);
  EXPECT_TRUE(fake.log.empty()) << "nothing to close after the detach";
}

TEST_F(SpreadsheetControls, TheWindowsEndReleasesEveryReference) {
  int before = FakeObject::Live();
  {
    FakeExcel fake;
    g_fake = &fake;
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Attach());
    ASSERT_TRUE(Open("题库.xlsx"));
    Cell("A1");
    DestroyWindow(static_cast<HWND>(LiveUnit(FindWindowTemplate(kWindow)->records[0])->hwnd));
    EXPECT_EQ(fake.quits, 0) << "the end quits nothing";
    EXPECT_EQ(fake.app->references, 1u);
    EXPECT_EQ(fake.workbooks->references, 1u);
  }
  EXPECT_EQ(FakeObject::Live(), before);
}

}  // namespace
}  // namespace qx::test
