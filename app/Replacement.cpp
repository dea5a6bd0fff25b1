#include "app/Replacement.h"

#include "runtime/Commands.h"
#include "runtime/Memory.h"

namespace qx::app {

const AutoReplacement kAutoReplacements[9] = {
    {"单选题", "【单选题】"}, {"多选题", "【多选题】"}, {"判断题", "【判断题】"},
    {"填空题", "【填空题】"}, {"简答题", "【简答题】"}, {"论述题", "【论述题】"},
    {"计算题", "【计算题】"}, {"名词解释", "【名词解释】"}, {"画图题", "【画图题】"},
};

std::string ManualReplace(const std::string& body, const std::string& search,
                          const std::string& replacement) {
  // The runtime's replacement, from the start, all occurrences, case-sensitive.
  char* result = ReplaceTextBytes(body.c_str(), search.c_str(), replacement.c_str(), 0, -1, true);
  std::string out = result ? result : "";
  FreeMemory(result);
  return out;
}

std::string AutoReplace(const std::string& body) {
  std::string text = body;
  for (const AutoReplacement& row : kAutoReplacements)
    text = ManualReplace(text, row.search, row.replacement);
  return text;
}

}  // namespace qx::app
