// A file's bytes, read in one go, for tests that compare what was written.
#pragma once

#include <string>

namespace qx::test {

// The whole file at `path` (the platform's own spelling of a name: UTF-8
// natively, the ANSI code page under Windows); empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace qx::test
