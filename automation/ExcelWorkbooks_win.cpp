#include "automation/ExcelWorkbooks_win.h"

#include <string>

#include "automation/DispatchCall_win.h"
#include "automation/ExcelApp_win.h"
#include "automation/SpreadsheetModel.h"
#include "ui/HiddenUnit_win.h"
#include "ui/PropertyTable.h"
#include "automation/ObjectBlock.h"

namespace qx {
namespace {

using namespace model;

struct Workbooks {
  UnitObject base;
  IDispatch* workbooks = nullptr;
  IDispatch* workbook = nullptr;  // after the attach step: the application object itself
  IDispatch* sheets = nullptr;
  IDispatch* sheet = nullptr;
  IDispatch* range = nullptr;
  std::string rangeStart, rangeEnd;
};

Workbooks* AsBooks(UnitObject* u) { return reinterpret_cast<Workbooks*>(u); }

void Detach(Workbooks* b) {
  ReleaseRef(&b->workbook);
  ReleaseRef(&b->workbooks);
  ReleaseRef(&b->range);
  ReleaseRef(&b->sheet);
  ReleaseRef(&b->sheets);
  b->rangeStart.clear();
  b->rangeEnd.clear();
}

void OnEnd(UnitObject* u) {
  Detach(AsBooks(u));
  delete AsBooks(u);
}

UnitObject* Create(const CreateArgs& a) {
  auto* b = new Workbooks;
  b->base = {nullptr, ExcelWorkbooksKind(), a.windowId, a.unitId};
  if (!CreateHiddenUnitWindow(a, &b->base, OnEnd)) {
    delete b;
    return nullptr;
  }
  return &b->base;
}

IDispatch* SheetNumber(IDispatch* sheets, int32_t n) {
  VARIANT index = IntArgument(n);
  return DispatchGetObject(sheets, kItem, &index, 1, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
}

// Which reference a property works on.
enum Target { kOnRange, kOnSheet, kOnSheets, kOnFont, kOnNothing };
enum Kind { kText, kInt, kTruncated, kDouble, kLogical, kUnderline };
struct Member {
  PropertyInfo info;
  Target target;
  DISPID dispid;
  Kind kind;
  bool writable;
};

// Own properties from kWorkbooksCellContent on, in number order (the
// control receives them by index, the number - 8). CellContent, the sheet
// index and the two addresses have rules of their own below.
constexpr Member kMembers[] = {
    {{"单元格内容", kValueText, 0}, kOnRange, kValue, kText, true},
    {{"单元格格式", kValueText, 0}, kOnRange, 0x449, kText, true},
    {{"表格名称", kValueText, 0}, kOnSheet, kName, kText, true},
    {{"当前表格序号", kValueInt, 0}, kOnSheet, kIndex, kInt, true},
    {{"表格数目", kValueInt, 0}, kOnSheets, kCount, kInt, false},
    {{"表格背景图片", kValueText, 0}, kOnSheet, 0x4A4, kText, true},
    {{"标准列宽", kValueDouble, 0}, kOnSheet, 0x198, kDouble, true},
    {{"标准行高", kValueDouble, 0}, kOnSheet, 0x197, kDouble, false},
    {{"起始单元格", kValueText, 0}, kOnNothing, 0, kText, true},
    {{"结束单元格", kValueText, 0}, kOnNothing, 0, kText, true},
    {{"增加缩进", kValueLogical, 0}, kOnRange, 0x427, kLogical, true},
    {{"缩进级别", kValueInt, 0}, kOnRange, 0xC9, kInt, true},
    {{"水平对齐", kValueInt, 0}, kOnRange, 0x88, kInt, true},
    {{"垂直对齐", kValueInt, 0}, kOnRange, 0x89, kInt, true},
    {{"缩小字体填充", kValueLogical, 0}, kOnRange, 0xD1, kLogical, true},
    {{"自动换行", kValueLogical, 0}, kOnRange, 0x114, kLogical, true},
    {{"文字方向", kValueInt, 0}, kOnRange, 0x3CF, kInt, true},
    {{"列宽", kValueInt, 0}, kOnRange, 0xF2, kTruncated, true},
    {{"行高", kValueInt, 0}, kOnRange, 0x110, kTruncated, true},
    {{"保留", kValueInt, 0}, kOnNothing, 0, kInt, false},
    {{"粗体", kValueLogical, 0}, kOnFont, 0x60, kLogical, true},
    {{"字体颜色", kValueInt, 0}, kOnFont, 0x63, kTruncated, true},
    {{"斜体", kValueLogical, 0}, kOnFont, 0x65, kLogical, true},
    {{"字体名称", kValueText, 0}, kOnFont, kName, kText, true},
    {{"阴影", kValueLogical, 0}, kOnFont, 0x67, kLogical, true},
    {{"字体大小", kValueInt, 0}, kOnFont, 0x68, kTruncated, true},
    {{"删除线", kValueLogical, 0}, kOnFont, 0x69, kLogical, true},
    {{"上标", kValueLogical, 0}, kOnFont, 0xB3, kLogical, true},
    {{"下标", kValueLogical, 0}, kOnFont, 0xB2, kLogical, true},
    {{"下划线", kValueLogical, 0}, kOnFont, 0x6A, kUnderline, true},
};
static_assert(std::size(kMembers) == OwnPropertyCount(kWorkbooksUnderline));
constexpr auto kProperties = PropertyInfos(kMembers);

// The object a member lives on, with one reference the caller releases.
IDispatch* TargetObject(Workbooks* b, Target t) {
  IDispatch* p = nullptr;
  switch (t) {
    case kOnRange: p = b->range; break;
    case kOnSheet: p = b->sheet; break;
    case kOnSheets: p = b->sheets; break;
    case kOnFont: return b->range ? DispatchGetObject(b->range, kFont) : nullptr;
    case kOnNothing: return nullptr;
  }
  if (p) p->AddRef();
  return p;
}

// The value of the cell at RangeStart, from a range built for the read
// alone: RangeEnd and the current range play no part.
std::string CellContent(Workbooks* b) {
  if (!b->sheet || b->rangeStart.empty()) return {};
  VARIANT address[2] = {TextArgument(b->rangeStart), TextArgument(b->rangeStart)};
  IDispatch* range = DispatchGetObject(b->sheet, kRange, address, 2);
  VariantClear(&address[0]);
  VariantClear(&address[1]);
  if (!range) return {};
  VARIANT value;
  DispatchGet(range, kValue, &value);
  range->Release();
  std::string text = VariantToAnsi(value);
  VariantClear(&value);
  return text;
}

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  const Member* row = PropertyRow(kMembers, index);
  if (!row) return;
  const int32_t property = kFirstOwnProperty + index;
  Workbooks* b = AsBooks(u);
  if (property == kWorkbooksCellContent) {
    out->bytes = CellContent(b);
    return;
  }
  if (property == kWorkbooksRangeStart || property == kWorkbooksRangeEnd) {
    if (b->range) out->bytes = property == kWorkbooksRangeStart ? b->rangeStart : b->rangeEnd;
    return;
  }
  const Member& m = *row;
  if (property == kWorkbooksSheetBackground) return;  // a picture is set, never read
  IDispatch* target = TargetObject(b, m.target);
  if (!target) return;
  VARIANT v;
  DispatchGet(target, m.dispid, &v);
  target->Release();
  switch (m.kind) {
    case kText: out->bytes = VariantToAnsi(v); break;
    case kInt: out->i = V_VT(&v) == VT_EMPTY ? 0 : VariantToInt(v); break;
    case kTruncated: out->i = VariantToInt(v); break;
    case kDouble: out->d = VariantToDouble(v); break;
    case kLogical: out->i = VariantDataWordNonZero(v) ? 1 : 0; break;
    // The application answers a style, and "none" is not zero.
    case kUnderline:
      out->i = VariantDataWordNonZero(v) && VariantToInt(v) != kUnderlineNone ? 1 : 0;
      break;
  }
  VariantClear(&v);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& value) {
  const Member* row = PropertyRow(kMembers, index);
  if (!row || !row->writable) return false;
  const int32_t property = kFirstOwnProperty + index;
  Workbooks* b = AsBooks(u);
  if (property == kWorkbooksRangeStart) {
    b->rangeStart = value.bytes;
    return false;
  }
  if (property == kWorkbooksRangeEnd) {
    // Only with a sheet to take the range from.
    if (!b->sheet) return false;
    b->rangeEnd = value.bytes;
    VARIANT address[2] = {TextArgument(b->rangeStart), TextArgument(b->rangeEnd)};
    if (IDispatch* range = DispatchGetObject(b->sheet, kRange, address, 2))
      ReplaceRef(&b->range, range);
    VariantClear(&address[0]);
    VariantClear(&address[1]);
    return false;
  }
  if (property == kWorkbooksCurrentSheetIndex) {
    // A number past the sheet count fails in the application and leaves the
    // current sheet as it was.
    if (IDispatch* sheet = SheetNumber(b->sheets, value.i)) ReplaceRef(&b->sheet, sheet);
    return false;
  }
  const Member& m = *row;
  IDispatch* target = TargetObject(b, m.target);
  if (!target) return false;
  VARIANT v;
  switch (m.kind) {
    case kText: v = TextArgument(value.bytes); break;
    case kInt: v = IntArgument(value.i); break;
    case kTruncated:
      v = (property == kWorkbooksColumnWidth || property == kWorkbooksRowHeight)
              ? DoubleArgument(value.i)
              : IntArgument(value.i);
      break;
    case kDouble: v = DoubleArgument(value.d); break;
    case kLogical: v = IntArgument(value.i != 0 ? 1 : 0); break;
    case kUnderline: v = BoolArgument(value.i != 0); break;
  }
  if (property == kWorkbooksSheetBackground)
    DispatchCallMethod(target, m.dispid, nullptr, &v, 1);
  else
    DispatchPut(target, m.dispid, v);
  VariantClear(&v);
  target->Release();
  return false;
}

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .setTypeProperty = SetProperty,
    .getTypeProperty = GetProperty,
};

Workbooks* ArgumentBooks(int32_t count, TaggedValue* args) {
  if (count < 1) return nullptr;
  return AsBooks(CommandUnit(&args[0], ExcelWorkbooksKind()));
}

}  // namespace

