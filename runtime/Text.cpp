#include "runtime/Text.h"

#include <cstring>

#include "runtime/Memory.h"
#include "runtime/RuntimeError.h"

namespace qx {

void ReportTextTooLarge() { ReportRuntimeError("分配 -1 字节内存失败!", 0); }

int32_t TextLength(const char* text) {
  if (!text) return 0;
  size_t n = strlen(text);
  // No text of the runtime's own is this long; one from outside is refused
  // rather than given a wrapped length.
  if (n > static_cast<size_t>(INT32_MAX)) ReportTextTooLarge();
  return static_cast<int32_t>(n);
}

char* MakeText(const char* bytes, int32_t n) {
  if (n <= 0) return nullptr;
  if (n == INT32_MAX) ReportTextTooLarge();  // no room for the terminator
  char* t = static_cast<char*>(AllocateMemory(n + 1));
  memcpy(t, bytes, n);
  t[n] = 0;
  return t;
}

char* CopyText(const char* text) { return MakeText(text, TextLength(text)); }

int CompareTexts(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
  const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
  while (*x && *x == *y) ++x, ++y;
  if (*x == *y) return 0;
  return *x < *y ? -1 : 1;
}

char* ConcatTexts(const char* const* texts, int count) {
  int64_t total = 0;
  for (int i = 0; i < count; ++i) total += TextLength(texts[i]);
  // A sum past the 32-bit block size is a refused request, not a wrap-around.
  char* out = static_cast<char*>(
      AllocateMemory(total + 1 > INT32_MAX ? -1 : static_cast<int32_t>(total + 1)));
  char* p = out;
  for (int i = 0; i < count; ++i) {
    int32_t n = TextLength(texts[i]);
    if (n) memcpy(p, texts[i], n);
    p += n;
  }
  *p = 0;
  return out;
}

char* ConcatTexts(const char* a, const char* b) {
  const char* both[] = {a, b};
  return ConcatTexts(both, 2);
}

void* MakeByteSet(const void* bytes, int32_t length) {
  if (length <= 0) return nullptr;
  if (length > INT32_MAX - 8) ReportTextTooLarge();
  int32_t* block = static_cast<int32_t*>(AllocateMemory(8 + length));
  block[0] = 1;
  block[1] = length;
  memcpy(block + 2, bytes, length);
  return block;
}

int32_t ByteSetLength(const void* byteSet) {
  return byteSet ? static_cast<const int32_t*>(byteSet)[1] : 0;
}

const unsigned char* ByteSetBytes(const void* byteSet) {
  return byteSet ? reinterpret_cast<const unsigned char*>(static_cast<const int32_t*>(byteSet) + 2)
                 : nullptr;
}

int32_t ArrayElementCount(const void* array) {
  if (!array) return 0;
  const int32_t* h = static_cast<const int32_t*>(array);
  if (h[0] <= 0) return 0;
  // Each step stays within 32 bits: a header whose sizes multiply past
  // them describes no array that could exist, and is refused rather than
  // given a wrapped count.
  int64_t count = 1;
  for (int32_t i = 0; i < h[0]; ++i) {
    if (h[1 + i] <= 0) return 0;
    count *= h[1 + i];
    if (count > INT32_MAX) ReportTextTooLarge();
  }
  return static_cast<int32_t>(count);
}

void* ArrayElements(void* array) {
  int32_t* h = static_cast<int32_t*>(array);
  return h + 1 + (h[0] > 0 ? h[0] : 0);
}

void* MakePointerArray(int32_t count) {
  if (count < 0) count = 0;
  const int64_t size = 8 + static_cast<int64_t>(count) * static_cast<int64_t>(sizeof(void*));
  if (size > INT32_MAX) ReportTextTooLarge();
  int32_t* h = static_cast<int32_t*>(AllocateMemory(static_cast<int32_t>(size)));
  h[0] = 1;
  h[1] = count;
  memset(h + 2, 0, count * sizeof(void*));
  return h;
}

void* ArrayElementAddress(void* array, int32_t i, int32_t elementSize) {
  if (i - 1 < 0) ReportRuntimeErrorCode(4);
  if (i - 1 >= ArrayElementCount(array)) ReportRuntimeErrorCode(1);
  return static_cast<char*>(ArrayElements(array)) + static_cast<size_t>(i - 1) * elementSize;
}

void FreeArray(void* array, uint32_t elementTag) {
  if (!array || InConstantArea(array)) return;
  uint32_t tag = BaseTag(elementTag);
  if (tag == kTagText || tag == kTagByteSet) {
    void** e = static_cast<void**>(ArrayElements(array));
    int32_t n = ArrayElementCount(array);
    for (int32_t i = 0; i < n; ++i) FreeMemory(e[i]);
  }
  FreeMemory(array);
}

void AssignText(char** variable, const char* source) {
  char* copy = CopyText(source);
  FreeMemory(*variable);
  *variable = copy;
}

}  // namespace qx
