#include "ui/DescriptionWriter.h"

#include "runtime/KindTags.h"
#include "ui/ByteWriter.h"

namespace qx {

std::string WriteUnitRecord(const UnitRecord& r) {
  ByteWriter out;
  out.U32(r.typeTag);
  out.U32(r.eventSource);
  for (uint32_t w : r.reserved) out.U32(w);
  out.ZeroTerminated(r.name);
  out.ZeroTerminated(r.remark);
  if (IsMenuItemId(r.id)) {
    out.U32(0);
    out.U32(r.menuLevel);
    out.U32(r.flags);
    out.U32(r.menuShortcut);
    for (uint32_t w : r.menuReserved) out.U32(w);
    out.ZeroTerminated(r.menuCaption);
    out.U32(r.bindings.empty() ? kNoHandler : r.bindings[0].offset);
    return out.bytes;
  }
  out.U32(0);
  out.I32(r.left);
  out.I32(r.top);
  out.I32(r.width);
  out.I32(r.height);
  out.U32(0);
  out.U32(r.container);
  out.U32(static_cast<uint32_t>(r.children.size()));
  for (uint32_t c : r.children) out.U32(c);
  out.Counted(r.cursorData);
  out.ZeroTerminated(r.tagText);
  out.U32(r.wordBeforeFlags);
  out.U32(r.flags);
  out.U32(r.wordAfterFlags);
  out.U32(static_cast<uint32_t>(r.bindings.size()));
  for (const EventBinding& b : r.bindings) {
    out.I32(b.event);
    out.U32(b.offset);
  }
  for (uint32_t w : r.tail) out.U32(w);
  out.Raw(r.typeBlock);
  return out.bytes;
}

std::string WriteRecordArea(const WindowTemplate& w) {
  ByteWriter ids, offsets, records;
  for (const UnitRecord& r : w.records) {
    ids.U32(r.id);
    offsets.U32(static_cast<uint32_t>(records.bytes.size()));
    records.Counted(WriteUnitRecord(r));
  }
  return ids.bytes + offsets.bytes + records.bytes;
}

std::string WriteDescription(const std::vector<WindowTemplate>& windows) {
  ByteWriter out;
  out.U32(static_cast<uint32_t>(8 * windows.size()));
  for (const WindowTemplate& w : windows) out.U32(w.id);
  for (size_t i = 0; i < windows.size(); ++i) out.U32(0);
  for (const WindowTemplate& w : windows) {
    out.U32(w.words[0]);
    out.U32(w.words[1]);
    out.Counted(w.texts[0]);
    out.Counted(w.texts[1]);
    std::string area = WriteRecordArea(w);
    out.U32(static_cast<uint32_t>(w.records.size()));
    out.Counted(area);
  }
  return out.bytes;
}

UnitRecord MakeUnitRecord(uint32_t id, uint32_t typeTag, const char* name, int32_t left,
                          int32_t top, int32_t width, int32_t height, uint32_t flags,
                          std::string typeBlock) {
  UnitRecord r;
  r.id = id;
  r.typeTag = typeTag;
  r.name = name ? name : "";
  r.left = left;
  r.top = top;
  r.width = width;
  r.height = height;
  r.cursorData = std::string(4, '\0');  // the standard arrow
  r.flags = flags;
  r.typeBlock = std::move(typeBlock);
  return r;
}

}  // namespace qx

namespace qx {

UnitRecord MakeMenuItemRecord(uint32_t id, const char* name, const char* caption, uint32_t level,
                              uint32_t flags, uint32_t shortcut, uint32_t handlerOffset) {
  UnitRecord r;
  r.id = id;
  r.typeTag = kTagMenu;
  r.name = name ? name : "";
  r.menuItem = true;
  r.menuCaption = caption ? caption : "";
  r.menuLevel = level;
  r.flags = flags;
  r.menuShortcut = shortcut;
  r.bindings.push_back({0, handlerOffset, 0});
  return r;
}

}  // namespace qx
