// Reaching our own spreadsheet server (automation/server) without the
// registry: the DLL beside the running program, its class factory, the
// application object. Used when no spreadsheet application is registered
// under "Excel.Application"; nothing is ever registered for it.
#pragma once

#include <oaidl.h>

#include <string>

namespace qx {

// File name of the server DLL, looked for in the program's own folder.
constexpr const wchar_t* kSheetServerDll = L"qxsheets.dll";

// Creates the server's application object from `dllPath` through its
// DllGetClassObject and class factory. The DLL stays loaded for the rest of
// the process (objects of it may be held anywhere). On success *app holds
// one reference.
HRESULT CreateSheetServerFrom(const std::wstring& dllPath, IDispatch** app);

// The same from the DLL in the folder of GetModuleFileNameW(nullptr).
HRESULT CreateSheetServer(IDispatch** app);

// The folder of the running program, with a trailing backslash (wide, so
// that any folder name works).
std::wstring ProgramFolder();

}  // namespace qx
