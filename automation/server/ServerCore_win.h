// What every object of our spreadsheet server shares: the in-memory state
// (open workbooks, application settings, advised event sinks), IDispatch
// over the DLL's own type library, the count of live objects, and the
// constructors of the object kinds.
//
// Text: UTF-8 inside, as the reader's model holds it; UTF-16 (BSTR) at
// every interface; GBK only for the path handed to the reader.
#pragma once

#include "QxSheets.h"

#include <olectl.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/SpreadsheetModel.h"
#include "automation/server/SheetArea.h"
#include "reader/Workbook.h"
#include "runtime/encoding/Wide_win.h"

namespace qx::sheets {

// A VARIANT that owns its contents.
struct OwnedVariant {
  VARIANT v;
  OwnedVariant() { VariantInit(&v); }
  OwnedVariant(const OwnedVariant& o) { VariantInit(&v); VariantCopy(&v, const_cast<VARIANT*>(&o.v)); }
  OwnedVariant& operator=(const OwnedVariant& o) {
    if (this != &o) VariantCopy(&v, const_cast<VARIANT*>(&o.v));
    return *this;
  }
  ~OwnedVariant() { VariantClear(&v); }
};

// Formatting written by a client, kept per sheet by (member, area) and read
// back as written; nothing of it reaches the cells' values.
struct FormatKey {
  DISPID member;
  bool font;
  Area area;
  bool operator<(const FormatKey& o) const {
    if (member != o.member) return member < o.member;
    if (font != o.font) return font < o.font;
    if (area.firstRow != o.area.firstRow) return area.firstRow < o.area.firstRow;
    if (area.firstCol != o.area.firstCol) return area.firstCol < o.area.firstCol;
    if (area.lastRow != o.area.lastRow) return area.lastRow < o.area.lastRow;
    return area.lastCol < o.area.lastCol;
  }
};

struct SheetExtra {
  double standardWidth = 8.38;
  double standardHeight = 13.5;
  std::map<FormatKey, OwnedVariant> formats;
};

struct BookModel {
  reader::Workbook book;
  std::vector<SheetExtra> extras;  // one per sheet of `book`
  std::wstring name;               // the file's name, or "Book<n>"
  std::wstring fullName;           // the path it was opened from
};

struct ServerState {
  std::vector<std::shared_ptr<BookModel>> books;  // in opening order
  std::shared_ptr<BookModel> active;
  int untitled = 0;
  // Application settings a client may read and write; nothing acts on them.
  std::wstring caption = L"Quillox Sheets";
  std::wstring activePrinter;
  std::wstring standardFont = L"宋体";
  double standardFontSize = 11;
  double left = 0, top = 0, width = 800, height = 600;
  long windowState = -4143;  // normal
  bool visible = false, enableEvents = true, fullScreen = false;
  OwnedVariant zoom;
  // Find's LookIn when a search leaves it out: the application keeps the
  // last one given (model::FindLookIn).
  long findLookIn = model::kLookInFormulas;
  // Advised event sinks by cookie.
  std::vector<std::pair<DWORD, IDispatch*>> sinks;
  DWORD nextCookie = 1;
};

using StatePtr = std::shared_ptr<ServerState>;
using BookPtr = std::shared_ptr<BookModel>;

enum class RangeKind { Cells, Rows, Columns };

// Live objects of this server (every COM object but the class factory).
void CountObject(int delta);
long LiveObjects();
// LockServer's count.
void CountLock(bool lock);
long Locks();

// What the module that hosts the objects does as they come and go: the DLL
// nothing (its client decides when to unload it), the local server ending
// its process once the last object is gone or its application has quit.
// Any entry may be null.
struct ServerHost {
  void (*objectMade)();
  void (*objectGone)();
  void (*locked)(bool lock);
  void (*applicationQuit)();
};
void SetServerHost(const ServerHost* host);
const ServerHost& Host();

// How the server behaves, set only by tests (the local server's command
// line, the DLL's QxSheetsSetBehaviour).
enum ServerBehaviour : uint32_t {
  // Find as the spreadsheet application is reported to search: by values
  // it passes over cells in hidden rows and columns and cells whose number
  // format shows nothing; by formulas it finds every cell with content.
  kBehaveAsApplication = 1,
  // No block of cells as one array and no Find, as an application that
  // offers neither: a client then reads cell by cell.
  kCellByCell = 2,
};
uint32_t Behaviour();
void SetBehaviour(uint32_t flags);

// The class factory of the application object (one static object).
IClassFactory* ApplicationClassFactory();

// The type information of one of our interfaces from the DLL's type
// library: the dispatch view (what GetTypeInfo hands out) or the vtable
// view (what DispInvoke calls through).
HRESULT ServerTypeInfo(REFIID iid, bool dispatchView, ITypeInfo** out);

// Fails a call with a reason the client sees in EXCEPINFO (the type
// library's Invoke turns it into DISP_E_EXCEPTION).
HRESULT Fail(HRESULT hr, const std::wstring& reason);

// A property's value handed out through the caller's slot.
HRESULT CopyText(std::wstring_view text, BSTR* out);
template <class T>
HRESULT Put(T* out, T value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

// IUnknown and IDispatch for an object that implements dual interface I.
template <class I>
class DispatchObject : public I {
 public:
  explicit DispatchObject(const IID& iid) : iid_(iid) { CountObject(1); }
  virtual ~DispatchObject() { CountObject(-1); }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, iid_)) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    return QueryOther(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return ServerTypeInfo(iid_, true, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    ITypeInfo* info = nullptr;
    HRESULT hr = ServerTypeInfo(iid_, false, &info);
    if (FAILED(hr)) return hr;
    hr = DispGetIDsOfNames(info, names, count, ids);
    info->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                   UINT* argError) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    HRESULT hr = ServerTypeInfo(iid_, false, &info);
    if (FAILED(hr)) return hr;
    SetErrorInfo(0, nullptr);
    hr = DispInvoke(static_cast<I*>(this), info, member, flags, params, result, excep, argError);
    info->Release();
    // A failed call gives nothing back (the type library's Invoke may
    // leave the result typed but empty).
    if (FAILED(hr) && result) VariantClear(result);
    return hr;
  }

