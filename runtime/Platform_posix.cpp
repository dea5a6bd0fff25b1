#include <iconv.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/Platform.h"
#include "runtime/NativeText.h"

namespace qx {

std::string NativeFromGbk(const char* gbk) {
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return gbk;
  std::string in = gbk;
  char* src = in.data();
  size_t left = in.size();
  std::string buffer(left * 2 + 16, '\0');
  while (left) {
    char* dst = buffer.data();
    size_t room = buffer.size();
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer.data(), dst);
    if (r == static_cast<size_t>(-1) && left) {
      if (errno == E2BIG) continue;
      out += '?';  // a byte that is no GBK: show it as unknown and go on
      ++src;
      --left;
    }
  }
  iconv_close(cd);
  return out;
}

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
