#include "reader/ThreadPlacement.h"

namespace qx::zip {

// Not seen with Windows's scheduler: left to it.
void* PlaceApart(std::thread&) { return nullptr; }
void EndPlacement(void*) {}

}  // namespace qx::zip
