// Excel工作簿 (ExcelWorkbooks, library 2 type 2): a non-visual control that
// works on the workbooks of the application an Excel程序 control holds: its
// Workbooks collection, a workbook, that workbook's Sheets, a current sheet
// and a current range, plus two cell addresses.
#pragma once

#include "runtime/Command.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* ExcelWorkbooksKind();

// Own property numbers (as the runtime numbers them) that the converter uses.
enum : int32_t {
  kPropertyCellContent = 8,
  kPropertyCurrentSheetIndex = 11,
  kPropertyRangeStart = 16,
  kPropertyRangeEnd = 17,
};

// Commands; argument 0 is the control.
void AttachApplication(TaggedValue* result, int32_t count, TaggedValue* args);  // + app control
void ActivateWorkbook(TaggedValue* result, int32_t count, TaggedValue* args);
void OpenWorkbook(TaggedValue* result, int32_t count, TaggedValue* args);  // + file name
void GetCurrentSheetObject(TaggedValue* result, int32_t count, TaggedValue* args);
void DetachWorkbooks(TaggedValue* result, int32_t count, TaggedValue* args);
void CloseAllWorkbooks(TaggedValue* result, int32_t count, TaggedValue* args);

// Why the last OpenWorkbook of this thread failed, as the application said
// it (ANSI), or empty.
const std::string& LastOpenFailure();

}  // namespace qx
