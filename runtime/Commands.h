// The library commands of the core library (command convention of
// Command.h). Window, dialog and process commands live with the window
// runtime; these need no window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/Command.h"

namespace qx {

void TextLength(TaggedValue* result, int32_t count, TaggedValue* args);
void LeftText(TaggedValue* result, int32_t count, TaggedValue* args);
void CharFromCode(TaggedValue* result, int32_t count, TaggedValue* args);
void ReplaceText(TaggedValue* result, int32_t count, TaggedValue* args);
void SplitText(TaggedValue* result, int32_t count, TaggedValue* args);
void ToByteSet(TaggedValue* result, int32_t count, TaggedValue* args);
void ToText(TaggedValue* result, int32_t count, TaggedValue* args);
void WriteBytesToFile(TaggedValue* result, int32_t count, TaggedValue* args);
// int32 code 1-11 -> the folder's path ending with a backslash, or empty.
void GetSpecialFolder(TaggedValue* result, int32_t count, TaggedValue* args);
// process id, or executable name or window title -> whether one process
// was ended.
void KillProcess(TaggedValue* result, int32_t count, TaggedValue* args);

// The replacement and splitting themselves, for callers that hold plain
// texts. Same rules as the commands; results are new (null when empty).
char* ReplaceTextBytes(const char* text, const char* search, const char* replacement,
                       int32_t start, int32_t count, bool caseSensitive);
// The same replacement over texts of any length that may hold NUL bytes
// (a document body): start is a byte offset, count -1 means all.
std::string ReplaceTextSpan(std::string_view text, std::string_view search,
                            std::string_view replacement, size_t start, int64_t count,
                            bool caseSensitive);
// Returns a new one-dimensional text array.
void* SplitTextBytes(const char* text, const char* separator, int32_t maximum);

}  // namespace qx
