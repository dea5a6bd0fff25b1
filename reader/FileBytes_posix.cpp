#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "reader/FileBytes.h"
#include "reader/Gbk.h"

namespace qx::reader {

bool ReadFileBytes(const std::string& pathGbk, ByteBlock* bytes, std::string* reason) {
  // Linux file names are UTF-8; the program's own paths are GBK.
  const std::string path = gbk::ToUtf8(pathGbk);
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *reason = errno == ENOENT ? "文件不存在" : errno == EACCES ? "没有读取权限" : "无法打开文件";
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    *reason = "不是普通文件";
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) > kMaxFileBytes) {
    ::close(fd);
    *reason = "文件太大（超过 1 GB）";
    return false;
  }
  try {
    *bytes = ByteBlock(static_cast<size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    ::close(fd);
    *reason = "内存不足";
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
    *reason = "读取文件失败";
    return false;
  }
  return true;
}

}  // namespace qx::reader
