#include "ui/DropRules.h"

namespace qx {

uint32_t DropEffectFor(bool accepted, uint32_t keyState, uint32_t allowed) {
  if (!accepted) return kDropNone;
  bool control = keyState & kKeyControl, shift = keyState & kKeyShift;
  if (control && shift) return kDropNone;
  if (control) return allowed & kDropCopy ? kDropCopy : kDropNone;
  if (shift) return allowed & kDropMove ? kDropMove : kDropNone;
  if (allowed & kDropCopy) return kDropCopy;
  if (allowed & kDropMove) return kDropMove;
  if (allowed & kDropLink) return kDropLink;
  return kDropNone;
}

std::string DroppedFilesText(const std::vector<std::string>& paths) {
  if (paths.size() == 1) return paths[0];
  std::string text;
  for (const std::string& p : paths) text += p + "\r\n";
  return text;
}

void ReplaceNoBreakSpaces(std::u16string* text) {
  for (char16_t& c : *text)
    if (c == 0x00A0) c = 0x0020;
}

}  // namespace qx
