// Our spreadsheet reader behind the conversion's worksheet operations, for
// the headless converter and wherever no spreadsheet application runs.
#pragma once

#include "app/WorksheetSource.h"
#include "reader/Workbook.h"

namespace qx::app {

struct ReaderWorksheet {
  reader::Workbook book;
  const reader::Sheet* sheet = nullptr;  // the current (first) worksheet
  // Where the last lookup ended: the conversion walks the cells in order,
  // so the next one asked for is almost always the one here.
  size_t cursor = 0;
};

WorksheetSource MakeReaderWorksheetSource(ReaderWorksheet* worksheet);

}  // namespace qx::app
