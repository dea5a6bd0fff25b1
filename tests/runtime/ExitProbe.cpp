// A program that ends the way it is told, for tests that look at the exit
// code from outside (the Linux side sees -1 as 255, under Wine as well).
//
//   qx_exit_probe error   runtime error 4 (handler installed: no dialog)
//   qx_exit_probe end N   EndProgram(N) after an exit routine
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"

int main(int argc, char** argv) {
  qx::RegisterExitRoutine([] { fputs("exit routine\n", stdout); });
  if (argc >= 2 && strcmp(argv[1], "error") == 0) {
    qx::SetRuntimeErrorHandler([](int32_t, const char*) { return 1; });
    qx::ReportRuntimeErrorCode(4);
  }
  if (argc >= 3 && strcmp(argv[1], "end") == 0) qx::EndProgram(atoi(argv[2]));
  return 2;
}
