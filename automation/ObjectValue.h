// What the runtime knows about object values beyond their block: which
// value types convert like 对象, and the clearing request that support
// libraries built apart send through the runtime's service entry.
//
// Text: GBK on the runtime's side of every call; UTF-16 (BSTR) on the
// spreadsheet application's, converted by runtime/encoding/Wide_win.h.
#pragma once

#include <cstdint>

namespace qx {

// 对象 itself, or a type whose type-table entry carries the object-compatible
// bit. The by-reference flag is ignored.
bool IsObjectCompatibleTag(uint32_t tag);

// Makes kRequestClearObject empty the object value whose block it is
// given. The program's start installs it once; our own code calls
// ClearObjectBlock instead.
void InstallObjectService();

}  // namespace qx
