#include "automation/SpreadsheetLibrary_win.h"

#include <iterator>

#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"

namespace qx {

const LibraryRecord* SpreadsheetLibrary() {
  // By type number: kTagExcelApp, kTagExcelWorkbooks.
  static const UnitKind* const kinds[] = {ExcelAppKind(), ExcelWorkbooksKind()};
  static const TypeTable types = {std::size(kinds), kinds};
  static const LibraryRecord record = {"Excel支持库", &types, nullptr};
  return &record;
}

}  // namespace qx
