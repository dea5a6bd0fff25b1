// A real drag of files from this process onto another program's window:
// the system's own drag loop, with the cursor parked over the target. The
// target's IDropTarget lives in the other process, so every call of the
// drag goes through COM's marshalling, as a drag from the shell would.
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "OleSession_win.h"

namespace qx::driver {
namespace {

// CF_HDROP with wide names: a DROPFILES header, each name NUL-ended, one
// NUL more. The shell hands programs wide names.
HGLOBAL DropFilesBlock(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& p : paths) {
    int n = MultiByteToWideChar(CP_ACP, 0, p.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');  // keeps the NUL
    MultiByteToWideChar(CP_ACP, 0, p.c_str(), -1, w.data(), n);
    names += w;
  }
  names += L'\0';
  SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(h));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(h);
  return h;
}

class FilesData final : public IDataObject {
 public:
  explicit FilesData(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // owned by the caller's stack
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = DropFilesBlock(paths_);
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return f && f->cfFormat == CF_HDROP && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC f = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &f, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::vector<std::string> paths_;
  ULONG refs_ = 1;
};

// Drops once the system's drag loop itself has had the target accept the
// files a few times in a row: the feedback carries the effect of the
// target's last answer, at the point where the loop saw the pointer. That
// point can lag behind ours (the X server reports moves when it gets round
// to them, and a dialog that has just closed may still send some), so the
// pointer is put back over the target each round, and rounds elsewhere do
// not count; a drag that never gets there is cancelled.
class DroppingSource final : public IDropSource {
 public:
  explicit DroppingSource(HWND target, POINT over) : target_(target), over_(over) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape || ++rounds_ > 400) return DRAGDROP_S_CANCEL;
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) != target_) {
      SetCursorPos(over_.x, over_.y);
      accepted_ = 0;
    }
    return accepted_ < 4 ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    accepted_ = effect != DROPEFFECT_NONE ? accepted_ + 1 : 0;
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }

 private:
  HWND target_;
  POINT over_;
  int rounds_ = 0, accepted_ = 0;
};

}  // namespace

DWORD DragFilesOnto(HWND target, const std::vector<std::string>& paths) {
  test::OleSession ole;
  RECT rc;
  GetWindowRect(target, &rc);
  POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  SetCursorPos(centre.x, centre.y);
  FilesData data(paths);
  DroppingSource source(target, centre);
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
  return effect;
}

}  // namespace qx::driver
