// Any bytes, read as .csv: a workbook or an error, never a crash.
#include "fuzz/ReadAsFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return ReadAsFormat(data, size, qx::reader::Format::Csv);
}
