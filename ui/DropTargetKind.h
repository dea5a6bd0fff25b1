// The drop target kind (drag-and-drop library type 1, "拖放对象") and its
// own property numbers.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* DropTargetKind();

enum DropTargetProperty : int32_t {
  kDropTargetAcceptText = kFirstOwnProperty,  // all logical
  kDropTargetAcceptHtml,
  kDropTargetAcceptUrl,
  kDropTargetAcceptFiles,
};

}  // namespace qx