 protected:
  virtual HRESULT QueryOther(REFIID, void** out) {
    *out = nullptr;
    return E_NOINTERFACE;
  }

 private:
  const IID& iid_;
  std::atomic<ULONG> refs_{1};  // the creator's reference
};

// Constructors; each returns a new object holding one reference.
IQxApplication* NewApplication();
IQxWorkbooks* NewWorkbooks(const StatePtr& state);
IQxWorkbook* NewWorkbook(const StatePtr& state, const BookPtr& book);
IQxSheets* NewSheets(const StatePtr& state, const BookPtr& book);
IQxWorksheet* NewWorksheet(const StatePtr& state, const BookPtr& book, int index);
IQxRange* NewRange(const StatePtr& state, const BookPtr& book, int sheet, const Area& area,
                   RangeKind kind);
IQxFont* NewFont(const StatePtr& state, const BookPtr& book, int sheet, const Area& area);
IQxWindow* NewWindow(const StatePtr& state);
IConnectionPoint* NewAppEventsPoint(const StatePtr& state, IConnectionPointContainer* owner);

// Calls each advised sink's Invoke with the event's DISPID and arguments
// (in declaration order), unless the client switched events off.
void FireEvent(const StatePtr& state, DISPID event, IDispatch* first, IDispatch* second = nullptr);
// Asks the sinks before `book` is closed or saved (model::AppEvent): true
// when one of them set the event's cancel flag. `saveAsUi` goes with a save:
// whether the book would be saved under a name still to be chosen.
bool SinksCancel(const StatePtr& state, DISPID event, const BookPtr& book, bool saveAsUi = false);

// A new workbook with one empty sheet, added to the state (not made
// active).
BookPtr AddBlankBook(const StatePtr& state);
// Makes `book` the active workbook and tells the sinks.
void ActivateBook(const StatePtr& state, const BookPtr& book);

// The cell at (row, col) of the sheet as a VARIANT: text BSTR, number R8,
// logical BOOL, date DATE, error value ERROR, nothing EMPTY.
void CellToVariant(const reader::Workbook& book, const reader::Cell* cell, VARIANT* out);
// Stores a client's value into the cell (VT_EMPTY removes it).
HRESULT VariantToCell(BookModel* book, int sheet, int32_t row, int32_t col, const VARIANT& value);

// A VARIANT argument as a number or text; false when it cannot be one.
bool ArgInt(const VARIANT& v, long* out);
bool ArgText(const VARIANT& v, std::wstring* out);
inline bool ArgMissing(const VARIANT& v) {
  return V_VT(&v) == VT_EMPTY || (V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND);
}

}  // namespace qx::sheets
