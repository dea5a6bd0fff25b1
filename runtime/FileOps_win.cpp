#include <windows.h>

#include "runtime/FileOps.h"

namespace qx {
namespace {

void* Opened(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }

void* OpenForWriting(const char* name) {
  return Opened(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
}

void* CreateNew(const char* name) {
  return Opened(
      CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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

bool Flush(void* file) { return FlushFileBuffers(static_cast<HANDLE>(file)) != 0; }

bool Close(void* file) { return CloseHandle(static_cast<HANDLE>(file)) != 0; }

bool Replace(const char* from, const char* to) {
  // Windows refuses to replace a read-only file; Wine moves over one (and,
  // run as root, opens one for writing) without looking at the attribute.
  // It is looked at here, so that a read-only document stays on either.
  DWORD attributes = GetFileAttributesA(to);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Remove(const char* name) { return DeleteFileA(name) != 0; }

bool Identify(const char* name, FileIdentity* out) {
  // No access asked for, every kind of sharing allowed: a file that another
  // program holds open is still identified. Folders need the backup flag.
  HANDLE h = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  if (!ok) return false;
  *out = {info.dwVolumeSerialNumber,
          (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return true;
}

}  // namespace

const FileOps& DefaultFileOps() {
  static const FileOps ops = {OpenForWriting, Write, Close, CreateNew, Flush, Replace, Remove, Identify};
  return ops;
}

}  // namespace qx
