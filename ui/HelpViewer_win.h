// The system's help viewer as the runtime calls it, behind a table so that
// a test can see the calls without a viewer coming up (and inject its
// failure). The file dialog's help type opens help files through it.
#pragma once

#include <windows.h>

namespace qx {

struct HelpViewerOps {
  // WinHelpA: false when the viewer could not be asked.
  bool (*winHelp)(HWND owner, const char* file, UINT command, ULONG_PTR data);
};
const HelpViewerOps& DefaultHelpViewerOps();
const HelpViewerOps& HelpViewer();
// Installs ops (null: the default ones); returns the previous table.
const HelpViewerOps* SetHelpViewerOps(const HelpViewerOps* ops);

}  // namespace qx
