#include "reader/Visibility.h"

#include <algorithm>

namespace qx::reader {
namespace {

bool InSpans(const std::vector<Span>& spans, int32_t index) {
  auto it = std::upper_bound(spans.begin(), spans.end(), index,
                             [](int32_t i, const Span& s) { return i < s.first; });
  return it != spans.begin() && std::prev(it)->last >= index;
}

bool PlaceBefore(const CellPlace& a, const CellPlace& b) {
  return a.row != b.row ? a.row < b.row : a.col < b.col;
}

void Normalise(std::vector<Span>* spans) {
  std::sort(spans->begin(), spans->end(),
            [](const Span& a, const Span& b) { return a.first < b.first; });
  size_t out = 0;
  for (const Span& s : *spans) {
    if (out > 0 && s.first <= (*spans)[out - 1].last + 1) {
      (*spans)[out - 1].last = std::max((*spans)[out - 1].last, s.last);
    } else {
      (*spans)[out++] = s;
    }
  }
  spans->resize(out);
}

}  // namespace

bool RowHidden(const Sheet& sheet, int32_t row) { return InSpans(sheet.hiddenRows, row); }
bool ColumnHidden(const Sheet& sheet, int32_t col) { return InSpans(sheet.hiddenColumns, col); }

bool ShownAsNothing(const Sheet& sheet, int32_t row, int32_t col) {
  return std::binary_search(sheet.blankShown.begin(), sheet.blankShown.end(), CellPlace{row, col},
                            PlaceBefore);
}

namespace detail {

void AddSpan(std::vector<Span>* spans, int64_t first, int64_t last, int32_t limit) {
  first = std::max<int64_t>(first, 1);
  last = std::min<int64_t>(last, limit);
  if (first > last) return;
  // Readers meet rows in order: most spans extend the last one.
  if (!spans->empty() && spans->back().last + int64_t{1} == first) {
    spans->back().last = static_cast<int32_t>(last);
    return;
  }
  spans->push_back(Span{static_cast<int32_t>(first), static_cast<int32_t>(last)});
}

void FinishVisibility(Sheet* sheet) {
  Normalise(&sheet->hiddenRows);
  Normalise(&sheet->hiddenColumns);
  auto& places = sheet->blankShown;
  std::sort(places.begin(), places.end(), PlaceBefore);
  places.erase(std::unique(places.begin(), places.end(),
                           [](const CellPlace& a, const CellPlace& b) {
                             return a.row == b.row && a.col == b.col;
                           }),
               places.end());
}

}  // namespace detail
}  // namespace qx::reader
