#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "reader/FileBytes.h"

namespace qx::reader {

bool ReadFileBytes(const std::string& pathGbk, ByteBlock* bytes, std::string* reason) {
  // Through UTF-16 so that the path means the same whatever the ANSI code
  // page of the machine: the program's paths are GBK.
  int wlen = MultiByteToWideChar(936, 0, pathGbk.c_str(), -1, nullptr, 0);
  if (wlen <= 0) {
    *reason = "文件名无效";
    return false;
  }
  std::wstring wpath(static_cast<size_t>(wlen), L'\0');
  MultiByteToWideChar(936, 0, pathGbk.c_str(), -1, wpath.data(), wlen);
  HANDLE h = CreateFileW(wpath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    *reason = (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) ? "文件不存在"
              : e == ERROR_ACCESS_DENIED                                ? "没有读取权限"
              : e == ERROR_SHARING_VIOLATION ? "文件正被其他程序占用"
                                             : "无法打开文件";
    return false;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) {
    CloseHandle(h);
    *reason = "无法取得文件大小";
    return false;
  }
  if (static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes) {
    CloseHandle(h);
    *reason = "文件太大（超过 1 GB）";
    return false;
  }
  try {
    *bytes = ByteBlock(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    CloseHandle(h);
    *reason = "内存不足";
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
    *reason = "读取文件失败";
    return false;
  }
  return true;
}

}  // namespace qx::reader
