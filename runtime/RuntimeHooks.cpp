#include "runtime/RuntimeHooks.h"

namespace qx {
namespace {
const WindowRuntimeHooks* g_window = nullptr;
const ObjectValueHooks* g_objects = nullptr;
}  // namespace

void InstallWindowRuntimeHooks(const WindowRuntimeHooks* hooks) { g_window = hooks; }
void InstallObjectValueHooks(const ObjectValueHooks* hooks) { g_objects = hooks; }
const WindowRuntimeHooks* WindowRuntime() { return g_window; }
const ObjectValueHooks* ObjectValues() { return g_objects; }

}  // namespace qx
