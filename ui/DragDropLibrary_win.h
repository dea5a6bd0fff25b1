// The drag-and-drop library (library 6 of the program): the drop target
// kind 拖放对象 and its two commands.
#pragma once

#include "runtime/Command.h"
#include "runtime/RuntimeState.h"
#include "ui/DropTargetKind.h"

struct IDropTarget;

namespace qx {

const LibraryRecord* DragDropLibrary();

// The drop-target object of a live drop target control, as the system is
// given it (no reference added); null for another kind.
IDropTarget* DropTargetInterface(UnitObject* control);

// drop target, int32 window handle -> logical: false when the control
// already has a window, or the system refused the registration.
void RegisterDropWindow(TaggedValue* result, int32_t count, TaggedValue* args);
// drop target, [window handle, unused]: withdraws the registration.
void RevokeDropWindow(TaggedValue* result, int32_t count, TaggedValue* args);

}  // namespace qx
