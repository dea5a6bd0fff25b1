#include "ui/IconData.h"

#include <cstdlib>

#include "ui/ByteReader.h"

namespace qx {

bool PickIconImage(const std::string& file, int32_t wantedSize, IconImage* out) {
  ByteReader in = ReadBytes(file);
  uint16_t reserved = in.U16(), type = in.U16(), count = in.U16();
  if (!in.ok || reserved != 0 || type != 1) return false;
  bool found = false;
  int32_t bestWidth = 0, bestBits = 0;
  for (uint16_t i = 0; i < count; ++i) {
    const unsigned char* e;
    if (!in.Take(4, &e)) return false;
    int32_t width = e[0] ? e[0] : 256;  // 0 stands for 256
    in.U16();                           // planes
    int32_t bits = in.U16();
    uint32_t size = in.U32(), offset = in.U32();
    if (!in.ok) return false;
    if (size == 0 || offset > file.size() || size > file.size() - offset) continue;
    auto nearer = [&] {
      int32_t d = std::abs(width - wantedSize), best = std::abs(bestWidth - wantedSize);
      if (d != best) return d < best;
      if (width != bestWidth) return width > bestWidth;
      return bits > bestBits;
    };
    if (found && !nearer()) continue;
    found = true;
    bestWidth = width;
    bestBits = bits;
    *out = {offset, size};
  }
  return found;
}

}  // namespace qx
