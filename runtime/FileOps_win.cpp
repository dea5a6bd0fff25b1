#include <windows.h>

#include "runtime/FileOps.h"

namespace qx {
namespace {

void* OpenForWriting(const char* name) {
  HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

bool Write(void* file, const void* bytes, uint32_t length) {
  const char* p = static_cast<const char*>(bytes);
  while (length) {
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(file), p, length, &written, nullptr) || written == 0)
      return false;
    p += written;
    length -= written;
  }
  return true;
}

bool Close(void* file) { return CloseHandle(static_cast<HANDLE>(file)) != 0; }

}  // namespace

const FileOps& DefaultFileOps() {
  static const FileOps ops = {OpenForWriting, Write, Close};
  return ops;
}

}  // namespace qx
