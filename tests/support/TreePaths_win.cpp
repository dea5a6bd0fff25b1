#include "TreePaths_win.h"

namespace qx::test {

std::string WinePath(const std::string& machinePath) {
  std::string p = "Z:" + machinePath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string BuiltPath(const std::string& relative) {
  return WinePath(std::string(QX_BINARY_DIR) + "/" + relative);
}

std::string SourcePath(const std::string& relative) {
  return WinePath(std::string(QX_SOURCE_DIR) + "/" + relative);
}

}  // namespace qx::test
