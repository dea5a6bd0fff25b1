// quillox.exe: the converter's window program. Its header hands the runtime
// the stored window description, the handlers' code table and the program's
// libraries, in the order the description's type tags number them.
#include <windows.h>

#include "app/ConverterHandlers_win.h"
#include "app/MainWindowDescription.h"
#include "automation/ObjectValue.h"
#include "automation/SpreadsheetLibrary_win.h"
#include "ui/DragDropLibrary_win.h"
#include "ui/WindowRuntime_win.h"

namespace {

// 1 core, 2 spreadsheet automation, 6 drag and drop; the program uses no
// kinds of libraries 3 to 5.
const qx::LibraryRecord* g_libraries[6];
qx::ProgramHeader g_header;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  g_libraries[0] = qx::CoreLibrary();
  g_libraries[1] = qx::SpreadsheetLibrary();
  g_libraries[5] = qx::DragDropLibrary();
  const std::string& description = qx::MainWindowDescription();
  g_header = {3, 0, 0, qx::app::ConverterCode(), nullptr, 0, description.data(),
              static_cast<uint32_t>(description.size()), 6, g_libraries, 0, nullptr, nullptr};
  qx::InstallObjectService();
  return qx::StartApplication(&g_header, qx::app::ConverterEntry);
}
