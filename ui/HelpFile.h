// The help file that a window opens on F1.
#pragma once

#include <string>

namespace qx {

// The window's stored help file name; when it is empty, the program's own
// file name with the extension "hlp" in place of its own, in the program's
// folder (`programFolder` without a trailing backslash; empty: no folder).
std::string HelpFileOf(const std::string& stored, const std::string& programFolder,
                       const std::string& programName);

}  // namespace qx
