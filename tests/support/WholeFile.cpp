#include "WholeFile.h"

#include <fstream>
#include <sstream>

namespace qx::test {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace qx::test
