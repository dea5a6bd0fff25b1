// File writing as the commands and the save need it, behind a table so that
// tests can make writes fail part-way.
#pragma once

#include <cstdint>

namespace qx {

// Which file a name reaches, whatever spelling the name uses (short name,
// letter case, other separators, a link): the volume and the file's number
// on it.
struct FileIdentity {
  uint64_t volume;
  uint64_t index;
};

struct FileOps {
  // Creates or truncates the file for writing, shared with no one; null on
  // failure. The name is GBK.
  void* (*openForWriting)(const char* nameGbk);
  // False on a write error.
  bool (*write)(void* file, const void* bytes, uint32_t length);
  // False when the data could not be committed.
  bool (*close)(void* file);
  // Creates a file that does not exist yet, for writing, shared with no
  // one; null on failure, and when a file of that name is there already.
  void* (*createNew)(const char* nameGbk);
  // Waits until what was written is on the disk; false when it is not.
  bool (*flush)(void* file);
  // Puts the closed file `from` in the place of `to`, replacing a file of
  // that name in one step, and returns once the move is on the disk. A
  // target that could not be opened for writing (read-only) is refused:
  // false, and both files stay as they are.
  bool (*replace)(const char* fromGbk, const char* toGbk);
  // Deletes the file; false when it could not.
  bool (*remove)(const char* nameGbk);
  // The identity of an existing file or folder; false when the name
  // reaches none.
  bool (*identify)(const char* nameGbk, FileIdentity* out);
};

const FileOps& DefaultFileOps();
const FileOps* SetFileOps(const FileOps* ops);  // null: the default
const FileOps& Files();

}  // namespace qx
