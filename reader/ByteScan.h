// Finding a byte in the short runs a workbook part is made of: a cell's
// text, an attribute's value, a run between references. Inline, sixteen
// bytes a step where the processor has SSE2 (every x86-64; the native
// build), a byte a step elsewhere (the mingw i686 build): a library call
// costs more than the search on runs of a few dozen bytes, tens of
// thousands of times per sheet.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qx::reader {

// The first of [p, end) that is a, b or c, or end.
inline const char* FindAnyOf(const char* p, const char* end, char a, char b, char c) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b), vc = _mm_set1_epi8(c);
  for (; end - p >= 16; p += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)),
                                     _mm_cmpeq_epi8(x, vc));
    const int mask = _mm_movemask_epi8(hit);
    if (mask) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  for (; p < end; ++p) {
    if (*p == a || *p == b || *p == c) return p;
  }
  return end;
}

// The first c in [p, end), or end.
inline const char* FindByte(const char* p, const char* end, char c) { return FindAnyOf(p, end, c, c, c); }

}  // namespace qx::reader
