// The core library's window commands (command convention of Command.h).
// A control argument carries the window identifier in lo, the control
// identifier in hi and the kind's tag.
#pragma once

#include "runtime/Command.h"
#include "ui/FileDialogRules.h"

namespace qx {

// int32 window handle of the control; 0 when it does not exist.
void GetWindowHandle(TaggedValue* result, int32_t count, TaggedValue* args);
// message, int32 flags, [title], [owner] -> int32 button code (IDOK 0 ...).
void ShowMessage(TaggedValue* result, int32_t count, TaggedValue* args);
// Dispatches the waiting messages; a quit message stays in the queue.
void ProcessEvents(TaggedValue* result, int32_t count, TaggedValue* args);
// edit box, text, further texts: each appended at the end, caret after it.
void AppendText(TaggedValue* result, int32_t count, TaggedValue* args);
// int32 scheme -> bool. Schemes 1-3 draw the push buttons and edit boxes of
// this thread, present and future, in the scheme's colours (true); any
// other number gives every window its own drawing back (true when a style
// was on).
void ApplyVisualStyle(TaggedValue* result, int32_t count, TaggedValue* args);
// Lets every styled window go and removes the hook (also at teardown); true
// when a hook was removed.
bool RemoveVisualStyle();

// file dialog -> logical: whether the user confirmed a file, which is then
// its FileName.
void ShowFileDialog(TaggedValue* result, int32_t count, TaggedValue* args);
// How the last ShowFileDialog of this file dialog control ended: a false
// result may be a cancel, or a chosen path too long for the dialog's
// buffer, which the user should be told. Cancelled before the first.
FileDialogEnd LastFileDialogEnd(const TaggedValue& control);
// title, [include files] -> text: the chosen folder's path, or empty.
void ChooseFolder(TaggedValue* result, int32_t count, TaggedValue* args);

}  // namespace qx
