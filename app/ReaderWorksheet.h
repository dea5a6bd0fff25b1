// Our spreadsheet reader behind the conversion's worksheet operations, for
// the headless converter and wherever no spreadsheet application runs.
#pragma once

#include <string>

#include "app/WorksheetSource.h"
#include "reader/Workbook.h"

namespace qx::app {

struct ReaderWorksheet {
  // Which sheet opening makes current (UTF-8, as reader::FindSheet takes
  // it); empty: the first, as the window converts it. When the workbook
  // holds no such sheet the open fails, with the workbook kept for the
  // message to list the sheets there are.
  std::string sheetChoice;

  reader::Workbook book;
  const reader::Sheet* sheet = nullptr;  // the current worksheet
  // Where the last lookup ended: the conversion walks the cells in order,
  // so the next one asked for is almost always the one here.
  size_t cursor = 0;
};

WorksheetSource MakeReaderWorksheetSource(ReaderWorksheet* worksheet);

}  // namespace qx::app
