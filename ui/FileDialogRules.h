// How the file dialog's stored settings become what the system's open and
// save dialogs take: the option flags, the filter list and its selection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/TypeBlocks.h"

namespace qx {

// The OFN_* bits used here, by value, so that this stays portable.
enum : uint32_t {
  kOfnOverwritePrompt = 0x2,
  kOfnHideReadOnly = 0x4,
  kOfnNoChangeDir = 0x8,
  kOfnPathMustExist = 0x800,
  kOfnFileMustExist = 0x1000,
  kOfnCreatePrompt = 0x2000,
  kOfnExplorer = 0x80000,
  kOfnEnableSizing = 0x800000,
};

uint32_t FileDialogFlags(const FileDialogSettings& s);

// "Text|*.txt|All|*.*" becomes "Text\0*.txt\0All\0*.*\0\0": trailing white
// space dropped, "||" appended unless already there, every "|" a NUL. Empty
// when nothing is left.
std::string FileDialogFilterList(const std::string& filter);

// The 1-based selection in the list; 0 without a filter.
uint32_t FileDialogFilterIndex(const std::string& filterList, int32_t storedIndex);

// How a shown open or save dialog ended.
enum class FileDialogEnd {
  Confirmed,    // FileName is the chosen file
  Cancelled,    // closed without a choice
  NameTooLong,  // the chosen file's full path does not fit the name buffer
  Failed,       // the dialog could not be shown
};

// The extended error of a dialog whose name buffer is too small, by value.
constexpr uint32_t kFnerrBufferTooSmall = 0x3003;

// From what the system's dialog answered: whether it confirmed, its
// extended error, the length of the name it gave back, the buffer's size,
// and whether that name is one the dialog could have chosen. A dialog that
// measures the buffer in UTF-16 units (Wine's) confirms a GBK path that is
// longer in bytes, cut to fit: a confirmed name that fills the buffer (to
// within one byte, where a two-byte character did not fit) and names
// nothing choosable is such a cut one.
FileDialogEnd FileDialogEndFor(bool confirmed, uint32_t extendedError, size_t nameLength,
                               uint32_t bufferSize, bool nameIsChoosable);

// The WinHelpA command of the help type's choice, and what its data word
// carries: the help context, the keyword's address, or nothing. A choice
// out of range is the contents.
enum : uint32_t {
  kWinHelpContext = 0x0001,
  kWinHelpQuit = 0x0002,
  kWinHelpHelpOnHelp = 0x0004,
  kWinHelpFinder = 0x000B,
  kWinHelpKey = 0x0101,
  kWinHelpPartialKey = 0x0105,
};
struct HelpCall {
  uint32_t command;
  enum Data { kNoData, kContextData, kKeywordData } data;
};
HelpCall HelpCallFor(uint32_t choice);

}  // namespace qx
