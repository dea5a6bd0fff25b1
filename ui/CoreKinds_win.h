// The core library's unit kinds built so far.
#pragma once

#include "ui/UnitKind.h"

namespace qx {

const UnitKind* WindowKind();   // type 1, "窗口"
const UnitKind* EditBoxKind();  // type 5, "编辑框"
const UnitKind* LabelKind();    // type 10, "标签"
const UnitKind* ButtonKind();   // type 11, "按钮"
const UnitKind* FileDialogKind();  // type 31, "通用对话框"

}  // namespace qx
