// The OLE drop-target object behind the drop target control: it decides the
// effect of a drag over its window and turns a drop into the control's
// events (0 text, 1 HTML, 2 URL, 3 files), each with one text passed by
// reference.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdint>

#include "ui/TypeBlocks.h"

namespace qx {

enum : int32_t {
  kDropEventText = 0,
  kDropEventHtml = 1,
  kDropEventUrl = 2,
  kDropEventFiles = 3,
};

// The trace hook every drop-target object's IDropTarget methods pass their
// names to ("QxDropTarget::DragEnter" and so on); none is set in the
// program. Returns the previous one.
using DropTargetTraceFn = void (*)(const char* method);
DropTargetTraceFn SetDropTargetTrace(DropTargetTraceFn trace);

class DropTargetObject final : public IDropTarget {
 public:
  // Reference count 1. The drag-image helper is taken when the system has
  // one; without it drags simply show no image.
  explicit DropTargetObject(const DropTargetSettings& accept);

  // Events go to (window, unit) once connected; a disconnected object still
  // answers drags but raises nothing.
  void Connect(uint32_t windowId, uint32_t unitId);
  void Disconnect() { connected_ = false; }
  // The window the drags happen over, for the image helper.
  void SetWindow(HWND window) { window_ = window; }

  DropTargetSettings accept;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  ~DropTargetObject();
  void Raise(int32_t event, const std::string& text);

  LONG refs_ = 1;
  IDropTargetHelper* helper_ = nullptr;
  UINT urlFormat_ = 0, htmlFormat_ = 0;
  bool accepted_ = false;
  bool connected_ = false;
  uint32_t windowId_ = 0, unitId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace qx
