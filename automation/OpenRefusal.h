// How our own spreadsheet server's Workbooks.Open says that our reader
// refused a file, so that a client can tell our reader's reason from the
// words of another spreadsheet application: an interface-defined failure
// (FACILITY_ITF) per reason, and as the description one sentence,
// "无法读取文件“<path>”：<reason>", for clients that show it as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reader/OpenFailure.h"

namespace qx::model {

constexpr int32_t kOpenRefusedFirst = static_cast<int32_t>(0x80040200);
constexpr int32_t kOpenRefusedCount = 0x100;

constexpr int32_t OpenRefusedResult(reader::OpenFailureCode code) {
  return kOpenRefusedFirst + static_cast<int32_t>(code);
}

// False for a failure that is none of ours.
constexpr bool OpenRefusedCode(int32_t result, reader::OpenFailureCode* code) {
  if (result < kOpenRefusedFirst || result >= kOpenRefusedFirst + kOpenRefusedCount) return false;
  *code = static_cast<reader::OpenFailureCode>(result - kOpenRefusedFirst);
  return true;
}

// The description up to the reason.
inline std::wstring OpenRefusedLead(std::wstring_view path) {
  return L"无法读取文件“" + std::wstring(path) + L"”：";
}

}  // namespace qx::model
