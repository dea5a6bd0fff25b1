// The label kind (core library type 10, "标签") and its own property
// numbers.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* LabelKind();

enum LabelProperty : int32_t {
  kLabelCaption = kFirstOwnProperty,  // text
  kLabelEffect,                       // choice 0-3
  kLabelBorder,                       // choice 0-6
  kLabelGradientWidth,                // values below 5 become 5
  kLabelBorderColour1,
  kLabelBorderColour2,
  kLabelBorderColour3,
  kLabelFont,
  kLabelTextColour,
  kLabelBackground,
  kLabelPicture,
  kLabelPictureMode,   // choice 0-2
  kLabelGradientMode,  // choice 0-8
  kLabelGradientColour1,
  kLabelGradientColour2,
  kLabelGradientColour3,
  kLabelHAlign,  // choice 0-2
  kLabelWordWrap,
  kLabelVAlign,  // choice 0-2
  kLabelDataSource,
  kLabelDataField,
};

}  // namespace qx
