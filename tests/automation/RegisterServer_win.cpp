#include "RegisterServer_win.h"

#include <windows.h>

#include "QxSheets.h"

namespace qxtest {
namespace {

constexpr const wchar_t* kProgIdKey = L"Software\\Classes\\Excel.Application";

std::wstring ClsidText() {
  wchar_t text[64];
  StringFromGUID2(CLSID_QxSheetsApplication, text, 64);
  return text;
}

std::wstring ClsidKey() { return L"Software\\Classes\\CLSID\\" + ClsidText(); }

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY h;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

ServerRegistration::ServerRegistration(const std::wstring& dllPath) {
  if (!UnderWine()) {
    why_ = "registering under Excel.Application is for the tests' private Wine prefix only";
    return;
  }
  CLSID existing;
  if (SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &existing))) {
    why_ = "Excel.Application is already registered here; it is left alone";
    return;
  }
  HKEY h;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ClsidKey().c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
    RegCloseKey(h);
    why_ = "our class id is already registered here; it is left alone";
    return;
  }
  // The user's classes first. Wine's COM does not look there (its
  // HKEY_CLASSES_ROOT is the machine's classes only), so when the ProgID
  // does not resolve the same keys go to the machine's classes of the
  // private prefix instead.
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    root_ = root;
    ok_ = SetValue(root, kProgIdKey, nullptr, L"Quillox spreadsheet server (tests)") &&
          SetValue(root, std::wstring(kProgIdKey) + L"\\CLSID", nullptr, ClsidText()) &&
          SetValue(root, ClsidKey(), nullptr, L"Quillox spreadsheet server (tests)") &&
          SetValue(root, ClsidKey() + L"\\ProgID", nullptr, L"Excel.Application") &&
          SetValue(root, ClsidKey() + L"\\InprocServer32", nullptr, dllPath) &&
          SetValue(root, ClsidKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    CLSID found;
    if (ok_ && SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &found))) return;
    ok_ = false;
    RegDeleteTreeW(root, kProgIdKey);
    RegDeleteTreeW(root, ClsidKey().c_str());
  }
  why_ = "the registration did not take";
}

ServerRegistration::~ServerRegistration() {
  if (!ok_) return;
  RegDeleteTreeW(static_cast<HKEY>(root_), kProgIdKey);
  RegDeleteTreeW(static_cast<HKEY>(root_), ClsidKey().c_str());
}

}  // namespace qxtest
