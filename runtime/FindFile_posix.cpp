#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <string>

#include "runtime/FindFile.h"
#include "runtime/NativeText.h"

namespace qx {
namespace {

struct Search {
  DIR* dir;
  std::string folder;
  std::string pattern;
};

bool Step(Search* s, FoundEntry* e) {
  while (dirent* d = readdir(s->dir)) {
    if (fnmatch(s->pattern.c_str(), d->d_name, 0) != 0) continue;
    struct stat st;
    std::string full = s->folder + "/" + d->d_name;
    e->name = d->d_name;
    e->attributes = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0x10 : 0;
    return true;
  }
  return false;
}

}  // namespace

// Natively a pattern is "folder/glob" (or "folder\glob"), as the program
// would give it on Windows.
const FindOps& DefaultFindOps() {
  static const FindOps ops = {
      [](const char* patternGbk, FoundEntry* e) -> void* {
        std::string pattern = NativeFromGbk(patternGbk);
        size_t cut = pattern.find_last_of("/\\");
        auto* s = new Search{nullptr, cut == std::string::npos ? "." : pattern.substr(0, cut),
                             cut == std::string::npos ? pattern : pattern.substr(cut + 1)};
        s->dir = opendir(s->folder.c_str());
        if (!s->dir || !Step(s, e)) {
          if (s->dir) closedir(s->dir);
          delete s;
          return nullptr;
        }
        return s;
      },
      [](void* h, FoundEntry* e) { return Step(static_cast<Search*>(h), e); },
      [](void* h) {
        auto* s = static_cast<Search*>(h);
        closedir(s->dir);
        delete s;
      },
  };
  return ops;
}

}  // namespace qx
