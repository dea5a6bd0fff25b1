// Our spreadsheet reader behind the conversion's worksheet operations, for
// the headless converter and wherever no spreadsheet application runs.
#pragma once

#include "app/WorksheetSource.h"
#include "reader/Workbook.h"

namespace qx::app {

struct ReaderWorksheet {
  reader::Workbook book;
  const reader::Sheet* sheet = nullptr;  // the current (first) worksheet
};

WorksheetSource MakeReaderWorksheetSource(ReaderWorksheet* worksheet);

}  // namespace qx::app
