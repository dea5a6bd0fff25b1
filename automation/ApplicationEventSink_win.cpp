#include "automation/ApplicationEventSink_win.h"

#include <ocidl.h>

#include <new>

#include "automation/ObjectBlock.h"
#include "automation/SpreadsheetModel.h"
#include "runtime/Value.h"
#include "ui/Events.h"
#include "ui/WindowRuntime_win.h"

namespace qx {

const IID kApplicationEventsIid = {
    0x00024413, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

constexpr EventArgKind kObject = EventArgKind::kObject;
constexpr EventArgKind kSettable = EventArgKind::kSettableLogical;
// The object arguments carry names of ours; the rest are the application's.
constexpr ApplicationEventArg kWorkbook = {"工作簿", kObject, nullptr};
constexpr ApplicationEventArg kSheet = {"工作表", kObject, nullptr};

const ApplicationEventInfo kEvents[kApplicationEventCount] = {
    {"工作簿打开", model::kWorkbookOpen, "当打开一个工作簿时产生此事件", 1, {kWorkbook}},
    {"工作簿激活", model::kWorkbookActivate, "当激活任一工作簿时产生此事件", 1, {kWorkbook}},
    {"工作簿取消激活", model::kWorkbookDeactivate, "当打开的工作簿由活动转为非活动状态时产生此事件", 1, {kWorkbook}},
    {"工作簿即将关闭", model::kWorkbookBeforeClose, "当任一打开的工作簿要关闭时立即产生此事件", 2,
     {kWorkbook,
      {"取消关闭", kSettable,
       "当事件产生时为假。如果该事件过程将本参数设为真，则该过程执行结束之后不关闭工作簿"}}},
    {"工作簿即将保存", model::kWorkbookBeforeSave, "在保存任一打开工作簿之前产生此事件", 3,
     {kWorkbook,
      {"另存为", EventArgKind::kLogical, "如果显示“另存为”对话框则为真"},
      {"取消", kSettable,
       "当事件产生时为假。如果该事件过程将本参数设为真，则该过程执行结束之后不保存工作簿"}}},
    {"工作簿即将打印", model::kWorkbookBeforePrint, "在打印任一打开的工作簿之前产生此事件", 2,
     {kWorkbook,
      {"取消", kSettable,
       "当事件产生时为假。如果该事件过程将本参数设为真，则该过程执行结束之后不打印工作簿"}}},
    {"建新表格", model::kWorkbookNewSheet, "在任何打开的工作簿中新建工作表时产生此事件", 2, {kWorkbook, kSheet}},
    {"表格激活", model::kSheetActivate, "当激活任何一张表时产生此事件", 1, {kSheet}},
    {"表格取消激活", model::kSheetDeactivate, "当任一工作表由活动状态转为非活动状态时产生此事件", 1, {kSheet}},
};

}  // namespace

struct ApplicationEventSink final : IDispatch {
  ULONG references = 0;
  IConnectionPoint* point = nullptr;
  DWORD cookie = 0;
  uint32_t windowId = 0, unitId = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, kApplicationEventsIid)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  // The owning control ends the sink, never its count.
  ULONG STDMETHODCALLTYPE Release() override { return references ? --references : 0; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT*, EXCEPINFO*, UINT*) override;
};

namespace {

IUnknown* ObjectOf(const VARIANT& v) {
  const VARIANT* p = &v;
  if (V_VT(p) == (VT_BYREF | VT_VARIANT)) p = V_VARIANTREF(p);
  if (V_VT(p) == VT_DISPATCH || V_VT(p) == VT_UNKNOWN) return V_UNKNOWN(p);
  if (V_VT(p) == (VT_BYREF | VT_DISPATCH) || V_VT(p) == (VT_BYREF | VT_UNKNOWN))
    return V_UNKNOWNREF(p) ? *V_UNKNOWNREF(p) : nullptr;
  return nullptr;
}

// Where a settable logical goes back to: the application's own logical,
// or the variant it passed by reference, which then holds a logical.
void WriteLogicalBack(VARIANT& v, bool value) {
  const VARIANT_BOOL b = value ? VARIANT_TRUE : VARIANT_FALSE;
  if (V_VT(&v) == (VT_BYREF | VT_BOOL) && V_BOOLREF(&v)) {
    *V_BOOLREF(&v) = b;
  } else if (V_VT(&v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&v)) {
    VARIANT* held = V_VARIANTREF(&v);
    VariantClear(held);
    V_VT(held) = VT_BOOL;
    V_BOOL(held) = b;
  }
}

bool LogicalValue(const VARIANT& v) {
  VARIANT b;
  VariantInit(&b);
  if (FAILED(VariantChangeType(&b, const_cast<VARIANT*>(&v), 0, VT_BOOL))) return false;
  return V_BOOL(&b) != VARIANT_FALSE;
}

}  // namespace

