// The conversion's worksheet operations over the window's two spreadsheet
// controls (Excel程序 and Excel工作簿) and object values read by name: the
// window program converts through whatever spreadsheet application stands
// behind "Excel.Application", or our own server.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <string>

#include "app/WorksheetSource.h"
#include "automation/ComHolders_win.h"
#include "automation/ObjectBlock.h"
#include "automation/SheetReads_win.h"

namespace qx::app {

struct AutomationWorksheet {
  uint32_t windowId = 0;
  uint32_t applicationControl = 0;  // the Excel程序 control
  uint32_t workbookControl = 0;     // the Excel工作簿 control
  // Off: only the cell-by-cell protocol (three property accesses a cell).
  bool fastPaths = true;

  // The state of one conversion.
  OwnedObjectBlock sheet;  // the current sheet as an object value
  ComRef<IDispatch> sheetDispatch;
  SheetWalk walk;  // over sheetDispatch, by the fast paths
};

WorksheetSource MakeAutomationWorksheetSource(AutomationWorksheet* worksheet);
// Releases what the last conversion held (the sheet object value).
void EndAutomationWorksheet(AutomationWorksheet* worksheet);

}  // namespace qx::app
