// The file dialog kind (core library type 31, "通用对话框") and its own
// property numbers.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* FileDialogKind();

enum FileDialogProperty : int32_t {
  kFileDialogType = kFirstOwnProperty,  // 0 open, 1 save, 2 font, 3 help
  kFileDialogTitle,
  kFileDialogFileName,
  kFileDialogFilter,
  kFileDialogFilterIndex,  // negative becomes 0
  kFileDialogInitialFolder,
  kFileDialogDefaultExtension,
  kFileDialogCreatePrompt,
  kFileDialogFileMustExist,
  kFileDialogOverwritePrompt,
  kFileDialogPathMustExist,
  kFileDialogKeepCurrentFolder,
};

}  // namespace qx
