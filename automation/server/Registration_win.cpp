#include "automation/server/Registration_win.h"

#include <windows.h>

#include "QxSheets.h"

namespace qx::sheets {
namespace {

constexpr const wchar_t* kProgId = L"Excel.Application";
constexpr const wchar_t* kDescription = L"Quillox spreadsheet server (tests)";
constexpr const wchar_t* kTypeLibVersion = L"1.0";
// The system's type-library marshaller (PSOAInterface).
constexpr const wchar_t* kTypeLibMarshaller = L"{00020424-0000-0000-C000-000000000046}";

// The dual interfaces a client is handed across processes.
struct Interface {
  const IID* iid;
  const wchar_t* name;
};
const Interface kInterfaces[] = {
    {&IID_IQxApplication, L"IQxApplication"}, {&IID_IQxWorkbooks, L"IQxWorkbooks"},
    {&IID_IQxWorkbook, L"IQxWorkbook"},       {&IID_IQxSheets, L"IQxSheets"},
    {&IID_IQxWorksheet, L"IQxWorksheet"},     {&IID_IQxRange, L"IQxRange"},
    {&IID_IQxFont, L"IQxFont"},               {&IID_IQxWindow, L"IQxWindow"},
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring Classes(const std::wstring& key) { return L"Software\\Classes\\" + key; }
std::wstring ProgIdKey() { return Classes(kProgId); }
std::wstring ClassKey() { return Classes(L"CLSID\\" + GuidText(CLSID_QxSheetsApplication)); }
std::wstring TypeLibKey() { return Classes(L"TypeLib\\" + GuidText(LIBID_QxSheetsLib)); }
std::wstring InterfaceKey(const Interface& i) { return Classes(L"Interface\\" + GuidText(*i.iid)); }

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

// The key's value `name` (null: its default value), or empty.
std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t text[512];
  DWORD size = sizeof text;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return {};
  return text;
}

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY h;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

std::wstring Folder(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool WriteKeys(HKEY root, const RegistrationRequest& r) {
  const std::wstring clsid = GuidText(CLSID_QxSheetsApplication);
  const std::wstring libid = GuidText(LIBID_QxSheetsLib);
  bool ok = SetValue(root, ProgIdKey(), nullptr, kDescription) &&
            SetValue(root, ProgIdKey() + L"\\CLSID", nullptr, clsid) &&
            SetValue(root, ClassKey(), nullptr, kDescription) &&
            SetValue(root, ClassKey() + L"\\ProgID", nullptr, kProgId);
  if (!ok) return false;
  if (!r.localServer)
    return SetValue(root, ClassKey() + L"\\InprocServer32", nullptr, r.path) &&
           SetValue(root, ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  std::wstring command = L"\"" + r.path + L"\"";
  if (!r.arguments.empty()) command += L" " + r.arguments;
  // The type library, under the platform's own word size: a 64-bit client
  // looks for "win64", a 32-bit one for "win32".
  const std::wstring version = TypeLibKey() + L"\\" + kTypeLibVersion;
  const wchar_t* platform = sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32";
  ok = SetValue(root, ClassKey() + L"\\LocalServer32", nullptr, command) &&
       SetValue(root, ClassKey() + L"\\TypeLib", nullptr, libid) &&
       SetValue(root, version, nullptr, L"Quillox spreadsheet server") &&
       SetValue(root, version + platform, nullptr, r.path) &&
       SetValue(root, version + L"\\FLAGS", nullptr, L"0") &&
       SetValue(root, version + L"\\HELPDIR", nullptr, Folder(r.path));
  for (const Interface& i : kInterfaces) {
    const std::wstring key = InterfaceKey(i);
    ok = ok && SetValue(root, key, nullptr, i.name) &&
         SetValue(root, key + L"\\ProxyStubClsid32", nullptr, kTypeLibMarshaller) &&
         SetValue(root, key + L"\\ProxyStubClsid", nullptr, kTypeLibMarshaller) &&
         SetValue(root, key + L"\\TypeLib", nullptr, libid) &&
         SetValue(root, key + L"\\TypeLib", L"Version", kTypeLibVersion);
  }
  return ok;
}

// What of ours is under `root`; the ProgID only where it names our class.
void RemoveKeys(HKEY root) {
  if (ReadValue(root, ProgIdKey() + L"\\CLSID") == GuidText(CLSID_QxSheetsApplication))
    RegDeleteTreeW(root, ProgIdKey().c_str());
  RegDeleteTreeW(root, ClassKey().c_str());
  RegDeleteTreeW(root, TypeLibKey().c_str());
  for (const Interface& i : kInterfaces)
    if (ReadValue(root, InterfaceKey(i) + L"\\TypeLib") == GuidText(LIBID_QxSheetsLib))
      RegDeleteTreeW(root, InterfaceKey(i).c_str());
}

bool AnyLeft(HKEY root) {
  if (ReadValue(root, ProgIdKey() + L"\\CLSID") == GuidText(CLSID_QxSheetsApplication)) return true;
  if (KeyExists(root, ClassKey()) || KeyExists(root, TypeLibKey())) return true;
  for (const Interface& i : kInterfaces)
    if (ReadValue(root, InterfaceKey(i) + L"\\TypeLib") == GuidText(LIBID_QxSheetsLib)) return true;
  return false;
}

// Something of that name registered by anyone, in either root.
std::string Taken() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    if (KeyExists(root, ProgIdKey())) return "Excel.Application is already registered";
    if (KeyExists(root, ClassKey())) return "our class id is already registered";
    if (KeyExists(root, TypeLibKey())) return "our type library is already registered";
    for (const Interface& i : kInterfaces)
      if (KeyExists(root, InterfaceKey(i))) return "one of our interfaces is already registered";
  }
  CLSID found;
  if (SUCCEEDED(CLSIDFromProgID(kProgId, &found))) return "Excel.Application is already registered";
  return {};
}

}  // namespace

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool RegisterSheetServer(const RegistrationRequest& request, std::string* why) {
  if (!RunningUnderWine()) {
    *why = "registering under Excel.Application is for the tests' private Wine prefix only";
    return false;
  }
  std::string taken = Taken();
  if (!taken.empty()) {
    *why = taken + "; it is left alone";
    return false;
  }
  // The user's classes first. Where the system's class view does not show
  // them (Wine's is the machine's classes only), the machine's classes of
  // the private prefix instead.
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    CLSID found;
    if (WriteKeys(root, request) && SUCCEEDED(CLSIDFromProgID(kProgId, &found)) &&
        IsEqualCLSID(found, CLSID_QxSheetsApplication))
      return true;
    RemoveKeys(root);
  }
  *why = "the registration did not take";
  return false;
}

bool UnregisterSheetServer(std::string* why) {
  if (!RunningUnderWine()) {
    *why = "registering under Excel.Application is for the tests' private Wine prefix only";
    return false;
  }
  bool left = false;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    RemoveKeys(root);
    left = left || AnyLeft(root);
  }
  if (left) *why = "some of the keys could not be removed";
  return !left;
}

}  // namespace qx::sheets
