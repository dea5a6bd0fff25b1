// The window part of a non-visual control: a child window that is never
// shown, whose end takes the control's instance with it.
#pragma once

#include <windows.h>

#include "runtime/Value.h"
#include "ui/UnitKind.h"

namespace qx {

// Makes the hidden child at the loader's rectangle (its style bits plus
// child, clip-siblings and border) of the given window class and ties `unit`
// to it; `onEnd` runs when the window goes and frees the instance. False: no
// window could be made.
bool CreateHiddenUnitWindow(const CreateArgs& a, UnitObject* unit, void (*onEnd)(UnitObject*),
                            const char* windowClass = "STATIC");

// The live control behind a command's control argument, of the given kind;
// an argument that resolves to no live control is the runtime error
// "指定窗口或窗口组件不存在或尚未载入", which does not return. A live unit of
// another kind gives null.
UnitObject* CommandUnit(const TaggedValue* argument, const UnitKind* kind);

}  // namespace qx
