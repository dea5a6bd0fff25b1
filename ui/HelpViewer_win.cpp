#include "ui/HelpViewer_win.h"

namespace qx {
namespace {
const HelpViewerOps* g_help = nullptr;
}  // namespace

const HelpViewerOps& DefaultHelpViewerOps() {
  static const HelpViewerOps ops = {
      [](HWND owner, const char* file, UINT command, ULONG_PTR data) {
        return WinHelpA(owner, file, command, data) != FALSE;
      },
  };
  return ops;
}

const HelpViewerOps& HelpViewer() { return g_help ? *g_help : DefaultHelpViewerOps(); }

const HelpViewerOps* SetHelpViewerOps(const HelpViewerOps* ops) {
  const HelpViewerOps* old = g_help;
  g_help = ops;
  return old;
}

}  // namespace qx
