#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/Platform.h"
#include "runtime/NativeText.h"
#include "runtime/encoding/Gbk.h"

namespace qx {

std::string NativeFromGbk(const char* gbk) { return gbk::ToUtf8(gbk ? gbk : ""); }

namespace {

void ShowErrorDialog(const char* text) {
  std::string utf8 = NativeFromGbk(text);
  fputs(utf8.c_str(), stderr);
  fflush(stderr);
}

[[noreturn]] void TerminateProcess(int32_t code) {
  fflush(nullptr);
  _exit(code);
}

void ProgramPath(char* buffer, uint32_t size) {
  ssize_t n = readlink("/proc/self/exe", buffer, size ? size - 1 : 0);
  buffer[n > 0 ? n : 0] = 0;
}

void SetCurrentDirectory(const char* folder) {
  if (folder && *folder && chdir(folder) != 0) {
    // The runtime has nowhere to report this; the program keeps the old one.
  }
}

}  // namespace

const PlatformOps& DefaultPlatformOps() {
  static const PlatformOps ops = {ShowErrorDialog, TerminateProcess, ProgramPath,
                                  SetCurrentDirectory};
  return ops;
}

}  // namespace qx
