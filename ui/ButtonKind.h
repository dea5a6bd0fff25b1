// The button kind (core library type 11, "按钮") and its own property
// numbers.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* ButtonKind();

enum ButtonProperty : int32_t {
  kButtonPicture = kFirstOwnProperty,  // re-creates
  kButtonDefault,                      // logical
  kButtonCaption,                      // text
  kButtonHAlign,                       // choice 0-2
  kButtonVAlign,                       // choice 0-2
  kButtonFont,
};

}  // namespace qx