HRESULT ApplicationEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT*, EXCEPINFO*, UINT*) {
  int index = -1;
  for (int i = 0; i < kApplicationEventCount; ++i)
    if (kEvents[i].dispid == member) index = i;
  if (index < 0) return S_OK;
  const ApplicationEventInfo& info = kEvents[index];
  const UINT count = static_cast<UINT>(info.argCount);
  if (!params || params->cArgs != count || params->cNamedArgs != 0) return E_INVALIDARG;
  // A control whose window is gone has nobody to tell.
  if (!FindLiveUnit(windowId, unitId)) return S_OK;

  TypedEventRecord e = {};
  e.windowId = windowId;
  e.unitId = unitId;
  e.event = index;
  e.argCount = count;
  ObjectBlock* blocks[kMaxApplicationEventArgs] = {};
  int32_t logicals[kMaxApplicationEventArgs] = {};
  for (UINT i = 0; i < count; ++i) {
    VARIANT& arg = params->rgvarg[count - 1 - i];  // they arrive last first
    TaggedValue v;
    switch (info.args[i].kind) {
      case EventArgKind::kObject:
        blocks[i] = NewObjectBlockFor(ObjectOf(arg));
        SetValuePointer(&v, blocks[i], kTagObject);
        e.args[i] = {v.lo, v.hi, v.tag, 0};
        break;
      case EventArgKind::kLogical:
        e.args[i] = {LogicalValue(arg) ? 1u : 0u, 0, kTagBool, 0};
        break;
      case EventArgKind::kSettableLogical:
        logicals[i] = LogicalValue(arg) ? 1 : 0;
        SetValuePointer(&v, &logicals[i], kTagBool | kTagByRef);
        e.args[i] = {v.lo, v.hi, v.tag, kEventArgAddress};
        break;
    }
  }
  // What a handler left in a settable argument is the application's answer
  // (cancel or not); with no handler the application keeps its own.
  if (RaiseTypedEvent(&e))
    for (UINT i = 0; i < count; ++i)
      if (info.args[i].kind == EventArgKind::kSettableLogical)
        WriteLogicalBack(params->rgvarg[count - 1 - i], logicals[i] != 0);
  for (ObjectBlock* b : blocks) FreeObjectBlock(b);
  return S_OK;
}

ApplicationEventSink* CreateApplicationEventSink(IDispatch* application, uint32_t windowId,
                                                 uint32_t unitId) {
  auto* sink = new (std::nothrow) ApplicationEventSink;
  if (!sink) return nullptr;
  sink->AddRef();
  sink->windowId = windowId;
  sink->unitId = unitId;
  IConnectionPointContainer* container = nullptr;
  if (application &&
      SUCCEEDED(application->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(&container)))) {
    if (SUCCEEDED(container->FindConnectionPoint(kApplicationEventsIid, &sink->point))) {
      if (FAILED(sink->point->Advise(static_cast<IDispatch*>(sink), &sink->cookie))) {
        sink->point->Release();
        sink->point = nullptr;
        sink->cookie = 0;
      }
    }
    container->Release();
  }
  return sink;
}

void DestroyApplicationEventSink(ApplicationEventSink* sink) {
  if (!sink) return;
  if (sink->point) {
    sink->point->Unadvise(sink->cookie);
    sink->point->Release();
  }
  delete sink;
}

const ApplicationEventInfo* ApplicationEvents() { return kEvents; }

}  // namespace qx
