// File writing as the commands need it, behind a table so that tests can
// make writes fail part-way.
#pragma once

#include <cstdint>

namespace qx {

struct FileOps {
  // Creates or truncates the file for writing, shared with no one; null on
  // failure. The name is GBK.
  void* (*openForWriting)(const char* nameGbk);
  // False on a write error.
  bool (*write)(void* file, const void* bytes, uint32_t length);
  // False when the data could not be committed.
  bool (*close)(void* file);
};

const FileOps& DefaultFileOps();
const FileOps* SetFileOps(const FileOps* ops);  // null: the default
const FileOps& Files();

}  // namespace qx
