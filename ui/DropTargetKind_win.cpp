// The drop target kind: a never-shown child window, the drop-target object
// that it lends to one registered window, and its four acceptance settings.
#include <iterator>

#include "ui/ControlSupport_win.h"
#include "ui/DragDropLibrary_win.h"
#include "ui/DropTargetObject_win.h"
#include "ui/HiddenUnit_win.h"
#include "ui/PropertyTable.h"

namespace qx {
namespace {

struct DropTarget {
  UnitObject base;
  DropTargetSettings s;
  DropTargetObject* object = nullptr;
  HWND registered = nullptr;
};

DropTarget* AsTarget(UnitObject* u) { return reinterpret_cast<DropTarget*>(u); }

void Revoke(DropTarget* t) {
  if (!t->registered) return;
  RevokeDragDrop(t->registered);
  t->registered = nullptr;
}

// A registration outliving the control would raise events for a control
// that is gone.
void OnEnd(UnitObject* u) {
  DropTarget* t = AsTarget(u);
  Revoke(t);
  t->object->Disconnect();
  t->object->Release();
  delete t;
}

UnitObject* Create(const CreateArgs& a) {
  auto* t = new DropTarget;
  t->base = {nullptr, DropTargetKind(), a.windowId, a.unitId};
  if (!ReadDropTargetSettings(*a.typeBlock, &t->s)) {
    delete t;
    return nullptr;
  }
  t->object = new DropTargetObject(t->s);
  if (!CreateHiddenUnitWindow(a, &t->base, OnEnd)) {
    t->object->Release();
    delete t;
    return nullptr;
  }
  if (!a.designMode) t->object->Connect(a.windowId, a.unitId);
  return &t->base;
}

using S = DropTargetSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kDropTargetAcceptText, "接收文本", kValueLogical, &S::acceptText},
    {kDropTargetAcceptHtml, "接收超文本", kValueLogical, &S::acceptHtml},
    {kDropTargetAcceptUrl, "接收网址", kValueLogical, &S::acceptUrl},
    {kDropTargetAcceptFiles, "接收文件", kValueLogical, &S::acceptFiles},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

// The drop-target object works from its own copy of the settings: it reads
// from that copy, and a write goes to both.
void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  GetSetting(kRows, index, AsTarget(u)->object->accept, out);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& value) {
  DropTarget* t = AsTarget(u);
  SetSetting(kRows, index, &t->s, value);
  SetSetting(kRows, index, &t->object->accept, value);
  return false;
}

std::string SettingsBlock(UnitObject* u) { return WriteDropTargetSettings(AsTarget(u)->s); }

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .setTypeProperty = SetProperty,
    .settingsBlock = SettingsBlock,
    .getTypeProperty = GetProperty,
};

DropTarget* ArgumentTarget(int32_t count, TaggedValue* args) {
  return count >= 1 ? AsTarget(CommandUnit(&args[0], DropTargetKind())) : nullptr;
}

}  // namespace

const UnitKind* DropTargetKind() {
  static const UnitKind kind = MakeUnitKind<kOperations>(
      "拖放对象", "DropTarget", kKindNonVisual | kKindRaisesEvents, kProperties);
  return &kind;
}

const LibraryRecord* DragDropLibrary() {
  static const UnitKind* const kinds[] = {DropTargetKind()};
  static const TypeTable types = {std::size(kinds), kinds};
  static const LibraryRecord record = {"拖放支持库", &types, nullptr};
  return &record;
}

IDropTarget* DropTargetInterface(UnitObject* control) {
  return control && control->kind == DropTargetKind() ? AsTarget(control)->object : nullptr;
}

void RegisterDropWindow(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(false);
  DropTarget* t = ArgumentTarget(count, args);
  if (!t || t->registered) return;
  // Window handles are 32 bits wide even in a 64-bit process.
  HWND h = reinterpret_cast<HWND>(static_cast<intptr_t>(ArgInt(count, args, 1, 0)));
  // Remembered even when the system refuses, as the first registration
  // stands for the control's one window.
  t->registered = h;
  t->object->SetWindow(h);
  *result = MakeBool(RegisterDragDrop(h, t->object) == S_OK);
}

void RevokeDropWindow(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = {0, 0, 0};
  if (DropTarget* t = ArgumentTarget(count, args)) Revoke(t);
}

}  // namespace qx
