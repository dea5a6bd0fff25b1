#include "ui/FileDialogRules.h"

#include <vector>

#include "runtime/LeadByte.h"

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
  // Only a "|" that is a character of its own separates: a GBK character's
  // second byte may be 0x7C too.
  std::vector<size_t> bars;
  bool endsWithTwo = false, lastWasBar = false;
  for (size_t i = 0; i < list.size(); i += CharacterBytes(list, i)) {
    bool bar = list[i] == '|';
    if (bar) bars.push_back(i);
    endsWithTwo = bar && lastWasBar;
    lastWasBar = bar;
  }
  if (!endsWithTwo) {
    bars.push_back(list.size());
    bars.push_back(list.size() + 1);
    list += "||";
  }
  for (size_t at : bars) list[at] = '\0';
  return list;
}

uint32_t FileDialogFilterIndex(const std::string& filterList, int32_t storedIndex) {
  if (filterList.empty()) return 0;
  return storedIndex < 0 ? 1u : static_cast<uint32_t>(storedIndex) + 1;
}

FileDialogEnd FileDialogEndFor(bool confirmed, uint32_t extendedError, size_t nameLength,
                               uint32_t bufferSize, bool nameIsChoosable) {
  if (confirmed)
    return nameLength + 2 >= bufferSize && !nameIsChoosable ? FileDialogEnd::NameTooLong
                                                            : FileDialogEnd::Confirmed;
  if (extendedError == 0) return FileDialogEnd::Cancelled;
  return extendedError == kFnerrBufferTooSmall ? FileDialogEnd::NameTooLong
                                               : FileDialogEnd::Failed;
}

HelpCall HelpCallFor(uint32_t choice) {
  switch (choice) {
    case kHelpContext: return {kWinHelpContext, HelpCall::kContextData};
    case kHelpKeyword: return {kWinHelpKey, HelpCall::kKeywordData};
    case kHelpPartialKeyword: return {kWinHelpPartialKey, HelpCall::kKeywordData};
    case kHelpOnHelp: return {kWinHelpHelpOnHelp, HelpCall::kNoData};
    case kHelpClose: return {kWinHelpQuit, HelpCall::kNoData};
    default: return {kWinHelpFinder, HelpCall::kNoData};
  }
}

}  // namespace qx
