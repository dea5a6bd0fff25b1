// The runtime's one state record for the process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

using ExitRoutine = void (*)();
// A support library's notification: code 1 at start-up (argument: the
// address of RuntimeService), code 6 at teardown (argument: its stored word).
using LibraryNotifyFn = intptr_t (*)(int32_t code, intptr_t arg1, intptr_t arg2);

struct TypeTable;  // a library's unit and value types, used by window loading

struct LibraryRecord {
  const char* name;
  const TypeTable* types;
  LibraryNotifyFn notify;  // may be null
};

// The header the application hands to the runtime; one word each.
struct ProgramHeader {
  uint32_t runMode;
  uint32_t word1;
  uint32_t counterSeed;
  const void* codeBase;
  const void* constantArea;
  uint32_t constantLength;
  const void* windowDescription;
  uint32_t windowDescriptionLength;
  uint32_t libraryCount;
  const LibraryRecord* const* libraries;
  uint32_t dllCount;
  const char* const* dllFiles;
  const char* const* dllExports;
};

struct RuntimeState {
  uint32_t runMode = 0;
  uint32_t word1 = 0;
  uint32_t counter = 0;
  std::string programFolder;  // without a trailing backslash
  std::string programName;
  std::string moduleFolder;   // with its trailing backslash
  bool oleInitialised = false;
  bool messageLoopStarted = false;
  bool teardownStarted = false;
  int32_t eventsSuspended = 0;
  // The window that runs a modal loop, 0 when none does; its end clears it.
  uint32_t modalWindow = 0;
  int (*errorHandler)(int32_t, const char*) = nullptr;
  bool errorHandlerRunning = false;
  std::vector<ExitRoutine> exitRoutines;
  std::vector<const LibraryRecord*> libraries;
  std::vector<intptr_t> libraryWords;
};

extern RuntimeState g_runtime;

}  // namespace qx
