#include "automation/SpreadsheetLibrary_win.h"

#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"

namespace qx {

const LibraryRecord* SpreadsheetLibrary() {
  static const UnitKind* const kinds[] = {ExcelAppKind(), ExcelWorkbooksKind()};
  static const TypeTable types = {2, kinds};
  static const LibraryRecord record = {"Excel支持库", &types, nullptr};
  return &record;
}

}  // namespace qx