const UnitKind* ExcelWorkbooksKind() {
  static const UnitKind kind =
      MakeUnitKind<kOperations>("Excel工作簿", "ExcelWorkbooks", kKindNonVisual, kProperties);
  return &kind;
}

bool OpenWorkbookSaying(TaggedValue control, const char* fileName, DispatchFailure* why) {
  Workbooks* b = ArgumentBooks(1, &control);
  if (!b || !b->workbooks) return false;
  VARIANT params[13];
  params[0] = TextArgument(fileName ? fileName : "");
  for (int i = 1; i < 13; ++i) params[i] = MissingArgument();
  VARIANT opened;
  bool ok = DispatchCallMethod(b->workbooks, kOpen, &opened, params, 13, why);
  VariantClear(&params[0]);
  IDispatch* workbook = nullptr;
  if (ok && (V_VT(&opened) == VT_DISPATCH || V_VT(&opened) == VT_UNKNOWN) && V_UNKNOWN(&opened))
    V_UNKNOWN(&opened)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&workbook));
  VariantClear(&opened);
  // An open that failed is a failure: the references stay as they were, so
  // nobody walks the blank workbook of the attach step thinking it is the
  // file.
  if (!workbook) return false;
  ReplaceRef(&b->workbook, workbook);
  ReplaceRef(&b->sheets, DispatchGetObject(b->workbook, kSheets));
  ReplaceRef(&b->sheet, SheetNumber(b->sheets, 1));
  return true;
}

