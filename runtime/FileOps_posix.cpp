#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "runtime/FileOps.h"
#include "runtime/NativeText.h"

namespace qx {
namespace {

// Names are GBK inside the program; the native file system speaks UTF-8.
void* FileOf(int fd) { return fd < 0 ? nullptr : reinterpret_cast<void*>(static_cast<intptr_t>(fd) + 1); }
int Fd(void* file) { return static_cast<int>(reinterpret_cast<intptr_t>(file) - 1); }

void* OpenForWriting(const char* name) {
  return FileOf(open(NativeFromGbk(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

void* CreateNew(const char* name) {
  return FileOf(open(NativeFromGbk(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

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

bool Flush(void* file) { return fsync(Fd(file)) == 0; }

bool Close(void* file) { return close(Fd(file)) == 0; }

bool Replace(const char* from, const char* to) {
  std::string source = NativeFromGbk(from), target = NativeFromGbk(to);
  // What an open for writing would refuse, the move refuses too: rename()
  // asks only the folder.
  if (access(target.c_str(), W_OK) != 0 && errno != ENOENT) return false;
  if (rename(source.c_str(), target.c_str()) != 0) return false;
  // The folder's new entry is on the disk once the folder is synced.
  size_t slash = target.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

bool Remove(const char* name) { return unlink(NativeFromGbk(name).c_str()) == 0; }

bool Identify(const char* name, FileIdentity* out) {
  struct stat st;
  if (stat(NativeFromGbk(name).c_str(), &st) != 0) return false;
  *out = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

}  // namespace

const FileOps& DefaultFileOps() {
  static const FileOps ops = {OpenForWriting, Write, Close, CreateNew, Flush, Replace, Remove, Identify};
  return ops;
}

}  // namespace qx
