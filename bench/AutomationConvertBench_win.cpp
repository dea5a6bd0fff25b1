// The window program's conversion path, timed under Wine: a window with the
// two spreadsheet controls, our spreadsheet server beside this program, and
// the converter's worksheet source, from opening the workbook to the whole
// text. Each file is converted five times; the median is printed.
//
//   automation_convert_bench FILE... [--protocol]
//
// --protocol also times the cell-by-cell protocol (three property accesses
// and three automation calls per cell) for comparison.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/AutomationWorksheet_win.h"
#include "app/Conversion.h"
#include "automation/SpreadsheetLibrary_win.h"
#include "runtime/Lifecycle.h"
#include "ui/DescriptionWriter.h"
#include "ui/Events.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace {

constexpr uint32_t kWindow = 0x52010001, kApp = 0x16010002, kBooks = 0x16010003;

void NoHandler(qx::TaggedValue*, int32_t, const uintptr_t*) {}
const qx::EventHandlerFn kCode[1] = {NoHandler};

bool LoadControls() {
  using namespace qx;
  InstallWindowRuntime();
  CreateHiddenOwner();
  static const LibraryRecord* libs[2] = {CoreLibrary(), SpreadsheetLibrary()};
  StartLibraries(libs, 2);
  WindowTemplate w;
  w.id = kWindow;
  w.records.push_back(MakeUnitRecord(0x06010000, kTagWindow, "", 0, 0, 300, 200, 0,
                                     WriteWindowSettings(WindowSettings())));
  w.records.push_back(MakeUnitRecord(kBooks, kTagExcelWorkbooks, "Excel工作簿", 0, 0, 48, 40, 0, ""));
  w.records.push_back(MakeUnitRecord(kApp, kTagExcelApp, "Excel程序", 0, 0, 32, 32, 0, ""));
  static std::string block = WriteDescription({w});
  return LoadWindowDescriptions(block.data(), static_cast<uint32_t>(block.size()), kCode) &&
         LoadWindow(FindWindowTemplate(kWindow), false, false, nullptr);
}

double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double MedianConversion(const std::string& path, bool fast, size_t* bytes) {
  std::vector<double> times;
  for (int i = 0; i < (fast ? 5 : 1); ++i) {
    qx::app::AutomationWorksheet w;
    w.windowId = kWindow;
    w.applicationControl = kApp;
    w.workbookControl = kBooks;
    w.fastPaths = fast;
    std::string text;
    qx::app::OpenSheetFailure error;
    double start = Seconds();
    bool ok = qx::app::ConvertWorksheetToText(qx::app::MakeAutomationWorksheetSource(&w), path,
                                              &text, &error);
    times.push_back(Seconds() - start);
    qx::app::EndAutomationWorksheet(&w);
    if (!ok) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(),
                   qx::reader::OpenFailureReason(error.file).c_str());
      return -1;
    }
    *bytes = text.size();
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  if (!LoadControls()) {
    std::fprintf(stderr, "the controls could not be loaded\n");
    return 1;
  }
  bool protocol = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--protocol") == 0)
      protocol = true;
    else
      files.push_back(argv[i]);
  }
  for (const std::string& f : files) {
    size_t bytes = 0;
    double fast = MedianConversion(f, true, &bytes);
    std::printf("%-40s blocks and search: %8.3f s  (%zu bytes of text)\n", f.c_str(), fast, bytes);
    if (protocol) {
      double slow = MedianConversion(f, false, &bytes);
      std::printf("%-40s cell by cell:      %8.3f s  (%.0fx)\n", f.c_str(), slow, slow / fast);
    }
  }
  return 0;
}
