// Excel工作簿 (ExcelWorkbooks, library 2 type 2): a non-visual control that
// works on the workbooks of the application an Excel程序 control holds: its
// Workbooks collection, a workbook, that workbook's Sheets, a current sheet
// and a current range, plus two cell addresses.
#pragma once

#include "automation/DispatchCall_win.h"
#include "runtime/Command.h"
#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* ExcelWorkbooksKind();

// Own properties. CellContent reads the cell at RangeStart; the range the
// others work on is the one the two addresses span once RangeEnd is written.
enum WorkbooksProperty : int32_t {
  kWorkbooksCellContent = kFirstOwnProperty,
  kWorkbooksCellFormat,
  kWorkbooksSheetName,
  kWorkbooksCurrentSheetIndex,  // from 1
  kWorkbooksSheetCount,         // read only
  kWorkbooksSheetBackground,    // a picture file; written, never read
  kWorkbooksStandardWidth,
  kWorkbooksStandardHeight,  // read only
  kWorkbooksRangeStart,
  kWorkbooksRangeEnd,
  kWorkbooksAddIndent,
  kWorkbooksIndentLevel,
  kWorkbooksHorizontalAlignment,
  kWorkbooksVerticalAlignment,
  kWorkbooksShrinkToFit,
  kWorkbooksWrapText,
  kWorkbooksReadingOrder,
  kWorkbooksColumnWidth,
  kWorkbooksRowHeight,
  kWorkbooksReserved,
  kWorkbooksBold,
  kWorkbooksFontColour,
  kWorkbooksItalic,
  kWorkbooksFontName,
  kWorkbooksShadow,
  kWorkbooksFontSize,
  kWorkbooksStrikethrough,
  kWorkbooksSuperscript,
  kWorkbooksSubscript,
  kWorkbooksUnderline,
};

// Commands; argument 0 is the control.
void AttachApplication(TaggedValue* result, int32_t count, TaggedValue* args);  // + app control
void ActivateWorkbook(TaggedValue* result, int32_t count, TaggedValue* args);
void OpenWorkbook(TaggedValue* result, int32_t count, TaggedValue* args);  // + file name
void GetCurrentSheetObject(TaggedValue* result, int32_t count, TaggedValue* args);
void DetachWorkbooks(TaggedValue* result, int32_t count, TaggedValue* args);
void CloseAllWorkbooks(TaggedValue* result, int32_t count, TaggedValue* args);

// OpenWorkbook for the control, with what the application said when it
// failed (when why is given).
bool OpenWorkbookSaying(TaggedValue control, const char* fileName, DispatchFailure* why);

}  // namespace qx
