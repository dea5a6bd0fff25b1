// The top-level window kind (core library type 1, "窗口") and its own
// property numbers.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* WindowKind();

enum WindowProperty : int32_t {
  kWindowTitle = kFirstOwnProperty,  // text
  kWindowBorder,                     // choice 0-6
  kWindowBackground,                 // colour
  kWindowPicture,
  kWindowPictureMode,  // choice 0-3
  kWindowSound,
  kWindowSoundMode,  // choice 0-2
  kWindowControlBox,
  kWindowMaximizeBox,
  kWindowMinimizeBox,
  kWindowPosition,  // 0-3; reading gives 2 when minimised, 3 when maximised, else 0
  kWindowMovable,
  kWindowIcon,
  kWindowEnterMovesFocus,
  kWindowEscCloses,
  kWindowF1Help,
  kWindowHelpFile,
  kWindowHelpContext,
  kWindowInTaskBar,
  kWindowDragByClient,
  kWindowShape,  // choice 0-29
  kWindowTopmost,
  kWindowKeepTitleActive,
  kWindowClassName,
};

}  // namespace qx
