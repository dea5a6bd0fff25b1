#include "reader/ThreadPlacement.h"

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

namespace qx::zip {

#ifdef __linux__
void* PlaceApart(std::thread& worker) {
  const int core = sched_getcpu();
  cpu_set_t allowed;
  if (core < 0 || core >= CPU_SETSIZE ||
      pthread_getaffinity_np(pthread_self(), sizeof allowed, &allowed) != 0 ||
      !CPU_ISSET(core, &allowed))
    return nullptr;
  cpu_set_t others = allowed, mine;
  CPU_CLR(core, &others);
  CPU_ZERO(&mine);
  CPU_SET(core, &mine);
  if (CPU_COUNT(&others) == 0 ||
      pthread_setaffinity_np(worker.native_handle(), sizeof others, &others) != 0 ||
      pthread_setaffinity_np(pthread_self(), sizeof mine, &mine) != 0)
    return nullptr;
  return new cpu_set_t(allowed);
}

void EndPlacement(void* placement) {
  if (!placement) return;
  auto* allowed = static_cast<cpu_set_t*>(placement);
  pthread_setaffinity_np(pthread_self(), sizeof *allowed, allowed);
  delete allowed;
}
#else
void* PlaceApart(std::thread&) { return nullptr; }
void EndPlacement(void*) {}
#endif

}  // namespace qx::zip
