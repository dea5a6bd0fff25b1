#include "reader/Crc32.h"

#if QX_HAVE_ISAL
#include <isa-l/crc.h>
#else
#include <zlib.h>
#endif

namespace qx::zip {

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
#if QX_HAVE_ISAL
  return crc32_gzip_refl(crc, static_cast<const unsigned char*>(data), size);
#else
  // zlib counts in 32-bit quantities.
  const auto* p = static_cast<const Bytef*>(data);
  uLong c = crc;
  while (size > 0) {
    const uInt step = size > (1u << 30) ? (1u << 30) : static_cast<uInt>(size);
    c = crc32(c, p, step);
    p += step;
    size -= step;
  }
  return static_cast<uint32_t>(c);
#endif
}

}  // namespace qx::zip
