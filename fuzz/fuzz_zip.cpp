// Any bytes as a ZIP archive: every entry extracted, under small caps so
// that the fuzzer cannot run out of memory through legitimate output.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Zip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::zip::Archive archive;
  std::string error, out;
  if (!archive.Open(std::string_view(reinterpret_cast<const char*>(data), size), &error)) return 0;
  archive.SetLimits(16u << 20, 64u << 20);
  for (const qx::zip::Entry& e : archive.entries()) {
    if (!archive.Extract(e, &out, &error)) continue;
    if (out.size() != e.uncompressedSize) __builtin_trap();
  }
  (void)archive.Find("xl/workbook.xml");
  return 0;
}
