// The application object: the root a client creates, a connection point
// container for the application events, and the settings a client may set.
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

class Application final : public DispatchObject<IQxApplication>, public IConnectionPointContainer {
 public:
  Application() : DispatchObject(IID_IQxApplication), state_(std::make_shared<ServerState>()) {}
  // The sinks may hold references back to us or to the client: let them go
  // with the application.
  ~Application() override { ReleaseSinks(); }

  // IConnectionPointContainer (its IUnknown is the application's).
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_QxAppEvents)) return CONNECT_E_NOCONNECTION;
    *out = NewAppEventsPoint(state_, this);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Workbooks(IQxWorkbooks** out) override {
    return Put(out, NewWorkbooks(state_));
  }
  HRESULT STDMETHODCALLTYPE get_Application(IQxApplication** out) override {
    if (!out) return E_POINTER;
    AddRef();
    *out = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Sheets(IQxSheets** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!state_->active) return Fail(E_FAIL, L"没有活动的工作簿");
    *out = NewSheets(state_, state_->active);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ActiveWorkbook(IQxWorkbook** out) override {
    // Nothing (a null object) when no workbook is open, as clients expect.
    return Put(out, state_->active ? NewWorkbook(state_, state_->active) : static_cast<IQxWorkbook*>(nullptr));
  }
  HRESULT STDMETHODCALLTYPE get_ActiveSheet(IQxWorksheet** out) override {
    return Put(out, state_->active ? NewWorksheet(state_, state_->active, 0) : static_cast<IQxWorksheet*>(nullptr));
  }
  HRESULT STDMETHODCALLTYPE get_ActiveWindow(IQxWindow** out) override { return Put(out, NewWindow(state_)); }
  HRESULT STDMETHODCALLTYPE get_Version(BSTR* out) override { return CopyText(L"1.0", out); }
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* out) override { return CopyText(state_->caption, out); }
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR v) override {
    state_->caption.assign(v ? v : L"", v ? SysStringLen(v) : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* out) override {
    return Put<VARIANT_BOOL>(out, state_->visible ? VARIANT_TRUE : VARIANT_FALSE);
  }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL v) override {
    state_->visible = v != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Left(double* out) override { return Put(out, state_->left); }
  HRESULT STDMETHODCALLTYPE put_Left(double v) override { state_->left = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Top(double* out) override { return Put(out, state_->top); }
  HRESULT STDMETHODCALLTYPE put_Top(double v) override { state_->top = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Width(double* out) override { return Put(out, state_->width); }
  HRESULT STDMETHODCALLTYPE put_Width(double v) override { state_->width = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Height(double* out) override { return Put(out, state_->height); }
  HRESULT STDMETHODCALLTYPE put_Height(double v) override { state_->height = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_WindowState(long* out) override { return Put(out, state_->windowState); }
  HRESULT STDMETHODCALLTYPE put_WindowState(long v) override { state_->windowState = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_EnableEvents(VARIANT_BOOL* out) override {
    return Put<VARIANT_BOOL>(out, state_->enableEvents ? VARIANT_TRUE : VARIANT_FALSE);
  }
  HRESULT STDMETHODCALLTYPE put_EnableEvents(VARIANT_BOOL v) override {
    state_->enableEvents = v != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ActivePrinter(BSTR* out) override { return CopyText(state_->activePrinter, out); }
  HRESULT STDMETHODCALLTYPE put_ActivePrinter(BSTR v) override {
    state_->activePrinter.assign(v ? v : L"", v ? SysStringLen(v) : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_DisplayFullScreen(VARIANT_BOOL* out) override {
    return Put<VARIANT_BOOL>(out, state_->fullScreen ? VARIANT_TRUE : VARIANT_FALSE);
  }
  HRESULT STDMETHODCALLTYPE put_DisplayFullScreen(VARIANT_BOOL v) override {
    state_->fullScreen = v != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_StandardFont(BSTR* out) override { return CopyText(state_->standardFont, out); }
  HRESULT STDMETHODCALLTYPE put_StandardFont(BSTR v) override {
    state_->standardFont.assign(v ? v : L"", v ? SysStringLen(v) : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_StandardFontSize(double* out) override { return Put(out, state_->standardFontSize); }
  HRESULT STDMETHODCALLTYPE put_StandardFontSize(double v) override {
    state_->standardFontSize = v;
    return S_OK;
  }
  // Quitting closes every workbook. In a process of its own the server then
  // ends, whatever references its clients still hold; in theirs the object
  // lives on until its last reference goes.
  HRESULT STDMETHODCALLTYPE Quit() override {
    state_->books.clear();
    state_->active.reset();
    if (Host().applicationQuit) {
      // The sinks are the clients' objects: let go of them while the client
      // waits for this call, not as the process ends, when it may not be
      // listening.
      ReleaseSinks();
      Host().applicationQuit();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Activate() override { return S_OK; }

  // IUnknown of the second base, forwarded.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return DispatchObject::QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }

 protected:
  HRESULT QueryOther(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
      *out = static_cast<IConnectionPointContainer*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

 private:
  void ReleaseSinks() {
    std::vector<std::pair<DWORD, IDispatch*>> sinks;
    sinks.swap(state_->sinks);
    for (auto& [cookie, sink] : sinks) sink->Release();
  }

  StatePtr state_;
};

class Window final : public DispatchObject<IQxWindow> {
 public:
  explicit Window(StatePtr state) : DispatchObject(IID_IQxWindow), state_(std::move(state)) {}
  HRESULT STDMETHODCALLTYPE get_Zoom(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (V_VT(&state_->zoom.v) == VT_EMPTY) {
      V_VT(out) = VT_R8;
      V_R8(out) = 100;
      return S_OK;
    }
    return VariantCopy(out, &state_->zoom.v);
  }
  HRESULT STDMETHODCALLTYPE put_Zoom(VARIANT v) override { return VariantCopyInd(&state_->zoom.v, &v); }

 private:
  StatePtr state_;
};

}  // namespace

IQxApplication* NewApplication() { return new Application(); }
IQxWindow* NewWindow(const StatePtr& state) { return new Window(state); }

}  // namespace qx::sheets
