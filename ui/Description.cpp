#include "ui/Description.h"

#include "ui/ByteReader.h"

namespace qx {

bool ParseUnitRecord(uint32_t id, const unsigned char* bytes, uint32_t length, UnitRecord* r) {
  ByteReader in{bytes, length};
  *r = UnitRecord{};
  r->id = id;
  r->typeTag = in.U32();
  r->eventSource = in.U32();
  for (uint32_t& w : r->reserved) w = in.U32();
  r->name = in.ZeroTerminated();
  r->remark = in.ZeroTerminated();
  if (IsMenuItemId(id)) {
    r->menuItem = true;
    in.U32();  // the live-object slot
    r->menuLevel = in.U32();
    r->flags = in.U32();
    r->menuShortcut = in.U32();
    for (uint32_t& w : r->menuReserved) w = in.U32();
    r->menuCaption = in.ZeroTerminated();
    uint32_t offset = in.U32();
    r->bindings.push_back({0, offset, 0});
    return in.ok;
  }
  in.U32();  // the live-object slot: always empty in stored data
  r->left = static_cast<int32_t>(in.U32());
  r->top = static_cast<int32_t>(in.U32());
  r->width = static_cast<int32_t>(in.U32());
  r->height = static_cast<int32_t>(in.U32());
  in.U32();  // the cursor slot, likewise
  r->container = in.U32();
  uint32_t n = in.U32();
  // Each child needs four bytes: a count beyond what is left is malformed,
  // and must not make us reserve memory for it.
  if (n > in.left / 4) return false;
  for (uint32_t i = 0; i < n; ++i) r->children.push_back(in.U32());
  r->cursorData = in.Counted();
  r->tagText = in.ZeroTerminated();
  r->wordBeforeFlags = in.U32();
  r->flags = in.U32();
  r->wordAfterFlags = in.U32();
  uint32_t k = in.U32();
  if (k > in.left / 8) return false;
  for (uint32_t i = 0; i < k; ++i) {
    int32_t event = static_cast<int32_t>(in.U32());
    uint32_t offset = in.U32();
    r->bindings.push_back({event, offset, 0});
  }
  for (uint32_t& w : r->tail) w = in.U32();
  if (!in.ok) return false;
  r->typeBlock = in.Rest();
  return true;
}

bool ParseDescription(const void* block, uint32_t length, std::vector<WindowTemplate>* out) {
  out->clear();
  if (!block) return false;
  ByteReader in{static_cast<const unsigned char*>(block), length};
  uint32_t listLength = in.U32();
  if (!in.ok || listLength % 8 != 0 || listLength / 8 > in.left / 8) return false;
  uint32_t count = listLength / 8;
  std::vector<uint32_t> ids;
  for (uint32_t i = 0; i < count; ++i) ids.push_back(in.U32());
  for (uint32_t i = 0; i < count; ++i) in.U32();  // slots for the parsed templates
  for (uint32_t w = 0; w < count && in.ok; ++w) {
    WindowTemplate t;
    t.id = ids[w];
    t.words[0] = in.U32();
    t.words[1] = in.U32();
    t.texts[0] = in.Counted();
    t.texts[1] = in.Counted();
    uint32_t n = in.U32();
    uint32_t areaLength = in.U32();
    const unsigned char* area;
    if (!in.Take(areaLength, &area)) return false;
    if (n == 0 || n > areaLength / 8) return false;
    ByteReader rec{area, areaLength};
    std::vector<uint32_t> recordIds, offsets;
    for (uint32_t i = 0; i < n; ++i) recordIds.push_back(rec.U32());
    for (uint32_t i = 0; i < n; ++i) offsets.push_back(rec.U32());
    uint32_t base = 8 * n;
    for (uint32_t i = 0; i < n; ++i) {
      ByteReader at{area + base, areaLength - base};
      const unsigned char* skip;
      if (!at.Take(offsets[i], &skip)) return false;
      uint32_t r = at.U32();
      const unsigned char* bytes;
      if (!at.Take(r, &bytes)) return false;
      UnitRecord u;
      if (!ParseUnitRecord(recordIds[i], bytes, r, &u)) return false;
      t.records.push_back(std::move(u));
    }
    out->push_back(std::move(t));
  }
  return in.ok;
}

uintptr_t HandlerAddress(const void* codeBase, uint32_t offset) {
  return reinterpret_cast<uintptr_t>(codeBase) + offset / 4 * sizeof(void*);
}

void FixUpBindings(std::vector<WindowTemplate>& windows, const void* codeBase) {
  for (WindowTemplate& w : windows)
    for (UnitRecord& r : w.records)
      for (EventBinding& b : r.bindings)
        b.handler = b.offset == kNoHandler ? 0 : HandlerAddress(codeBase, b.offset);
}

UnitRecord* FindUnitRecord(WindowTemplate& window, uint32_t unitId) {
  int32_t i = FindUnitIndex(window, unitId);
  return i < 0 ? nullptr : &window.records[i];
}

int32_t FindUnitIndex(const WindowTemplate& window, uint32_t unitId) {
  if (unitId == 0) return window.records.empty() ? -1 : 0;
  if (!IsValidUnitId(unitId)) return -1;
  for (size_t i = 0; i < window.records.size(); ++i)
    if (window.records[i].id == unitId) return static_cast<int32_t>(i);
  return -1;
}

}  // namespace qx
