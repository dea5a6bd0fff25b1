// Start of the runtime from the application's program header.
#pragma once

#include "runtime/RuntimeState.h"

namespace qx {

// Keeps the header for InitialiseRuntime; the platform's start code calls
// this before the application's entry routine.
void SetProgramHeader(const ProgramHeader* header);
const ProgramHeader* CurrentProgramHeader();

// Heap, header words, OLE, program folder as current directory, hidden
// owner window, constant area, DLL tables, libraries (notification 1),
// window descriptions. An unreadable description is a runtime error.
void InitialiseRuntime();

// Splits a full path at its last backslash into folder and name (no
// backslash: empty folder, the whole path as the name).
void SplitProgramPath(const char* path, std::string* folder, std::string* name);

}  // namespace qx
