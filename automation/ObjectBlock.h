// The object value (对象, tag 0x10030): the low word of the tagged value
// points at a two-word block from the runtime's heap. For an ordinary
// object `iface` is any interface of it; for a record (VT_RECORD) `iface` is
// the IRecordInfo that describes `record`. Both null: the empty object. A
// variable of this type always holds a block, never a null pointer.
#pragma once

#include <cstdint>
#include <memory>

namespace qx {

struct ObjectBlock {
  void* iface;   // IUnknown*, owning one reference
  void* record;  // record data, owned; null for ordinary objects
};

// A new zeroed block from the runtime's heap (the empty object).
ObjectBlock* NewObjectBlock();
// A new block holding `unknown` with one added reference; null gives the
// empty object.
ObjectBlock* NewObjectBlockFor(void* unknown);
// Releases what the block holds and leaves it empty; the block stays
// allocated. Harmless on an empty block and on null.
void ClearObjectBlock(ObjectBlock* block);
// ClearObjectBlock, then the block itself back to the heap.
void FreeObjectBlock(ObjectBlock* block);

// A block owned by its holder, freed as by FreeObjectBlock.
struct ObjectBlockFree {
  void operator()(ObjectBlock* block) const { FreeObjectBlock(block); }
};
using OwnedObjectBlock = std::unique_ptr<ObjectBlock, ObjectBlockFree>;

}  // namespace qx
