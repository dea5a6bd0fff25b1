// Directory listing for internal services 0 and 1.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

struct FoundEntry {
  std::string name;
  uint32_t attributes;  // Win32 FILE_ATTRIBUTE_* bits; 0x10 is a directory
};

struct FindOps {
  void* (*first)(const char* patternGbk, FoundEntry* entry);  // null: nothing found
  bool (*next)(void* search, FoundEntry* entry);
  void (*close)(void* search);
};
const FindOps& DefaultFindOps();
// Installs ops (null: the default ones); returns the previous table.
const FindOps* SetFindOps(const FindOps* ops);

// Service 0: a non-empty pattern starts a new search in *slot (closing the
// old one); an empty one continues. Returns the next matching name as a new
// text, or null when exhausted (the search is then closed, *slot cleared).
char* FindFileStep(const char* pattern, uint32_t attributeMask, bool filesOnly, void** slot);
// Service 1.
void FindFileClose(void* search);

}  // namespace qx
