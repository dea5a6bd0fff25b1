// Our source and build trees as a Windows program under Wine names them:
// the machine's root is drive Z:, and names are GBK with backslashes.
#pragma once

#include <string>

namespace qx::test {

// The machine's path (from its root) as drive Z: spells it.
std::string WinePath(const std::string& machinePath);
// A file of the build tree or of the source tree, `relative` to its top.
std::string BuiltPath(const std::string& relative);
std::string SourcePath(const std::string& relative);

}  // namespace qx::test
