#include "automation/server/ServerCore_win.h"

#include <mutex>

namespace qx::sheets {
namespace {

std::atomic<long> g_live{0};
std::atomic<long> g_locks{0};
std::atomic<uint32_t> g_behaviour{0};
const ServerHost kNoHost = {};
const ServerHost* g_host = &kNoHost;

struct TypeLibCache {
  std::mutex lock;
  ITypeLib* lib = nullptr;
  HRESULT loadResult = S_OK;
  bool tried = false;
};
TypeLibCache g_types;

// The type library is a resource of this module (the DLL or the local
// server): load it from our own path, never from the registry, where the
// DLL is never registered.
HRESULT LoadOwnTypeLib(ITypeLib** out) {
  HMODULE self = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&LoadOwnTypeLib), &self))
    return HRESULT_FROM_WIN32(GetLastError());
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (n < path.size()) { path.resize(n); break; }
    path.resize(path.size() * 2);
  }
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, out);
}

}  // namespace

void CountObject(int delta) {
  g_live += delta;
  if (delta > 0 && g_host->objectMade) g_host->objectMade();
  if (delta < 0 && g_host->objectGone) g_host->objectGone();
}
long LiveObjects() { return g_live.load(); }

void CountLock(bool lock) {
  g_locks += lock ? 1 : -1;
  if (g_host->locked) g_host->locked(lock);
}
long Locks() { return g_locks.load(); }

void SetServerHost(const ServerHost* host) { g_host = host ? host : &kNoHost; }
const ServerHost& Host() { return *g_host; }

uint32_t Behaviour() { return g_behaviour.load(); }
void SetBehaviour(uint32_t flags) { g_behaviour = flags; }

HRESULT ServerTypeInfo(REFIID iid, bool dispatchView, ITypeInfo** out) {
  *out = nullptr;
  ITypeLib* lib;
  {
    std::lock_guard<std::mutex> hold(g_types.lock);
    if (!g_types.tried) {
      g_types.tried = true;
      g_types.loadResult = LoadOwnTypeLib(&g_types.lib);
    }
    if (!g_types.lib) return FAILED(g_types.loadResult) ? g_types.loadResult : TYPE_E_CANTLOADLIBRARY;
    lib = g_types.lib;
  }
  ITypeInfo* info = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(iid, &info);
  if (FAILED(hr)) return hr;
  if (dispatchView) {
    *out = info;
    return S_OK;
  }
  // A dual interface's library entry is its dispatch view; its vtable
  // view is the type it refers to as implemented type -1.
  HREFTYPE ref;
  hr = info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref);
  if (SUCCEEDED(hr)) hr = info->GetRefTypeInfo(ref, out);
  info->Release();
  return hr;
}

HRESULT Fail(HRESULT hr, const std::wstring& reason) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetDescription(const_cast<LPOLESTR>(reason.c_str()));
    create->SetSource(const_cast<LPOLESTR>(L"QxSheets"));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hr;
}

HRESULT CopyText(std::wstring_view text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool ArgInt(const VARIANT& v, long* out) {
  VARIANT tmp;
  VariantInit(&tmp);
  if (FAILED(VariantChangeType(&tmp, const_cast<VARIANT*>(&v), 0, VT_I4))) return false;
  *out = V_I4(&tmp);
  return true;
}

bool ArgText(const VARIANT& v, std::wstring* out) {
  VARIANT tmp;
  VariantInit(&tmp);
  if (FAILED(VariantChangeType(&tmp, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return false;
  out->assign(V_BSTR(&tmp) ? V_BSTR(&tmp) : L"", V_BSTR(&tmp) ? SysStringLen(V_BSTR(&tmp)) : 0);
  VariantClear(&tmp);
  return true;
}

namespace {

// Arguments are given last first, as Invoke takes them; a sink may write
// through a by-reference one.
void CallSinks(const StatePtr& state, DISPID event, VARIANT* args, UINT count) {
  if (!state->enableEvents || state->sinks.empty()) return;
  // A sink may unadvise while it runs: call a copy of the list.
  std::vector<IDispatch*> sinks;
  for (auto& [cookie, sink] : state->sinks) {
    sink->AddRef();
    sinks.push_back(sink);
  }
  DISPPARAMS params = {args, nullptr, count, 0};
  for (IDispatch* sink : sinks) {
    VARIANT result;
    VariantInit(&result);
    UINT argError = 0;
    sink->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, &argError);
    VariantClear(&result);
    sink->Release();
  }
}

}  // namespace

void FireEvent(const StatePtr& state, DISPID event, IDispatch* first, IDispatch* second) {
  VARIANT args[2];  // reversed, as Invoke takes them
  UINT count = second ? 2 : 1;
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  V_VT(&args[count - 1]) = VT_DISPATCH;
  V_DISPATCH(&args[count - 1]) = first;
  if (second) {
    V_VT(&args[0]) = VT_DISPATCH;
    V_DISPATCH(&args[0]) = second;
  }
  CallSinks(state, event, args, count);
}

bool SinksCancel(const StatePtr& state, DISPID event, const BookPtr& book, bool saveAsUi) {
  if (!state->enableEvents || state->sinks.empty()) return false;
  IQxWorkbook* wb = NewWorkbook(state, book);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[3];  // reversed: cancel, [SaveAsUI,] the workbook
  UINT count = 0;
  V_VT(&args[count]) = VT_BYREF | VT_BOOL;
  V_BOOLREF(&args[count++]) = &cancel;
  if (event == model::kWorkbookBeforeSave) {
    V_VT(&args[count]) = VT_BOOL;
    V_BOOL(&args[count++]) = saveAsUi ? VARIANT_TRUE : VARIANT_FALSE;
  }
  V_VT(&args[count]) = VT_DISPATCH;
  V_DISPATCH(&args[count++]) = wb;
  CallSinks(state, event, args, count);
  wb->Release();
  return cancel != VARIANT_FALSE;
}

BookPtr AddBlankBook(const StatePtr& state) {
  auto book = std::make_shared<BookModel>();
  book->book.sheets.push_back(reader::Sheet{"Sheet1", {}});
  book->extras.resize(1);
  book->name = L"Book" + std::to_wstring(++state->untitled);
  state->books.push_back(book);
  return book;
}

void ActivateBook(const StatePtr& state, const BookPtr& book) {
  state->active = book;
  if (state->sinks.empty()) return;
  IQxWorkbook* wb = NewWorkbook(state, book);
  FireEvent(state, model::kWorkbookActivate, wb);
  wb->Release();
}

}  // namespace qx::sheets
