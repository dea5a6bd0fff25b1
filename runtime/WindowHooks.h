// Internal: the window runtime's hooks as the core sees them.
#pragma once

#include "runtime/HelperTable.h"

namespace qx {
const WindowEntryHooks& WindowHooks();
}
