// The workbook collection, a workbook and its sheets. Opening goes through
// our reader; nothing is ever written back to a file.
#include <algorithm>

#include "automation/OpenRefusal.h"
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

// The last part of a path, as a workbook's name.
std::wstring BaseName(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// A 1-based number or a name; null when neither finds a workbook.
BookPtr FindBook(const StatePtr& state, const VARIANT& index) {
  if (V_VT(&index) == VT_BSTR || (V_VT(&index) == (VT_BSTR | VT_BYREF))) {
    std::wstring name;
    ArgText(index, &name);
    for (const BookPtr& b : state->books)
      if (SameName(b->name, name)) return b;
    return nullptr;
  }
  long n;
  if (!ArgInt(index, &n) || n < 1 || static_cast<size_t>(n) > state->books.size()) return nullptr;
  return state->books[static_cast<size_t>(n - 1)];
}

bool IsOpen(const StatePtr& state, const BookPtr& book) {
  return std::find(state->books.begin(), state->books.end(), book) != state->books.end();
}

// Closes `book` unless a sink keeps it open; the last one opened of the
// others becomes the active workbook if it was.
void CloseBook(const StatePtr& state, const BookPtr& book) {
  if (!IsOpen(state, book) || SinksCancel(state, model::kWorkbookBeforeClose, book)) return;
  auto& books = state->books;
  books.erase(std::remove(books.begin(), books.end(), book), books.end());
  if (state->active == book) state->active = books.empty() ? nullptr : books.back();
}

class Workbooks final : public DispatchObject<IQxWorkbooks> {
 public:
  explicit Workbooks(StatePtr state) : DispatchObject(IID_IQxWorkbooks), state_(std::move(state)) {}

  HRESULT STDMETHODCALLTYPE Add(VARIANT, IQxWorkbook** out) override {
    if (!out) return E_POINTER;
    BookPtr book = AddBlankBook(state_);
    *out = NewWorkbook(state_, book);
    if (!state_->sinks.empty()) FireEvent(state_, model::kNewWorkbook, *out);
    ActivateBook(state_, book);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Open(BSTR fileName, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                                 VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                                 IQxWorkbook** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::wstring path(fileName ? fileName : L"", fileName ? SysStringLen(fileName) : 0);
    if (path.empty()) return Fail(E_INVALIDARG, L"没有给出文件名");
    // The reader takes the program's bytes; a name they cannot hold cannot
    // be opened.
    bool lost = false;
    std::string pathGbk = AnsiFromWide(path, &lost);
    if (pathGbk.empty() || lost)
      return Fail(E_INVALIDARG, model::OpenRefusedLead(path) + L"文件名含有 GBK 无法表示的字符");
    auto book = std::make_shared<BookModel>();
    reader::OpenFailure why;
    if (!reader::OpenWorkbookFile(pathGbk, &book->book, &why))
      return Fail(model::OpenRefusedResult(why.code),
                  model::OpenRefusedLead(path) + WideFromUtf8(reader::OpenFailureReason(why)));
    if (book->book.sheets.empty()) book->book.sheets.push_back(reader::Sheet{"Sheet1", {}});
    book->extras.resize(book->book.sheets.size());
    book->name = BaseName(path);
    book->fullName = path;
    state_->books.push_back(book);
    *out = NewWorkbook(state_, book);
    if (!state_->sinks.empty()) FireEvent(state_, model::kWorkbookOpen, *out);
    ActivateBook(state_, book);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Close() override {
    const std::vector<BookPtr> books = state_->books;  // a sink may close one itself
    for (const BookPtr& book : books) CloseBook(state_, book);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Count(long* out) override {
    if (!out) return E_POINTER;
    *out = static_cast<long>(state_->books.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IQxWorkbook** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    BookPtr book = FindBook(state_, index);
    if (!book) return Fail(DISP_E_BADINDEX, L"没有这个工作簿");
    *out = NewWorkbook(state_, book);
    return S_OK;
  }

 private:
  StatePtr state_;
};

class Workbook final : public DispatchObject<IQxWorkbook> {
 public:
  Workbook(StatePtr state, BookPtr book)
      : DispatchObject(IID_IQxWorkbook), state_(std::move(state)), book_(std::move(book)) {}

  HRESULT STDMETHODCALLTYPE get_Sheets(IQxSheets** out) override {
    if (!out) return E_POINTER;
    *out = NewSheets(state_, book_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Worksheets(IQxSheets** out) override { return get_Sheets(out); }
  HRESULT STDMETHODCALLTYPE Activate() override {
    if (!IsOpen(state_, book_)) return Fail(E_FAIL, L"工作簿已经关闭");
    ActivateBook(state_, book_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override { return CopyText(book_->name, out); }
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR* out) override {
    return CopyText(book_->fullName.empty() ? book_->name : book_->fullName, out);
  }
  HRESULT STDMETHODCALLTYPE Close(VARIANT, VARIANT, VARIANT) override {
    CloseBook(state_, book_);
    return S_OK;
  }
  // The sinks are asked first, as before any save (a workbook never saved
  // would be saved under a name still to be chosen); then the save fails:
  // this server reads workbooks and writes no file.
  HRESULT STDMETHODCALLTYPE Save() override {
    if (!IsOpen(state_, book_)) return Fail(E_FAIL, L"工作簿已经关闭");
    if (SinksCancel(state_, model::kWorkbookBeforeSave, book_, book_->fullName.empty()))
      return S_OK;
    return Fail(E_NOTIMPL, L"不能保存工作簿：本程序只读取工作簿，不写文件");
  }

 private:
  StatePtr state_;
  BookPtr book_;
};

class Sheets final : public DispatchObject<IQxSheets> {
 public:
  Sheets(StatePtr state, BookPtr book)
      : DispatchObject(IID_IQxSheets), state_(std::move(state)), book_(std::move(book)) {}

  HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IQxWorksheet** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    const auto& sheets = book_->book.sheets;
    if (V_VT(&index) == VT_BSTR || V_VT(&index) == (VT_BSTR | VT_BYREF)) {
      std::wstring name;
      ArgText(index, &name);
      for (size_t i = 0; i < sheets.size(); ++i) {
        if (SameName(WideFromUtf8(sheets[i].name), name)) {
          *out = NewWorksheet(state_, book_, static_cast<int>(i));
          return S_OK;
        }
      }
      return Fail(DISP_E_BADINDEX, L"没有这个工作表");
    }
    long n;
    if (!ArgInt(index, &n) || n < 1 || static_cast<size_t>(n) > sheets.size())
      return Fail(DISP_E_BADINDEX, L"没有这个工作表");
    *out = NewWorksheet(state_, book_, static_cast<int>(n - 1));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Count(long* out) override {
    if (!out) return E_POINTER;
    *out = static_cast<long>(book_->book.sheets.size());
    return S_OK;
  }
  // A new empty sheet at the end (where it goes otherwise is of no use to
  // a reader of workbooks).
  HRESULT STDMETHODCALLTYPE Add(VARIANT, VARIANT, VARIANT, VARIANT, IQxWorksheet** out) override {
    if (!out) return E_POINTER;
    auto& sheets = book_->book.sheets;
    std::string name;
    for (size_t n = sheets.size() + 1;; ++n) {
      name = "Sheet" + std::to_string(n);
      bool taken = false;
      for (const auto& s : sheets) taken = taken || SameName(WideFromUtf8(s.name), WideFromUtf8(name));
      if (!taken) break;
    }
    sheets.push_back(reader::Sheet{name, {}});
    book_->extras.resize(sheets.size());
    *out = NewWorksheet(state_, book_, static_cast<int>(sheets.size() - 1));
    if (!state_->sinks.empty()) {
      IQxWorkbook* wb = NewWorkbook(state_, book_);
      FireEvent(state_, model::kWorkbookNewSheet, wb, *out);
      wb->Release();
    }
    return S_OK;
  }

 private:
  StatePtr state_;
  BookPtr book_;
};

}  // namespace

IQxWorkbooks* NewWorkbooks(const StatePtr& state) { return new Workbooks(state); }
IQxWorkbook* NewWorkbook(const StatePtr& state, const BookPtr& book) { return new Workbook(state, book); }
IQxSheets* NewSheets(const StatePtr& state, const BookPtr& book) { return new Sheets(state, book); }

}  // namespace qx::sheets
