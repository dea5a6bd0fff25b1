#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "reader/FileBytes.h"
#include "runtime/encoding/Gbk.h"

namespace qx::reader {

bool ReadFileBytes(const std::string& pathGbk, ByteBlock* bytes, OpenFailureCode* why) {
  // Linux file names are UTF-8; the program's own paths are GBK.
  const std::string path = gbk::ToUtf8(pathGbk);
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *why = errno == ENOENT   ? OpenFailureCode::kNotFound
           : errno == EACCES ? OpenFailureCode::kAccessDenied
                             : OpenFailureCode::kCannotOpen;
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    *why = OpenFailureCode::kNotAFile;
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) > kMaxFileBytes) {
    ::close(fd);
    *why = OpenFailureCode::kTooLarge;
    return false;
  }
  try {
    *bytes = ByteBlock(static_cast<size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    ::close(fd);
    *why = OpenFailureCode::kOutOfMemory;
    return false;
  }
  size_t done = 0;
  while (done < bytes->size()) {
    ssize_t got = ::read(fd, bytes->data() + done, bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  ::close(fd);
  if (done != bytes->size()) {
    *bytes = ByteBlock();
    *why = OpenFailureCode::kReadFailed;
    return false;
  }
  return true;
}

}  // namespace qx::reader
