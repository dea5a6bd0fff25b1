// Worksheet to body text: for each row a prefix (the row number minus one
// and a colon), then each non-empty cell's text ended by CR LF.
#pragma once

#include <string>

#include "app/WorksheetSource.h"

namespace qx::app {

// "A", "Z", "AA", "AZ", "BA", ... for a 1-based column.
std::string ColumnLetters(int32_t column);
// Column letters and the row number: "C12".
std::string CellAddress(int32_t row, int32_t column);

// Opens the workbook at pathGbk through the source and appends its first
// worksheet to the sink. Every row from row 1 through the last row that
// holds a non-empty cell is converted, walked from A1 through the used
// range's last row and column. Returns false (and why) when the workbook
// could not be opened; nothing is appended then.
bool ConvertWorksheet(const WorksheetSource& source, const std::string& pathGbk, TextSink sink,
                      OpenSheetFailure* why);

// The same, into a string.
bool ConvertWorksheetToText(const WorksheetSource& source, const std::string& pathGbk,
                            std::string* text, OpenSheetFailure* why);

}  // namespace qx::app
