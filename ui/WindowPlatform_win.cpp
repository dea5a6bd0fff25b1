#include "ui/WindowPlatform_win.h"

namespace qx {
namespace {

const WindowPlatformOps kDefault = {WinHelpA, CreateAcceleratorTableA, DestroyAcceleratorTable,
                                    DestroyMenu};
const WindowPlatformOps* g_ops = &kDefault;

}  // namespace

const WindowPlatformOps& WindowPlatform() { return *g_ops; }
const WindowPlatformOps& DefaultWindowPlatformOps() { return kDefault; }

const WindowPlatformOps* SetWindowPlatformOps(const WindowPlatformOps* ops) {
  const WindowPlatformOps* old = g_ops;
  g_ops = ops ? ops : &kDefault;
  return old;
}

}  // namespace qx
