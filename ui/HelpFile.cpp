#include "ui/HelpFile.h"

namespace qx {

std::string HelpFileOf(const std::string& stored, const std::string& programFolder,
                       const std::string& programName) {
  if (!stored.empty()) return stored;
  // A dot in the name, not in a folder: the name holds no backslash.
  size_t dot = programName.rfind('.');
  std::string name = (dot == std::string::npos ? programName : programName.substr(0, dot)) + ".hlp";
  return programFolder.empty() ? name : programFolder + "\\" + name;
}

}  // namespace qx
