// A worksheet held in a map, with the used range a spreadsheet application
// would report, for driving the conversion without a spreadsheet.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/Conversion.h"

namespace qx::test {

struct FakeWorksheet {
  bool opens = true;
  app::UsedRangeBox box = {1, 1, 0, 0};
  std::map<std::string, std::string> cellsByAddress;  // "B2" -> GBK text
  std::vector<std::string> addressesRead;
  bool recordReads = true;

  void Set(int32_t row, int32_t column, const std::string& text) {
    cellsByAddress[app::CellAddress(row, column)] = text;
  }
};

inline const app::WorksheetOps kFakeOps = {
    [](void* self, const std::string&, app::OpenSheetFailure* why) {
      auto* w = static_cast<FakeWorksheet*>(self);
      if (!w->opens) why->code = app::OpenSheetCode::kFileRefused;
      return w->opens;
    },
    [](void* self) { return static_cast<FakeWorksheet*>(self)->box; },
    [](void* self, int32_t, int32_t, const char* address, std::string* text) {
      auto* w = static_cast<FakeWorksheet*>(self);
      if (w->recordReads) w->addressesRead.push_back(address);
      auto it = w->cellsByAddress.find(address);
      if (it != w->cellsByAddress.end()) *text = it->second;
    },
    nullptr,
    false,
};

inline std::string Convert(FakeWorksheet* w) {
  std::string text;
  app::OpenSheetFailure why;
  app::ConvertWorksheetToText({&kFakeOps, w}, "x.xls", &text, &why);
  return text;
}

}  // namespace qx::test
