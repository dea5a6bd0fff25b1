// Native build only: GBK texts of the program as the UTF-8 the native
// terminal and file system expect.
#pragma once

#include <string>

namespace qx {
std::string NativeFromGbk(const char* gbk);
}
