#include "app/Replacement.h"

#include "runtime/Commands.h"

namespace qx::app {

const AutoReplacement kAutoReplacements[9] = {
    {"单选题", "【单选题】"}, {"多选题", "【多选题】"}, {"判断题", "【判断题】"},
    {"填空题", "【填空题】"}, {"简答题", "【简答题】"}, {"论述题", "【论述题】"},
    {"计算题", "【计算题】"}, {"名词解释", "【名词解释】"}, {"画图题", "【画图题】"},
};

std::string ManualReplace(const std::string& body, const std::string& search,
                          const std::string& replacement) {
  // The runtime's replacement, from the start, all occurrences,
  // case-sensitive, over the whole body: a NUL byte or a size past the
  // runtime's text limit must neither cut nor empty it.
  return ReplaceTextSpan(body, search, replacement, 0, -1, true);
}

std::string AutoReplace(const std::string& body) {
  std::string text = body;
  for (const AutoReplacement& row : kAutoReplacements)
    text = ManualReplace(text, row.search, row.replacement);
  return text;
}

}  // namespace qx::app
