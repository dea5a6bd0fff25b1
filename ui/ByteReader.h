// Bounds-checked little-endian reads over stored description bytes. The
// first read past the end fails, and every later read fails too, so a
// caller checks `ok` once at the end.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace qx {

struct ByteReader {
  const unsigned char* p;
  uint32_t left;
  bool ok = true;

  bool Take(uint32_t n, const unsigned char** at) {
    if (!ok || n > left) return ok = false;
    *at = p;
    p += n;
    left -= n;
    return true;
  }
  uint32_t U32() {
    const unsigned char* b;
    if (!Take(4, &b)) return 0;
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint16_t U16() {
    const unsigned char* b;
    if (!Take(2, &b)) return 0;
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  bool Bool() { return U32() != 0; }
  std::string Counted() {
    uint32_t n = U32();
    const unsigned char* b;
    if (!Take(n, &b)) return {};
    return std::string(reinterpret_cast<const char*>(b), n);
  }
  std::string ZeroTerminated() {
    if (!ok) return {};
    const void* nul = memchr(p, 0, left);
    if (!nul) {
      ok = false;
      return {};
    }
    uint32_t n = static_cast<uint32_t>(static_cast<const unsigned char*>(nul) - p);
    std::string s(reinterpret_cast<const char*>(p), n);
    p += n + 1;
    left -= n + 1;
    return s;
  }
  std::string Rest() {
    std::string s(reinterpret_cast<const char*>(p), left);
    p += left;
    left = 0;
    return s;
  }
};

inline ByteReader ReadBytes(const std::string& s) {
  return ByteReader{reinterpret_cast<const unsigned char*>(s.data()),
                    static_cast<uint32_t>(s.size())};
}

}  // namespace qx
