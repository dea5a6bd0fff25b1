#include "ui/DropTargetObject_win.h"

#include <string>
#include <vector>

#include "runtime/Memory.h"
#include "runtime/Text.h"
#include "runtime/encoding/Gbk.h"
#include "runtime/encoding/Wide_win.h"
#include "ui/DropRules.h"
#include "ui/Events.h"

namespace qx {
namespace {

static_assert(kDropNone == DROPEFFECT_NONE && kDropCopy == DROPEFFECT_COPY &&
              kDropMove == DROPEFFECT_MOVE && kDropLink == DROPEFFECT_LINK &&
              kKeyShift == MK_SHIFT && kKeyControl == MK_CONTROL);

FORMATETC FormatOf(UINT format) {
  return {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, UINT format) {
  FORMATETC f = FormatOf(format);
  return format && data->QueryGetData(&f) == S_OK;
}

// The format's data as a zero-terminated text, read no further than the
// memory block: data from another program need not end with a zero.
bool TextOf(IDataObject* data, UINT format, std::string* out) {
  FORMATETC f = FormatOf(format);
  STGMEDIUM m = {};
  if (!format || data->GetData(&f, &m) != S_OK) return false;
  bool ok = false;
  if (m.tymed == TYMED_HGLOBAL && m.hGlobal) {
    if (const char* p = static_cast<const char*>(GlobalLock(m.hGlobal))) {
      SIZE_T size = GlobalSize(m.hGlobal);
      SIZE_T n = 0;
      while (n < size && p[n]) ++n;
      out->assign(p, n);
      GlobalUnlock(m.hGlobal);
      ok = true;
    }
  }
  ReleaseStgMedium(&m);
  return ok;
}

bool FilesOf(IDataObject* data, std::vector<std::string>* out) {
  FORMATETC f = FormatOf(CF_HDROP);
  STGMEDIUM m = {};
  if (data->GetData(&f, &m) != S_OK) return false;
  bool ok = false;
  if (m.tymed == TYMED_HGLOBAL && m.hGlobal) {
    HDROP drop = static_cast<HDROP>(m.hGlobal);
    // Taken wide, as the "A" query would write a character GBK lacks as a
    // near one ("²" as "2"): the name of another file.
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      UINT length = DragQueryFileW(drop, i, nullptr, 0);
      std::wstring name(length + 1, L'\0');
      UINT got = DragQueryFileW(drop, i, name.data(), length + 1);
      name.resize(got <= length ? got : length);
      out->push_back(AnsiNameFromWide(name));
    }
    ok = count > 0;
  }
  ReleaseStgMedium(&m);
  return ok;
}

// "HTML Format" is UTF-8; the handlers read the ANSI code page.
std::string AnsiFromHtmlClip(const std::string& utf8) {
  std::u16string units = gbk::Utf8ToUtf16(utf8);
  ReplaceNoBreakSpaces(&units);
  return AnsiFromWide(WideView(units), nullptr, true);
}

DropTargetTraceFn g_trace = nullptr;

// Each IDropTarget method names itself here first; nothing listens unless
// a trace is set.
void Trace(const char* method) {
  if (g_trace) g_trace(method);
}

}  // namespace

DropTargetTraceFn SetDropTargetTrace(DropTargetTraceFn trace) {
  DropTargetTraceFn old = g_trace;
  g_trace = trace;
  return old;
}

DropTargetObject::DropTargetObject(const DropTargetSettings& a) : accept(a) {
  if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IDropTargetHelper, reinterpret_cast<void**>(&helper_))))
    helper_ = nullptr;
}

DropTargetObject::~DropTargetObject() {
  if (helper_) helper_->Release();
}

void DropTargetObject::Connect(uint32_t windowId, uint32_t unitId) {
  urlFormat_ = RegisterClipboardFormatA("UniformResourceLocator");
  htmlFormat_ = RegisterClipboardFormatA("HTML Format");
  windowId_ = windowId;
  unitId_ = unitId;
  connected_ = true;
}

HRESULT DropTargetObject::QueryInterface(REFIID iid, void** out) {
  Trace("QxDropTarget::QueryInterface");
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG DropTargetObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG DropTargetObject::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT DropTargetObject::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  Trace("QxDropTarget::DragEnter");
  if (!effect) return E_INVALIDARG;
  POINT pt = {point.x, point.y};
  if (helper_ && data) helper_->DragEnter(window_, data, &pt, *effect);
  accepted_ = data && ((accept.acceptText && Offers(data, CF_TEXT)) ||
                       (accept.acceptFiles && Offers(data, CF_HDROP)) ||
                       (accept.acceptUrl && Offers(data, urlFormat_)) ||
                       (accept.acceptHtml && Offers(data, htmlFormat_)));
  *effect = DropEffectFor(accepted_, keys, *effect);
  return S_OK;
}

HRESULT DropTargetObject::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  Trace("QxDropTarget::DragOver");
  if (!effect) return E_INVALIDARG;
  POINT pt = {point.x, point.y};
  if (helper_) helper_->DragOver(&pt, *effect);
  *effect = DropEffectFor(accepted_, keys, *effect);
  return S_OK;
}

HRESULT DropTargetObject::DragLeave() {
  Trace("QxDropTarget::DragLeave");
  if (helper_) helper_->DragLeave();
  accepted_ = false;
  return S_OK;
}

void DropTargetObject::Raise(int32_t event, const std::string& text) {
  if (!connected_) return;
  // The handler gets the address of a text variable; what the variable
  // holds afterwards is the runtime's to free.
  char* variable = MakeText(text.data(), static_cast<int32_t>(text.size()));
  TaggedValue ref;
  SetValuePointer(&ref, &variable, kTagText | kTagByRef);
  TypedEventRecord e = {};
  e.windowId = windowId_;
  e.unitId = unitId_;
  e.event = event;
  e.argCount = 1;
  e.args[0] = {ref.lo, ref.hi, ref.tag, kEventArgAddress};
  RaiseTypedEvent(&e);
  FreeMemory(variable);
}

HRESULT DropTargetObject::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  Trace("QxDropTarget::Drop");
  if (!effect) return E_INVALIDARG;
  POINT pt = {point.x, point.y};
  if (helper_ && data) helper_->Drop(data, &pt, *effect);
  *effect = DropEffectFor(accepted_, keys, *effect);
  accepted_ = false;
  if (*effect == kDropNone || !data) return E_FAIL;
  // Keep this object alive should a handler revoke the registration.
  AddRef();
  std::string text;
  bool offersHtml = Offers(data, htmlFormat_);
  if (accept.acceptText && !offersHtml && TextOf(data, CF_TEXT, &text))
    Raise(kDropEventText, text);
  if (accept.acceptHtml && offersHtml && TextOf(data, htmlFormat_, &text))
    Raise(kDropEventHtml, AnsiFromHtmlClip(text));
  if (accept.acceptUrl && Offers(data, urlFormat_) && TextOf(data, urlFormat_, &text))
    Raise(kDropEventUrl, text);
  std::vector<std::string> files;
  if (accept.acceptFiles && Offers(data, CF_HDROP) && FilesOf(data, &files))
    Raise(kDropEventFiles, DroppedFilesText(files));
  Release();
  // Never a success: the source must not delete what it thinks was moved.
  return E_FAIL;
}

}  // namespace qx
