// A fresh application object of our server per test, created from the DLL
// beside the test program; every test ends with no server object alive.
#pragma once

#include <gtest/gtest.h>

#include "DispatchCalls_win.h"
#include "OleSession_win.h"
#include "automation/SheetServer_win.h"

namespace qx::test {

class ServerTest : public testing::Test {
 protected:
  OleSession ole_;
  void SetUp() override {
    ASSERT_TRUE(ole_.ok());
    ASSERT_EQ(qx::CreateSheetServerFrom(ServerDllPath(), &app), S_OK);
  }
  void TearDown() override {
    if (app) app->Release();
    app = nullptr;
    EXPECT_EQ(LiveObjects(), 0) << "a server object outlived every reference to it";
  }
  // A new blank workbook, active; its first sheet.
  Var AddSheet() {
    Var books = Get(app, L"Workbooks");
    Var book = Method(books.obj(), L"Add");
    return Get(Get(book.obj(), L"Sheets").obj(), L"Item", {Var(1)});
  }
  void PutCell(IDispatch* sheet, const wchar_t* address, const Var& value) {
    Var range = Get(sheet, L"Range", {Var(address)});
    Put(range.obj(), L"Value", value);
  }

  IDispatch* app = nullptr;
};

}  // namespace qx::test
