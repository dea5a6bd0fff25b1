// A real drag of files from this process onto another program's window:
// the system's own drag loop, with the cursor parked over the target. The
// target's IDropTarget lives in the other process, so every call of the
// drag goes through COM's marshalling, as a drag from the shell would.
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "DataObject_win.h"
#include "Driver.h"
#include "OleSession_win.h"

namespace qx::driver {
namespace {

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
  // The shell hands programs wide names.
  test::DataObject data;
  data.Add(CF_HDROP, test::DropFilesContents(paths, true));
  DroppingSource source(target, centre);
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
  return effect;
}

}  // namespace qx::driver
