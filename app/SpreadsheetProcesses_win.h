// The spreadsheet processes a conversion brought up. The reset and the
// shutdown end only those: a spreadsheet the user started on their own,
// with unsaved work in it, has the same executable name and must survive.
#pragma once

#include <cstdint>
#include <vector>

namespace qx::app {

// Process ids of the running processes named "et.exe" or "EXCEL.exe"
// (letter case aside).
std::vector<uint32_t> SpreadsheetProcessIds();

struct StartedSpreadsheets {
  std::vector<uint32_t> before;  // taken just before the application starts
  std::vector<uint32_t> ours;    // appeared with it
};

void NoteBeforeStart(StartedSpreadsheets* s);
// Every process of those names that was not running before the start.
void NoteAfterStart(StartedSpreadsheets* s);

}  // namespace qx::app
