// Where the read-ahead thread and its caller run. The caller parses while
// that thread inflates, and each sleeps for a moment whenever it gets
// ahead of the other. On a two-core virtual machine the scheduler would,
// in about one read in six, wake one of them on the other's core and
// leave it there, so that the two took turns for the rest of the part:
// 20 ms instead of 12 for the inline bank. For as long as the two work
// side by side, each is kept to a core of its own.
#pragma once

#include <thread>

namespace qx::zip {

// Keeps the calling thread on the core it is on and `worker` off it, when
// the process may run on others; returns what EndPlacement needs to give
// the caller back its own cores (null when nothing was changed). Best
// effort: nothing where the platform has no say.
void* PlaceApart(std::thread& worker);
void EndPlacement(void* placement);

}  // namespace qx::zip
