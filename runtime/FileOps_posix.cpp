#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "runtime/FileOps.h"
#include "runtime/NativeText.h"

namespace qx {
namespace {

// Names are GBK inside the program; the native file system speaks UTF-8.
void* OpenForWriting(const char* name) {
  std::string path = NativeFromGbk(name);
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  return reinterpret_cast<void*>(static_cast<intptr_t>(fd) + 1);
}

int Fd(void* file) { return static_cast<int>(reinterpret_cast<intptr_t>(file) - 1); }

bool Write(void* file, const void* bytes, uint32_t length) {
  const char* p = static_cast<const char*>(bytes);
  while (length) {
    ssize_t n = write(Fd(file), p, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= static_cast<uint32_t>(n);
  }
  return true;
}

bool Close(void* file) { return close(Fd(file)) == 0; }

}  // namespace

const FileOps& DefaultFileOps() {
  static const FileOps ops = {OpenForWriting, Write, Close};
  return ops;
}

}  // namespace qx
