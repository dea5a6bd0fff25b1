// Natively there are no special folders and no processes of the program to
// end: the commands give their failure results.
#include "runtime/SystemOps.h"

namespace qx {

const SystemOps& DefaultSystemOps() {
  static const SystemOps ops = {
      [](int32_t, char*) { return false; },
      [](const char*) -> uint32_t { return 0; },
      [](const char*) -> uint32_t { return 0; },
      [](uint32_t) { return false; },
  };
  return ops;
}

}  // namespace qx
