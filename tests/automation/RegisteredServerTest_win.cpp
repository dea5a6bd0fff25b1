// The way a client reaches a spreadsheet application, with our server
// registered under "Excel.Application" in the test prefix only: ProgID to
// class id, CoCreateInstance with the contexts the application control
// uses, OleRun, IDispatch.
#include <gtest/gtest.h>

#include "DispatchCalls_win.h"
#include "OleSession_win.h"
#include "QxSheets.h"
#include "RegisterServer_win.h"

namespace qx::test {
namespace {

TEST(RegisteredServer, ReachedThroughTheProgId) {
  OleSession ole;
  ASSERT_TRUE(ole.ok());
  CLSID clsid;
  {
    ServerRegistration registration(ServerDllPath());
    if (!registration.ok()) GTEST_SKIP() << registration.why();
    ASSERT_EQ(CLSIDFromProgID(L"Excel.Application", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_QxSheetsApplication));
    IUnknown* unknown = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (hr == E_INVALIDARG) hr = CoCreateInstance(clsid, nullptr, 0x7, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(OleRun(unknown), S_OK);
    IDispatch* app = nullptr;
    ASSERT_EQ(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&app)), S_OK);
    unknown->Release();
    {
      Var books = GetId(app, 0x23C);
      EXPECT_EQ(Call(books.obj(), 0xB5, DISPATCH_METHOD, {Var::Missing()}).hr, S_OK);
      Var sheet = GetId(GetId(GetId(app, 0x94).obj(), 0x1E5).obj(), 0xAA, {Var(1)});
      EXPECT_EQ(Get(sheet.obj(), L"Index").number(), 1);
      EXPECT_GT(LiveObjects(), 0);
    }
    app->Release();
    EXPECT_EQ(LiveObjects(), 0);
  }
  // Gone again with the registration.
  EXPECT_NE(CLSIDFromProgID(L"Excel.Application", &clsid), S_OK);
}

}  // namespace
}  // namespace qx::test
