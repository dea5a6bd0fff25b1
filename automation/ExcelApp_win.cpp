#include "automation/ExcelApp_win.h"

#include <ole2.h>

#include "automation/ApplicationEventSink_win.h"
#include "automation/DispatchCall_win.h"
#include "ui/HiddenUnit_win.h"
#include "ui/PropertyTable.h"
#include "automation/SheetServer_win.h"
#include "automation/SpreadsheetModel.h"

namespace qx {
namespace {

struct ExcelApp {
  UnitObject base;
  IDispatch* application = nullptr;  // owned; null: detached
  ApplicationEventSink* sink = nullptr;
};

ExcelApp* AsApp(UnitObject* u) { return reinterpret_cast<ExcelApp*>(u); }

// CLSCTX_INPROC_SERVER | INPROC_HANDLER | LOCAL_SERVER | REMOTE_SERVER, and
// without the remote server for systems that refuse it.
constexpr DWORD kAnyServer = 0x17;
constexpr DWORD kLocalServers = 0x7;

HRESULT CreateRegisteredOrOurs(IUnknown** out) {
  *out = nullptr;
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Excel.Application", &clsid);
  if (FAILED(hr)) {
    // Nobody registered a spreadsheet application: ours, from beside the
    // program, without writing anything to the registry.
    IDispatch* ours = nullptr;
    hr = CreateSheetServer(&ours);
    *out = ours;
    return FAILED(hr) ? kNothingToStartResult : hr;
  }
  hr = CoCreateInstance(clsid, nullptr, kAnyServer, IID_IUnknown, reinterpret_cast<void**>(out));
  if (hr == E_INVALIDARG)
    hr = CoCreateInstance(clsid, nullptr, kLocalServers, IID_IUnknown,
                          reinterpret_cast<void**>(out));
  return hr;
}

const ApplicationFactory kDefaultFactory = {CreateRegisteredOrOurs};
const ApplicationFactory* g_factory = &kDefaultFactory;

void Release(ExcelApp* app) {
  if (!app->application) return;
  DestroyApplicationEventSink(app->sink);
  app->sink = nullptr;
  ReleaseRef(&app->application);
}

void OnEnd(UnitObject* u) {
  Release(AsApp(u));
  delete AsApp(u);
}

UnitObject* Create(const CreateArgs& a) {
  auto* app = new ExcelApp;
  app->base = {nullptr, ExcelAppKind(), a.windowId, a.unitId};
  if (!CreateHiddenUnitWindow(a, &app->base, OnEnd)) {
    delete app;
    return nullptr;
  }
  return &app->base;
}

enum Kind { kDouble, kText, kInt, kLogical };
struct Member {
  PropertyInfo info;
  DISPID dispid;
  Kind kind;
  bool readOnly;
};

// Own properties from kExcelAppLeft on, in number order (the control
// receives them by index, the number - 8).
constexpr Member kMembers[] = {
    {{"左边", kValueDouble, 0}, 0x7F, kDouble, false},
    {{"顶边", kValueDouble, 0}, 0x7E, kDouble, false},
    {{"宽度", kValueDouble, 0}, 0x7A, kDouble, false},
    {{"高度", kValueDouble, 0}, 0x7B, kDouble, false},
    {{"标题", kValueText, 0}, 0x8B, kText, false},
    {{"窗口状态", kValueInt, 0}, 0x18C, kInt, false},
    {{"可视", kValueLogical, 0}, 0x22E, kLogical, false},
    {{"允许事件", kValueLogical, 0}, 0x4BC, kLogical, false},
    {{"版本", kValueText, 0}, 0x188, kText, true},
    {{"活动打印机", kValueText, 0}, 0x132, kText, false},
    {{"全屏显示", kValueLogical, 0}, 0x425, kLogical, false},
    {{"标准字体", kValueText, 0}, 0x39C, kText, false},
    {{"标准字体大小", kValueInt, 0}, 0x39D, kInt, false},
    {{"显示比例", kValueInt, 0}, 0x297, kInt, false},
    {{"已连接", kValueLogical, 0}, 0, kLogical, true},
};
static_assert(std::size(kMembers) == OwnPropertyCount(kExcelAppAttached));
constexpr auto kProperties = PropertyInfos(kMembers);

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  const Member* row = PropertyRow(kMembers, index);
  if (!row) return;
  const int32_t property = kFirstOwnProperty + index;
  IDispatch* app = AsApp(u)->application;
  if (property == kExcelAppAttached) {
    out->i = app ? 1 : 0;
    return;
  }
  if (!app) return;  // detached: 0, false or the empty text, without a call
  const Member& m = *row;
  VARIANT v;
  if (property == kExcelAppZoom) {
    IDispatch* window = DispatchGetObject(app, model::kActiveWindow);
    DispatchGet(window, m.dispid, &v);
    if (window) window->Release();
    double d = VariantToDouble(v);
    out->i = d >= -2147483648.0 && d < 2147483648.0 ? static_cast<int32_t>(d) : 0;
  } else {
    DispatchGet(app, m.dispid, &v);
    switch (m.kind) {
      case kDouble: out->d = VariantToDouble(v); break;
      case kText: out->bytes = VariantToAnsi(v); break;
      case kInt: out->i = VariantToInt(v); break;
      case kLogical: out->i = VariantDataWordNonZero(v) ? 1 : 0; break;
    }
  }
  VariantClear(&v);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& value) {
  IDispatch* app = AsApp(u)->application;
  const Member* row = PropertyRow(kMembers, index);
  if (!app || !row || row->readOnly) return false;
  const Member& m = *row;
  const int32_t property = kFirstOwnProperty + index;
  VARIANT v;
  switch (m.kind) {
    case kDouble: v = DoubleArgument(value.d); break;
    case kText: v = TextArgument(value.bytes); break;
    case kInt:
      v = property == kExcelAppStandardFontSize ? DoubleArgument(value.i) : IntArgument(value.i);
      break;
    case kLogical: v = BoolArgument(value.i != 0); break;
  }
  if (property == kExcelAppZoom) {
    IDispatch* window = DispatchGetObject(app, model::kActiveWindow);
    DispatchPut(window, m.dispid, v);
    if (window) window->Release();
  } else {
    DispatchPut(app, m.dispid, v);
  }
  VariantClear(&v);
  return false;  // never re-created
}

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .setTypeProperty = SetProperty,
    .getTypeProperty = GetProperty,
};

