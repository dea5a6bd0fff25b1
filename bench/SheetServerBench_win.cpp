// Our spreadsheet server's fast paths, timed under Wine through IDispatch:
// a sheet whose only value sits in XFD1048576 (UsedRange, its Value, Find
// "*" over the whole sheet), and, when given, a workbook read as one block
// (Open, UsedRange, Value as a 2-D array).
//
//   sheet_server_bench [WORKBOOK]
#include <windows.h>
#include <oaidl.h>

#include <cstdio>
#include <string>

#include "automation/SheetServer_win.h"

namespace {

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

VARIANT Call(IDispatch* d, const wchar_t* name, WORD flags, int argc = 0, VARIANT* argsReversed = nullptr) {
  DISPID id;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  VARIANT result;
  VariantInit(&result);
  if (FAILED(d->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) {
    fwprintf(stderr, L"no member %ls\n", name);
    exit(1);
  }
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS p = {argsReversed, flags == DISPATCH_PROPERTYPUT ? &put : nullptr, static_cast<UINT>(argc),
                  flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  HRESULT hr = d->Invoke(id, IID_NULL, 0, flags, &p, &result, nullptr, nullptr);
  if (FAILED(hr)) {
    fwprintf(stderr, L"%ls failed: 0x%08lx\n", name, static_cast<unsigned long>(hr));
    exit(1);
  }
  return result;
}

VARIANT Text(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}

template <class F>
void Time(const char* what, int repeats, F body) {
  double start = Now();
  for (int i = 0; i < repeats; ++i) body();
  double each = (Now() - start) / repeats;
  std::printf("%-44s %12.1f us\n", what, each * 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  IDispatch* app = nullptr;
  if (FAILED(qx::CreateSheetServer(&app))) {
    std::fprintf(stderr, "cannot create the server from qxsheets.dll beside the program\n");
    return 1;
  }
  VARIANT books = Call(app, L"Workbooks", DISPATCH_PROPERTYGET);
  VARIANT book = Call(V_DISPATCH(&books), L"Add", DISPATCH_METHOD);
  VARIANT sheets = Call(V_DISPATCH(&book), L"Sheets", DISPATCH_PROPERTYGET);
  VARIANT one;
  VariantInit(&one);
  V_VT(&one) = VT_I4;
  V_I4(&one) = 1;
  VARIANT sheet = Call(V_DISPATCH(&sheets), L"Item", DISPATCH_PROPERTYGET, 1, &one);
  VARIANT address = Text(L"XFD1048576");
  VARIANT corner = Call(V_DISPATCH(&sheet), L"Range", DISPATCH_PROPERTYGET, 1, &address);
  VARIANT value = Text(L"last");
  VARIANT put = Call(V_DISPATCH(&corner), L"Value", DISPATCH_PROPERTYPUT, 1, &value);
  VariantClear(&put);

  std::printf("sheet whose only value is in XFD1048576, per call:\n");
  Time("UsedRange", 2000, [&] {
    VARIANT used = Call(V_DISPATCH(&sheet), L"UsedRange", DISPATCH_PROPERTYGET);
    VariantClear(&used);
  });
  VARIANT used = Call(V_DISPATCH(&sheet), L"UsedRange", DISPATCH_PROPERTYGET);
  Time("UsedRange.Value", 2000, [&] {
    VARIANT v = Call(V_DISPATCH(&used), L"Value", DISPATCH_PROPERTYGET);
    VariantClear(&v);
  });
  VARIANT all = Call(V_DISPATCH(&sheet), L"Cells", DISPATCH_PROPERTYGET);
  VARIANT star = Text(L"*");
  Time("Cells.Find(\"*\") (whole sheet)", 2000, [&] {
    VARIANT f = Call(V_DISPATCH(&all), L"Find", DISPATCH_METHOD, 1, &star);
    VariantClear(&f);
  });
  VARIANT a1 = Text(L"A1");
  Time("Range(\"A1\").Value (empty cell)", 2000, [&] {
    VARIANT r = Call(V_DISPATCH(&sheet), L"Range", DISPATCH_PROPERTYGET, 1, &a1);
    VARIANT v = Call(V_DISPATCH(&r), L"Value", DISPATCH_PROPERTYGET);
    VariantClear(&v);
    VariantClear(&r);
  });

  if (argc > 1) {
    int n = MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0);
    std::wstring path(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path.data(), n);
    std::printf("\n%s:\n", argv[1]);
    double start = Now();
    VARIANT name = Text(path.c_str());
    VARIANT opened = Call(V_DISPATCH(&books), L"Open", DISPATCH_METHOD, 1, &name);
    double openedAt = Now();
    VARIANT s = Call(V_DISPATCH(&opened), L"Sheets", DISPATCH_PROPERTYGET);
    VARIANT first = Call(V_DISPATCH(&s), L"Item", DISPATCH_PROPERTYGET, 1, &one);
    VARIANT u = Call(V_DISPATCH(&first), L"UsedRange", DISPATCH_PROPERTYGET);
    VARIANT block = Call(V_DISPATCH(&u), L"Value", DISPATCH_PROPERTYGET);
    double readAt = Now();
    // Every element's text, as a client makes it.
    size_t chars = 0;
    SAFEARRAY* a = V_ARRAY(&block);
    VARIANT* data = nullptr;
    SafeArrayAccessData(a, reinterpret_cast<void**>(&data));
    size_t count = a->rgsabound[0].cElements * a->rgsabound[1].cElements;
    for (size_t i = 0; i < count; ++i) {
      VARIANT t;
      VariantInit(&t);
      if (V_VT(&data[i]) != VT_EMPTY && SUCCEEDED(VariantChangeType(&t, &data[i], 0, VT_BSTR)))
        chars += SysStringLen(V_BSTR(&t));
      VariantClear(&t);
    }
    SafeArrayUnaccessData(a);
    double textAt = Now();
    std::printf("%-44s %12.1f ms\n", "Open", (openedAt - start) * 1e3);
    std::printf("%-44s %12.1f ms\n", "UsedRange.Value (one block)", (readAt - openedAt) * 1e3);
    std::printf("%-44s %12.1f ms (%zu cells, %zu characters)\n", "coercion of every element to text",
                (textAt - readAt) * 1e3, count, chars);
    VariantClear(&block);
    VariantClear(&u);
    VariantClear(&first);
    VariantClear(&s);
    VariantClear(&opened);
    VariantClear(&name);
  }
  for (VARIANT* v : {&all, &star, &a1, &used, &value, &address, &corner, &sheet, &sheets, &book, &books})
    VariantClear(v);
  app->Release();
  OleUninitialize();
  return 0;
}
