// Failures the application cannot continue from: one dialog, then the end.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// Shows "运行时出错!" with the code and message, drops the exit routines and
// ends the program with exit code -1. Does not return.
[[noreturn]] void ReportRuntimeError(const char* message, int32_t code);
// Code 1 to 11 with its message from the table.
[[noreturn]] void ReportRuntimeErrorCode(int32_t code);

// Message n of the numbered runtime errors, null outside 1..11.
const char* RuntimeErrorMessage(int32_t code);

// The dialog's text, as ReportRuntimeError shows it.
std::string ComposeRuntimeErrorText(const char* message, int32_t code);

// The optional handler slot: a non-zero answer means the handler dealt with
// the report, and no dialog is shown (the program still ends). Nothing in
// the product installs one; tests do, so that no dialog blocks them.
using RuntimeErrorHandler = int (*)(int32_t code, const char* message);
RuntimeErrorHandler SetRuntimeErrorHandler(RuntimeErrorHandler handler);

}  // namespace qx