void AttachApplication(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(false);
  Workbooks* b = ArgumentBooks(count, args);
  if (!b) return;
  Detach(b);
  IDispatch* app = count >= 2 ? HeldApplication(CommandUnit(&args[1], ExcelAppKind())) : nullptr;
  if (!app) return;
  b->workbooks = DispatchGetObject(app, kWorkbooks);
  // The application makes the blank workbook its active one; what Add
  // returns is not kept.
  VARIANT missing = MissingArgument();
  VARIANT added;
  DispatchCallMethod(b->workbooks, kAdd, &added, &missing, 1);
  VariantClear(&added);
  b->workbook = DispatchGetObject(app, kApplication);
  b->sheets = DispatchGetObject(b->workbook, kSheets);
  b->sheet = SheetNumber(b->sheets, 1);
  *result = MakeBool(true);
}

void ActivateWorkbook(TaggedValue* result, int32_t count, TaggedValue* args) {
  Workbooks* b = ArgumentBooks(count, args);
  if (b && b->workbook) DispatchCallMethod(b->workbook, kActivate);
}

void OpenWorkbook(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(count >= 1 && OpenWorkbookSaying(args[0], ArgText(count, args, 1), nullptr));
}

void GetCurrentSheetObject(TaggedValue* result, int32_t count, TaggedValue* args) {
  Workbooks* b = ArgumentBooks(count, args);
  SetValuePointer(result, NewObjectBlockFor(b ? b->sheet : nullptr), kTagObject);
}

void DetachWorkbooks(TaggedValue* result, int32_t count, TaggedValue* args) {
  if (Workbooks* b = ArgumentBooks(count, args)) Detach(b);
}

void CloseAllWorkbooks(TaggedValue* result, int32_t count, TaggedValue* args) {
  Workbooks* b = ArgumentBooks(count, args);
  if (b && b->workbooks) DispatchCallMethod(b->workbooks, kClose);
}

}  // namespace qx
