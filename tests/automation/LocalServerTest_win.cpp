// Our spreadsheet server as a local server, reached the way a client
// reaches a spreadsheet application in a process of its own: registered
// under "Excel.Application" in the test prefix, every call crossing
// processes through the system's marshalling.
#include <gtest/gtest.h>

#include <olectl.h>

#include "DispatchCalls_win.h"
#include "EventSink_win.h"
#include "LocalServerRegistration_win.h"
#include "OleSession_win.h"
#include "QxSheets.h"

namespace qx::test {
namespace {

constexpr wchar_t kServer[] = L"qxsheets-app.exe";
constexpr wchar_t kTypeLibMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// A value the system's view of the classes shows, or "<none>".
std::wstring ClassesValue(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t text[512];
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return L"<none>";
  return text;
}

IDispatch* CreateApplication() {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) return nullptr;
  IUnknown* unknown = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&unknown))))
    return nullptr;
  EXPECT_EQ(OleRun(unknown), S_OK);
  IDispatch* app = nullptr;
  unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&app));
  unknown->Release();
  return app;
}

class LocalServerTest : public testing::Test {
 protected:
  OleSession ole_;
  void SetUp() override {
    ASSERT_TRUE(ole_.ok());
    running = CountProcesses(kServer);
  }
  void TearDown() override {
    EXPECT_TRUE(WaitForProcessCount(kServer, running, 10000)) << "a server process outlived its client";
  }
  int running = 0;
};

TEST_F(LocalServerTest, RegistersUnderTheProgIdAndUnregistersExactlyThat) {
  const std::wstring clsid = L"CLSID\\" + GuidText(CLSID_QxSheetsApplication);
  const std::wstring range = L"Interface\\" + GuidText(IID_IQxRange);
  {
    LocalServerRegistration registration(L"/AsApplication");
    ASSERT_TRUE(registration.ok());
    CLSID found;
    ASSERT_EQ(CLSIDFromProgID(L"Excel.Application", &found), S_OK);
    EXPECT_TRUE(IsEqualCLSID(found, CLSID_QxSheetsApplication));
    std::wstring command = ClassesValue(clsid + L"\\LocalServer32");
    EXPECT_EQ(command, L"\"" + LocalServerPath() + L"\" /AsApplication");
    EXPECT_EQ(ClassesValue(clsid + L"\\InprocServer32"), L"<none>");
    // The interfaces go through the system's type-library marshaller, which
    // finds the library through the registry.
    EXPECT_EQ(ClassesValue(range + L"\\ProxyStubClsid32"), kTypeLibMarshaller);
    EXPECT_EQ(ClassesValue(range + L"\\TypeLib"), GuidText(LIBID_QxSheetsLib));
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(LIBID_QxSheetsLib, 1, 0, 0, &lib), S_OK);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(lib->GetTypeInfoOfGuid(IID_IQxRange, &info), S_OK);
    if (info) info->Release();
    lib->Release();
    // A second registration finds the first and writes nothing.
    EXPECT_EQ(RunProgram(LocalServerPath(), L"/RegServer"), 1);
    EXPECT_EQ(ClassesValue(clsid + L"\\LocalServer32"), command);
  }
  CLSID found;
  EXPECT_NE(CLSIDFromProgID(L"Excel.Application", &found), S_OK);
  EXPECT_EQ(ClassesValue(clsid), L"<none>");
  EXPECT_EQ(ClassesValue(range), L"<none>");
  ITypeLib* lib = nullptr;
  EXPECT_NE(LoadRegTypeLib(LIBID_QxSheetsLib, 1, 0, 0, &lib), S_OK);
  // Removing what is not there is no failure.
  EXPECT_EQ(RunProgram(LocalServerPath(), L"/UnregServer"), 0);
  EXPECT_EQ(RunProgram(LocalServerPath(), L"/NoSuchSwitch"), 2);
}

// One process per client, as an application started for automation; the
// process ends with the last reference to any of its objects.
TEST_F(LocalServerTest, EachClientGetsAProcessThatEndsWithItsLastObject) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  IDispatch* first = CreateApplication();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(CountProcesses(kServer), running + 1);
  IDispatch* second = CreateApplication();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(CountProcesses(kServer), running + 2);
  {
    Var books = Get(first, L"Workbooks");
    Method(books.obj(), L"Add");
    Var sheet = GetId(GetId(GetId(first, 0x94).obj(), 0x1E5).obj(), 0xAA, {Var(1)});
    Put(Get(sheet.obj(), L"Range", {Var(L"A1")}).obj(), L"Value", Var(L"题目"));
    Put(Get(sheet.obj(), L"Range", {Var(L"B2")}).obj(), L"Value", Var(2.5));
    first->Release();  // the sheet still holds the process
    first = nullptr;
    EXPECT_EQ(CountProcesses(kServer), running + 2);
    // A block comes back as one array, copied across.
    Var block = Get(Get(sheet.obj(), L"Range", {Var(L"A1:B2")}).obj(), L"Value");
    ASSERT_EQ(block.type(), VT_ARRAY | VT_VARIANT);
    VARIANT* cells = nullptr;
    ASSERT_EQ(SafeArrayAccessData(V_ARRAY(&block.v), reinterpret_cast<void**>(&cells)), S_OK);
    EXPECT_EQ(std::wstring(V_BSTR(&cells[0])), L"题目");
    EXPECT_EQ(V_VT(&cells[1]), VT_EMPTY);
    EXPECT_EQ(V_R8(&cells[3]), 2.5);
    SafeArrayUnaccessData(V_ARRAY(&block.v));
  }
  EXPECT_TRUE(WaitForProcessCount(kServer, running + 1, 10000));
  second->Release();
}

