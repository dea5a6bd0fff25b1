// Folders of a test's own under the temporary folder.
#pragma once

#include <string>

namespace qx::test {

// An empty folder named `prefix` and this process's id under the temporary
// folder, created; whatever an earlier run left under that name is removed
// first. The name ends without a backslash.
std::string NewTempFolder(const std::string& prefix);
// Removes the folder with everything in it, read-only files included.
void RemoveTree(const std::string& folder);

}  // namespace qx::test
