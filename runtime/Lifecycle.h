// Exit routines and the end of the program.
#pragma once

#include <cstdint>

#include "runtime/RuntimeState.h"

namespace qx {

// Appends the routine unless it is already registered.
void RegisterExitRoutine(ExitRoutine routine);

// Runs the teardown (exit routines, library notification 6, release of
// everything) and ends the process with the code. Does not return.
[[noreturn]] void EndProgram(int32_t code);

// The teardown alone, for the normal end after the message loop; the
// caller ends the process afterwards.
void RunTeardown(int32_t code);

// Library notification 1 for each library, with the service entry.
void StartLibraries(const LibraryRecord* const* libraries, uint32_t count);

}  // namespace qx
