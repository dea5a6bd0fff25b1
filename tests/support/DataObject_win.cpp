#include "DataObject_win.h"

#include <shlobj.h>

#include <cstring>

namespace qx::test {

HRESULT DataObject::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDataObject) {
    *out = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT DataObject::GetData(FORMATETC* f, STGMEDIUM* m) {
  const std::string* bytes = Find(f);
  if (!bytes) return DV_E_FORMATETC;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
  memcpy(GlobalLock(h), bytes->data(), bytes->size());
  GlobalUnlock(h);
  m->tymed = TYMED_HGLOBAL;
  m->hGlobal = h;
  m->pUnkForRelease = nullptr;
  ++gets;
  return S_OK;
}

HRESULT DataObject::QueryGetData(FORMATETC* f) { return Find(f) ? S_OK : DV_E_FORMATETC; }

HRESULT DataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT DataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (direction != DATADIR_GET) return E_NOTIMPL;
  std::vector<FORMATETC> all;
  for (auto& f : formats_)
    all.push_back({static_cast<CLIPFORMAT>(f.first), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
  return SHCreateStdEnumFmtEtc(static_cast<UINT>(all.size()), all.data(), out);
}

const std::string* DataObject::Find(const FORMATETC* f) const {
  if (!f || !(f->tymed & TYMED_HGLOBAL) || f->dwAspect != DVASPECT_CONTENT) return nullptr;
  for (auto& each : formats_)
    if (each.first == f->cfFormat) return &each.second;
  return nullptr;
}

std::string DropFilesContents(const std::vector<std::string>& names, bool wide) {
  DROPFILES header = {};
  header.pFiles = sizeof header;
  header.fWide = wide;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::string& n : names) {
    if (!wide) {
      bytes += n + '\0';
      continue;
    }
    int count = MultiByteToWideChar(CP_ACP, 0, n.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, n.c_str(), -1, w.data(), count);
    bytes.append(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
  }
  bytes.append(wide ? 2 : 1, '\0');
  return bytes;
}

}  // namespace qx::test