// The proxies are the type-library marshaller's: the dual interfaces can be
// called through their vtables, not only through IDispatch.
TEST_F(LocalServerTest, DualInterfacesAreProxiedFromTheRegisteredTypeLibrary) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  IDispatch* app = CreateApplication();
  ASSERT_NE(app, nullptr);
  IQxApplication* typed = nullptr;
  ASSERT_EQ(app->QueryInterface(IID_IQxApplication, reinterpret_cast<void**>(&typed)), S_OK);
  IQxWorkbooks* books = nullptr;
  ASSERT_EQ(typed->get_Workbooks(&books), S_OK);
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  IQxWorkbook* book = nullptr;
  ASSERT_EQ(books->Add(missing, &book), S_OK);
  IQxSheets* sheets = nullptr;
  ASSERT_EQ(book->get_Sheets(&sheets), S_OK);
  Var one(1);
  IQxWorksheet* sheet = nullptr;
  ASSERT_EQ(sheets->get_Item(one.v, &sheet), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(sheet->get_Name(&name), S_OK);
  EXPECT_EQ(std::wstring(name), L"Sheet1");
  SysFreeString(name);
  IQxRange* range = nullptr;
  Var address(L"C3");
  ASSERT_EQ(sheet->get_Range(address.v, missing, &range), S_OK);
  Var text(L"跨进程");
  EXPECT_EQ(range->put_Value(text.v), S_OK);
  Var back;
  EXPECT_EQ(range->get_Value(&back.v), S_OK);
  EXPECT_EQ(back.text(), L"跨进程");
  long row = 0;
  EXPECT_EQ(range->get_Row(&row), S_OK);
  EXPECT_EQ(row, 3);
  for (IUnknown* p : std::initializer_list<IUnknown*>{range, sheet, sheets, book, books, typed, app})
    p->Release();
}

TEST_F(LocalServerTest, EventsAndTheReasonOfAFailedOpenCrossToTheClient) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  IDispatch* app = CreateApplication();
  ASSERT_NE(app, nullptr);
  EventSink sink;
  IConnectionPointContainer* container = nullptr;
  ASSERT_EQ(app->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
  IConnectionPoint* point = nullptr;
  ASSERT_EQ(container->FindConnectionPoint(kAppEvents, &point), S_OK);
  container->Release();
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  {
    Var books = Get(app, L"Workbooks");
    Method(books.obj(), L"Add");
    ASSERT_EQ(sink.events.size(), 2u) << "NewWorkbook, then WorkbookActivate";
    EXPECT_EQ(sink.events[0].id, 0x61D);
    EXPECT_EQ(sink.events[1].id, 0x620);
    EXPECT_EQ(sink.events[1].book, L"Book1");
    CallResult open = Call(books.obj(), 0x2AA, DISPATCH_METHOD, {Var(L"C:\\没有这个文件.xlsx")});
    EXPECT_EQ(open.hr, DISP_E_EXCEPTION);
    EXPECT_NE(open.description.find(L"没有这个文件.xlsx"), std::wstring::npos)
        << testing::PrintToString(open.description);
  }
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  point->Release();
  EXPECT_EQ(sink.refs, 1u) << "the server let go of the sink";
  app->Release();
}

// Quit ends the process at once, whatever the client still holds; what the
// client holds then fails, quickly, instead of hanging.
TEST_F(LocalServerTest, QuitEndsTheProcessWhileTheClientStillHoldsIt) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  IDispatch* app = CreateApplication();
  ASSERT_NE(app, nullptr);
  Var books = Get(app, L"Workbooks");
  EXPECT_EQ(CountProcesses(kServer), running + 1);
  EXPECT_EQ(Call(app, 0x12E, DISPATCH_METHOD).hr, S_OK);
  EXPECT_TRUE(WaitForProcessCount(kServer, running, 10000));
  DWORD start = GetTickCount();
  EXPECT_NE(Call(books.obj(), 0x76, DISPATCH_PROPERTYGET).hr, S_OK);
  app->Release();
  EXPECT_LT(GetTickCount() - start, 5000u);
}

// Started by hand, the server is a user's own spreadsheet: it serves no
// client, and a client's creation starts a process of its own beside it.
TEST_F(LocalServerTest, ACopyStartedByHandServesNobodyAndStays) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  std::wstring line = L"\"" + LocalServerPath() + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION users = {};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &users));
  CloseHandle(users.hThread);
  HWND window = nullptr;
  for (int i = 0; i < 200 && !window; ++i, Sleep(50)) window = FindWindowW(nullptr, L"Quillox Sheets");
  ASSERT_NE(window, nullptr);
  IDispatch* app = CreateApplication();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(CountProcesses(kServer), running + 2);
  app->Release();
  EXPECT_TRUE(WaitForProcessCount(kServer, running + 1, 10000));
  EXPECT_EQ(WaitForSingleObject(users.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(users.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(users.hProcess);
}

}  // namespace
}  // namespace qx::test
