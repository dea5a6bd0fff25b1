// What the runtime core needs from the operating system, as one table so
// that the core itself stays portable and tests can observe or replace it.
#pragma once

#include <cstdint>

namespace qx {

struct PlatformOps {
  // The runtime error dialog: on Windows a message box titled "错误" with
  // the error icon; natively the same text on stderr in UTF-8.
  void (*showErrorDialog)(const char* textGbk);
  // Ends the process at once with the code.
  [[noreturn]] void (*terminateProcess)(int32_t code);
  // The program file's full path (GBK), for the folder and name.
  void (*programPath)(char* buffer, uint32_t size);
  // Makes the folder the process's current directory.
  void (*setCurrentDirectory)(const char* folderGbk);
};

const PlatformOps& Platform();
// Replaces the table (null: the default); returns the previous one.
const PlatformOps* SetPlatformOps(const PlatformOps* ops);
const PlatformOps& DefaultPlatformOps();

}  // namespace qx
