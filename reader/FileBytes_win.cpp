#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "reader/FileBytes.h"
#include "runtime/encoding/Wide_win.h"

namespace qx::reader {

bool ReadFileBytes(const std::string& pathGbk, ByteBlock* bytes, OpenFailureCode* why) {
  // The path's bytes are the program's, as the "A" functions took them.
  const std::wstring wpath = WideFromAnsi(pathGbk);
  if (wpath.empty() && !pathGbk.empty()) {
    *why = OpenFailureCode::kBadName;
    return false;
  }
  HANDLE h = CreateFileW(wpath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    *why = (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) ? OpenFailureCode::kNotFound
           : e == ERROR_ACCESS_DENIED                                ? OpenFailureCode::kAccessDenied
           : e == ERROR_SHARING_VIOLATION                            ? OpenFailureCode::kInUse
                                                                     : OpenFailureCode::kCannotOpen;
    return false;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) {
    CloseHandle(h);
    *why = OpenFailureCode::kCannotSize;
    return false;
  }
  if (static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes) {
    CloseHandle(h);
    *why = OpenFailureCode::kTooLarge;
    return false;
  }
  try {
    *bytes = ByteBlock(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    CloseHandle(h);
    *why = OpenFailureCode::kOutOfMemory;
    return false;
  }
  size_t done = 0;
  while (done < bytes->size()) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, 1u << 24));
    DWORD got = 0;
    if (!ReadFile(h, bytes->data() + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  CloseHandle(h);
  if (done != bytes->size()) {
    *bytes = ByteBlock();
    *why = OpenFailureCode::kReadFailed;
    return false;
  }
  return true;
}

}  // namespace qx::reader
