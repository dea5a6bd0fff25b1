// The connection point for the application events. The sinks live in the
// shared state, so a point handed out and released again loses nothing.
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

class AppEventsPoint final : public IConnectionPoint {
 public:
  AppEventsPoint(StatePtr state, IConnectionPointContainer* owner)
      : state_(std::move(state)), owner_(owner) {
    owner_->AddRef();
    CountObject(1);
  }
  ~AppEventsPoint() {
    owner_->Release();
    CountObject(-1);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = IID_QxAppEvents;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override {
    if (!out) return E_POINTER;
    owner_->AddRef();
    *out = owner_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_QxAppEvents, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
      return CONNECT_E_CANNOTCONNECT;
    *cookie = state_->nextCookie++;
    state_->sinks.emplace_back(*cookie, dispatch);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    auto& sinks = state_->sinks;
    for (auto it = sinks.begin(); it != sinks.end(); ++it) {
      if (it->first == cookie) {
        IDispatch* sink = it->second;
        sinks.erase(it);
        sink->Release();
        return S_OK;
      }
    }
    return CONNECT_E_NOCONNECTION;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  std::atomic<ULONG> refs_{1};
  StatePtr state_;
  IConnectionPointContainer* owner_;
};

}  // namespace

IConnectionPoint* NewAppEventsPoint(const StatePtr& state, IConnectionPointContainer* owner) {
  return new AppEventsPoint(state, owner);
}

}  // namespace qx::sheets
