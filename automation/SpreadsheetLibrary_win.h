// The spreadsheet automation library (library 2 of the program): the types
// Excel程序 and Excel工作簿.
#pragma once

#include "runtime/RuntimeState.h"

namespace qx {

const LibraryRecord* SpreadsheetLibrary();

}  // namespace qx