ExcelApp* ArgumentApp(int32_t count, TaggedValue* args) {
  if (count < 1) return nullptr;
  return AsApp(CommandUnit(&args[0], ExcelAppKind()));
}

}  // namespace

const UnitKind* ExcelAppKind() {
  // It raises the application's events (see ApplicationEvents()), although
  // this program binds none of them.
  static const UnitKind kind = MakeUnitKind<kOperations>(
      "Excel程序", "ExcelApp", kKindNonVisual | kKindRaisesEvents, kProperties);
  return &kind;
}

IDispatch* HeldApplication(UnitObject* control) {
  return control && control->kind == ExcelAppKind() ? AsApp(control)->application : nullptr;
}

const ApplicationFactory* SetApplicationFactory(const ApplicationFactory* factory) {
  const ApplicationFactory* old = g_factory;
  g_factory = factory ? factory : &kDefaultFactory;
  return old;
}

StartReport StartApplicationSaying(TaggedValue control) {
  ExcelApp* app = ArgumentApp(1, &control);
  if (!app) return {StartOutcome::kStartFailed, E_INVALIDARG};
  Release(app);
  IUnknown* unknown = nullptr;
  HRESULT hr = g_factory->create(&unknown);
  if (hr == kNothingToStartResult) return {StartOutcome::kNothingToStart, hr};
  if (FAILED(hr) || !unknown) return {StartOutcome::kStartFailed, hr};
  IDispatch* dispatch = nullptr;
  hr = OleRun(unknown);
  if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  unknown->Release();
  if (!dispatch) return {StartOutcome::kStartFailed, hr};
  app->application = dispatch;
  app->sink = CreateApplicationEventSink(dispatch, app->base.windowId, app->base.unitId);
  if (!app->sink) {
    ReleaseRef(&app->application);
    return {StartOutcome::kStartFailed, E_OUTOFMEMORY};
  }
  return {StartOutcome::kStarted, S_OK};
}

void StartApplication(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(count >= 1 && StartApplicationSaying(args[0]).outcome == StartOutcome::kStarted);
}

void ReleaseApplication(TaggedValue* result, int32_t count, TaggedValue* args) {
  if (ExcelApp* app = ArgumentApp(count, args)) Release(app);
}

void QuitApplication(TaggedValue* result, int32_t count, TaggedValue* args) {
  ExcelApp* app = ArgumentApp(count, args);
  if (app && app->application) DispatchCallMethod(app->application, model::kQuit);
}

}  // namespace qx
