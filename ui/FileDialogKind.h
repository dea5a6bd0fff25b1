// The file dialog kind (core library type 31, "通用对话框") and its own
// property numbers.
//
// Types 0 and 1 show the open and save dialogs (settings 9-19); the chosen
// path comes back in FileName. Type 2 shows the font dialog, starting from
// settings 20-25 and 28, and a confirmed choice is written back into them.
// Type 3 opens the help file named by FileName through the system's help
// viewer (WinHelpA), showing what setting 26 asks for.
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
  // The font type's font (20-25, 28) and the help type's settings (26,
  // 27, 29), in the order the type block stores them.
  kFileDialogFontColour,     // 20 colour: the text's COLORREF
  kFileDialogFontBold,       // 21 logical
  kFileDialogFontItalic,     // 22 logical
  kFileDialogFontUnderline,  // 23 logical
  kFileDialogFontStrikeOut,  // 24 logical
  kFileDialogFontSize,       // 25 integer: points, as the font record counts them (0: the
                             //    dialog's own choice)
  kFileDialogHelpCommand,    // 26 choice 0-5, HelpCommandChoice (TypeBlocks.h)
  kFileDialogHelpContext,    // 27 integer: the topic's context number, for command 1
  kFileDialogFontName,       // 28 text: the face name
  kFileDialogHelpKey,        // 29 text: the keyword, for commands 2 and 3
};

}  // namespace qx
