// What a drag or the clipboard carries, made up by a test: a data object
// over fixed contents, and the CF_HDROP block that names dropped files.
#pragma once

#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

namespace qx::test {

// One block of bytes per clipboard format, each handed out as a new
// HGLOBAL on every GetData. It lives on its creator's stack: the count of
// references is kept, never acted on.
class DataObject final : public IDataObject {
 public:
  void Add(UINT format, std::string bytes) { formats_.push_back({format, std::move(bytes)}); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

  // How many times GetData handed something out.
  int gets = 0;

 private:
  const std::string* Find(const FORMATETC* f) const;
  ULONG refs_ = 1;
  std::vector<std::pair<UINT, std::string>> formats_;
};

// CF_HDROP contents: a DROPFILES header, then the names (GBK), each ended
// by a NUL, and one NUL more; ANSI names, or the same as UTF-16.
std::string DropFilesContents(const std::vector<std::string>& names, bool wide);

}  // namespace qx::test
