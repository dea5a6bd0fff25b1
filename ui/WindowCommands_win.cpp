#include <windows.h>

#include "runtime/Commands.h"
#include "runtime/Memory.h"
#include "runtime/Text.h"
#include "ui/ControlSupport_win.h"
#include "ui/WindowCommands.h"
#include "ui/WindowRuntime_win.h"

namespace qx {
namespace {

constexpr UINT kSystemModal = 0x1000;
constexpr UINT kTaskModal = 0x2000;

bool IsControlArgument(const TaggedValue& v) { return v.tag != 0 && !IsBasicTag(v.tag); }

HWND ControlHwnd(const TaggedValue& v) {
  if (!IsControlArgument(v)) return nullptr;
  return UnitHwnd(FindLiveUnit(v.lo, v.hi));
}

}  // namespace

void GetWindowHandle(TaggedValue* result, int32_t count, TaggedValue* args) {
  HWND h = count >= 1 ? ControlHwnd(args[0]) : nullptr;
  *result = MakeInt(static_cast<int32_t>(reinterpret_cast<intptr_t>(h)));
}

void ShowMessage(TaggedValue* result, int32_t count, TaggedValue* args) {
  TaggedValue message = ArgValue(count, args, 0);
  char* text = nullptr;
  if (BaseTag(message.tag) == kTagText) {
    text = CopyText(ValueText(message));
  } else if (IsBasicTag(message.tag) && BaseTag(message.tag) != kTagByteSet) {
    TaggedValue converted = {0, 0, 0};
    ToText(&converted, 1, &message);
    text = ValueText(converted);
  }
  // Unless it is system-modal, the box is task-modal. Set as a bit, not
  // added: flags that already ask for task-modal would otherwise turn into
  // the help button (0x4000).
  UINT flags = static_cast<UINT>(ArgInt(count, args, 1, 0));
  if (!(flags & kSystemModal)) flags |= kTaskModal;
  const char* title = ArgOmitted(count, args, 2) ? "信息：" : ArgText(count, args, 2);
  HWND owner = nullptr;
  if (!ArgOmitted(count, args, 3)) {
    TaggedValue o = args[3];
    if (IsControlArgument(o))
      owner = ControlHwnd(o);
    else if (BaseTag(o.tag) == kTagInt)
      owner = reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(o.lo)));
  }
  int button = MessageBoxA(owner, text ? text : "", title ? title : "", flags);
  FreeMemory(text);
  *result = MakeInt(button >= IDOK && button <= IDNO ? button - 1 : 0);
}

void ProcessEvents(TaggedValue* result, int32_t, TaggedValue*) {
  ProcessWaitingMessages();
  *result = {0, 0, 0};
}

void AppendText(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = {0, 0, 0};
  HWND box = count >= 1 ? ControlHwnd(args[0]) : nullptr;
  if (!box) return;
  for (int32_t i = 1; i < count; ++i) {
    const char* text = ArgText(count, args, i);
    int end = GetWindowTextLengthA(box);
    SendMessageA(box, EM_SETSEL, end, end);
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text ? text : ""));
  }
}

}  // namespace qx
