// What the conversion asks of a spreadsheet, and where its text goes.
//
// The window program plugs the spreadsheet controls behind these operations
// (automation calls into the spreadsheet application); the headless
// converter plugs our own spreadsheet reader behind them.
//
// Text: GBK, the program's code page, in and out (paths, cell texts, the
// body text); the reader's UTF-8 is turned into it at the reader's edge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "reader/OpenFailure.h"

namespace qx::app {

// Why no worksheet could be opened: a code and its detail. Nothing here is
// worded; the program that shows the failure words it once.
enum class OpenSheetCode : uint8_t {
  kNone = 0,
  kNoApplication,  // nothing could be started to open it with
  kStartFailed,    // the spreadsheet application did not start: startResult
  kFileRefused,    // the file could not be opened: file
  kNoSuchSheet,    // the workbook opened but holds no sheet of the name asked for
};

struct OpenSheetFailure {
  OpenSheetCode code = OpenSheetCode::kNone;
  // kFileRefused: our reader's code and detail; for a spreadsheet
  // application that gives only words, code kNone and its words (if any)
  // as the detail.
  reader::OpenFailure file;
  int32_t startResult = 0;  // kStartFailed: the application's HRESULT
};

// The used range of the current worksheet as the spreadsheet reports it.
// Counts of 0 mean there is no worksheet (nothing is converted).
struct UsedRangeBox {
  int32_t firstRow;
  int32_t firstColumn;
  int32_t rowCount;
  int32_t columnCount;
};

struct WorksheetOps {
  // Opens the workbook at the GBK path and makes its first worksheet
  // current. False (and why) leaves no worksheet.
  bool (*openFirstSheet)(void* self, const std::string& pathGbk, OpenSheetFailure* why);
  UsedRangeBox (*usedRange)(void* self);
  // The text of one cell, GBK; empty for an empty or unreadable cell. Both
  // forms of the address are given: automation wants "AA12".
  void (*cellText)(void* self, int32_t row, int32_t column, const char* address,
                   std::string* text);
  // Optional (null: the conversion reads every cell). The first cell at or
  // after (row, column) in row order, inside columns 1..lastColumn and rows
  // up to lastRow, that may hold a value; false when there is none. Lets a
  // source that knows its stored cells skip the empty ones.
  bool (*nextStoredCell)(void* self, int32_t row, int32_t column, int32_t lastRow,
                         int32_t lastColumn, int32_t* foundRow, int32_t* foundColumn);
  // True when cellText goes by row and column alone, so the conversion
  // need not spell out an address for every cell.
  bool ignoresAddress;
};

struct WorksheetSource {
  const WorksheetOps* ops;
  void* self;
};

struct TextSink {
  void (*append)(void* self, const char* bytes, size_t length);
  void* self;
};

}  // namespace qx::app
