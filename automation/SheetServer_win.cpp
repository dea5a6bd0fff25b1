#include "automation/SheetServer_win.h"

#include <windows.h>

#include "QxSheets.h"

namespace qx {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

HRESULT CreateSheetServerFrom(const std::wstring& dllPath, IDispatch** app) {
  if (!app) return E_POINTER;
  *app = nullptr;
  // Altered search path: the DLL's own dependencies come from its folder.
  HMODULE dll = LoadLibraryExW(dllPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!dll) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  if (!getClassObject) {
    FreeLibrary(dll);
    return CO_E_ERRORINDLL;
  }
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject(CLSID_QxSheetsApplication, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) {
    FreeLibrary(dll);
    return hr;
  }
  hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(app));
  factory->Release();
  // On success the module handle is kept on purpose: the objects need it.
  if (FAILED(hr)) FreeLibrary(dll);
  return hr;
}

HRESULT CreateSheetServer(IDispatch** app) {
  std::wstring folder = ProgramFolder();
  if (folder.empty()) return HRESULT_FROM_WIN32(GetLastError());
  return CreateSheetServerFrom(folder + kSheetServerDll, app);
}

}  // namespace qx
