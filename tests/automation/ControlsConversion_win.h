// The conversion through the window's two spreadsheet controls (a
// SpreadsheetWindow's), and the headless converter's document to hold it
// against.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "SpreadsheetWindow_win.h"
#include "app/AutomationWorksheet_win.h"
#include "app/Conversion.h"
#include "app/ReaderWorksheet.h"

namespace qx::test {

// fast: read in blocks and with the application's search where it can;
// otherwise cell by cell, three property accesses a cell.
inline bool ConvertThroughControls(const std::string& path, bool fast, std::string* text,
                                   app::OpenSheetFailure* error = nullptr) {
  app::AutomationWorksheet w;
  w.windowId = kWindow;
  w.applicationControl = kApp;
  w.workbookControl = kBooks;
  w.fastPaths = fast;
  bool ok = app::ConvertWorksheetToText(app::MakeAutomationWorksheetSource(&w), path, text, error);
  app::EndAutomationWorksheet(&w);
  return ok;
}

inline std::string ConvertByReader(const std::string& path) {
  app::ReaderWorksheet r;
  std::string text;
  EXPECT_TRUE(app::ConvertWorksheetToText(app::MakeReaderWorksheetSource(&r), path, &text, nullptr))
      << path;
  return text;
}

// Equal documents; otherwise where they part, with a little of each (a
// document of empty rows is a line of many thousand prefixes).
inline testing::AssertionResult SameDocument(const std::string& got, const std::string& expected) {
  if (got == expected) return testing::AssertionSuccess();
  size_t at = 0;
  while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
  size_t from = at > 40 ? at - 40 : 0;
  return testing::AssertionFailure() << "the documents part at byte " << at << " of " << got.size()
                                     << " (expected " << expected.size() << "): got "
                                     << testing::PrintToString(got.substr(from, 100)) << ", expected "
                                     << testing::PrintToString(expected.substr(from, 100));
}

}  // namespace qx::test
