#include "ui/FileDialogRules.h"

namespace qx {

uint32_t FileDialogFlags(const FileDialogSettings& s) {
  uint32_t flags = kOfnHideReadOnly | kOfnExplorer | kOfnEnableSizing;
  if (s.createPrompt) flags |= kOfnCreatePrompt;
  if (s.fileMustExist) flags |= kOfnFileMustExist;
  if (s.overwritePrompt) flags |= kOfnOverwritePrompt;
  if (s.pathMustExist) flags |= kOfnPathMustExist;
  if (s.keepCurrentFolder) flags |= kOfnNoChangeDir;
  return flags;
}

std::string FileDialogFilterList(const std::string& filter) {
  std::string list = filter;
  while (!list.empty() && (list.back() == ' ' || list.back() == '\t' || list.back() == '\r' ||
                           list.back() == '\n' || list.back() == '\v' || list.back() == '\f'))
    list.pop_back();
  if (list.empty()) return list;
  if (list.size() < 2 || list.compare(list.size() - 2, 2, "||") != 0) list += "||";
  for (char& c : list)
    if (c == '|') c = '\0';
  return list;
}

uint32_t FileDialogFilterIndex(const std::string& filterList, int32_t storedIndex) {
  if (filterList.empty()) return 0;
  return storedIndex < 0 ? 1u : static_cast<uint32_t>(storedIndex) + 1;
}

}  // namespace qx
