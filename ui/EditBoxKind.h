// The edit box kind (core library type 5, "编辑框") and its own property
// numbers.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* EditBoxKind();

enum EditBoxProperty : int32_t {
  kEditBoxContent = kFirstOwnProperty,  // text
  kEditBoxBorder,                       // choice 0-5
  kEditBoxTextColour,
  kEditBoxBackground,
  kEditBoxFont,
  kEditBoxHideSelection,  // re-creates
  kEditBoxMaxLength,      // negative becomes 0
  kEditBoxMultiLine,      // re-creates
  kEditBoxScrollBars,     // choice 0-3, re-creates
  kEditBoxAlignment,      // choice 0-2, re-creates
  kEditBoxInputMode,      // choice 0-11
  kEditBoxPasswordChar,   // text; its first byte is used
  kEditBoxCase,           // choice 0-2, re-creates
  kEditBoxSpinStyle,      // choice 0-2, re-creates
  kEditBoxSpinMin,
  kEditBoxSpinMax,
  kEditBoxSelStart,     // -1 puts the caret after the last character
  kEditBoxSelLength,    // -1 selects the whole text
  kEditBoxSelectedText,  // read: the selection; write: replaces it
  kEditBoxDataSource,
  kEditBoxDataField,
};

}  // namespace qx
