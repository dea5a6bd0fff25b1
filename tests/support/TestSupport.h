// Small helpers for tests that take values back from the runtime (texts,
// text arrays), shared by the runtime, window and automation tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/Command.h"
#include "runtime/Memory.h"
#include "runtime/Text.h"
#include "runtime/Value.h"

namespace qx::test {

// Takes ownership of a text result and returns its bytes.
inline std::string TakeText(char* t) {
  std::string s = t ? t : "";
  FreeMemory(t);
  return s;
}

inline std::string TakeText(const TaggedValue& v) { return TakeText(ValueText(v)); }

inline std::vector<std::string> TakeTextArray(void* array) {
  std::vector<std::string> out;
  int32_t n = ArrayElementCount(array);
  char** e = static_cast<char**>(ArrayElements(array));
  for (int32_t i = 0; i < n; ++i) out.push_back(e[i] ? e[i] : "");
  FreeArray(array, kTagText);
  return out;
}

inline TaggedValue Text(const char* s) { return MakeTextValue(s); }

// How a child that ended with EndProgram(-1) looks to its parent.
#ifdef _WIN32
constexpr int kExitMinusOne = -1;
#else
constexpr int kExitMinusOne = 255;
#endif

// An error handler that tells the parent what was reported (code and the
// message's bytes in hex) instead of showing a dialog, and says it coped.
inline int TellingHandler(int32_t code, const char* message) {
  fprintf(stderr, "[reported code=%d msg=", static_cast<int>(code));
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(message ? message : ""); *p; ++p)
    fprintf(stderr, "%02X", *p);
  fprintf(stderr, "]\n");
  return 1;
}

inline std::string Hex(const char* s) {
  std::string out;
  char b[3];
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    snprintf(b, sizeof b, "%02X", *p);
    out += b;
  }
  return out;
}

}  // namespace qx::test
