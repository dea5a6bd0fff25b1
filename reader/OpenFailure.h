// Why a workbook file could not be read, as a code and, where the code alone
// does not say it, a detail. The reader names no file and makes no sentence:
// the program that shows the failure words its message once, around the
// reason OpenFailureReason gives.
#pragma once

#include <cstdint>
#include <string>

namespace qx::reader {

enum class OpenFailureCode : uint8_t {
  kNone = 0,
  kBadName,            // the name is no path the platform can take
  kNotFound,           // no such file or folder
  kAccessDenied,
  kInUse,              // another program holds it
  kCannotOpen,         // any other refusal to open it
  kNotAFile,           // a folder or a device
  kCannotSize,
  kTooLarge,           // past kMaxFileBytes
  kOutOfMemory,        // for the file's bytes
  kReadFailed,
  kNotAWorkbook,       // no format this reader knows
  kUnreadableContent,  // a known format the reader could not read; detail says why
};

struct OpenFailure {
  OpenFailureCode code = OpenFailureCode::kNone;
  std::string detail;  // UTF-8, one line; for kUnreadableContent
};

// The reason (UTF-8, one line, without the file's name): the code's phrase,
// or the detail of a code that carries one.
std::string OpenFailureReason(const OpenFailure& failure);

}  // namespace qx::reader
