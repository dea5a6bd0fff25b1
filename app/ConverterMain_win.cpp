// quillox.exe: the converter's window program. Its header hands the runtime
// the stored window description, the handlers' code table and the program's
// libraries, in the order the description's type tags number them.
#include <windows.h>

#include <iterator>

#include "app/ConverterHandlers_win.h"
#include "app/MainWindowDescription.h"
#include "automation/ObjectValue.h"
#include "automation/SpreadsheetLibrary_win.h"
#include "ui/DragDropLibrary_win.h"
#include "ui/WindowRuntime_win.h"

namespace {

// 1 core, 2 spreadsheet automation, 6 drag and drop; the program uses no
// kinds of libraries 3 to 5.
const qx::LibraryRecord* g_libraries[qx::kDragDropLibrary];
qx::ProgramHeader g_header;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  g_libraries[qx::kCoreLibrary - 1] = qx::CoreLibrary();
  g_libraries[qx::kSpreadsheetLibrary - 1] = qx::SpreadsheetLibrary();
  g_libraries[qx::kDragDropLibrary - 1] = qx::DragDropLibrary();
  const std::string& description = qx::MainWindowDescription();
  g_header = {3, 0, 0, qx::app::ConverterCode(), nullptr, 0, description.data(),
              static_cast<uint32_t>(description.size()), std::size(g_libraries), g_libraries,
              0, nullptr, nullptr};
  qx::InstallObjectService();
  return qx::StartApplication(&g_header, qx::app::ConverterEntry);
}
