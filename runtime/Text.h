// Texts, byte sets and arrays as blocks on the value heap, and the few value
// operations the application code carries inline.
#pragma once

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

// Reports a text, byte set or array too large for the runtime's 32-bit
// sizes as the refused allocation it would be ("分配 -1 字节内存失败!").
[[noreturn]] void ReportTextTooLarge();

// Length of a text; null is the empty text.
int32_t TextLength(const char* text);
// A new text of n bytes; null when n <= 0 (the empty text).
char* MakeText(const char* bytes, int32_t n);
// A new copy; null for a null or empty source.
char* CopyText(const char* text);
// -1, 0 or 1; null equals empty; bytes compare unsigned.
int CompareTexts(const char* a, const char* b);
// One new block holding the texts in order, never null.
char* ConcatTexts(const char* const* texts, int count);
char* ConcatTexts(const char* a, const char* b);

// A byte set {1, length, bytes}; null for length <= 0.
void* MakeByteSet(const void* bytes, int32_t length);
int32_t ByteSetLength(const void* byteSet);
const unsigned char* ByteSetBytes(const void* byteSet);

// Arrays: int32 dimension count, the sizes, the elements.
int32_t ArrayElementCount(const void* array);
void* ArrayElements(void* array);
// A one-dimensional array of `count` pointer elements, all null.
void* MakePointerArray(int32_t count);
// a[i] with the runtime's bounds tests: i < 1 reports error 4, i beyond the
// count reports error 1.
void* ArrayElementAddress(void* array, int32_t i, int32_t elementSize);
// Frees each non-null element (when the elements are texts or byte sets,
// as the element tag says) and then the block.
void FreeArray(void* array, uint32_t elementTag);

// A variable assignment: copies first, then frees the old value.
void AssignText(char** variable, const char* source);

}  // namespace qx
