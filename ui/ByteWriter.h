// Little-endian output for the description and its type blocks.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

struct ByteWriter {
  std::string bytes;

  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void U16(uint16_t v) {
    bytes.push_back(static_cast<char>(v));
    bytes.push_back(static_cast<char>(v >> 8));
  }
  void Bool(bool v) { U32(v ? 1 : 0); }
  void Counted(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    bytes += s;
  }
  void ZeroTerminated(const std::string& s) {
    bytes += s;
    bytes.push_back('\0');
  }
  void Raw(const std::string& s) { bytes += s; }
};

}  // namespace qx
