#include "automation/ObjectBlock.h"

#include <oaidl.h>

#include <cstring>

#include "runtime/Memory.h"

namespace qx {

ObjectBlock* NewObjectBlock() {
  auto* block = static_cast<ObjectBlock*>(AllocateMemory(sizeof(ObjectBlock)));
  std::memset(block, 0, sizeof *block);
  return block;
}

ObjectBlock* NewObjectBlockFor(void* unknown) {
  ObjectBlock* block = NewObjectBlock();
  if (unknown) {
    static_cast<IUnknown*>(unknown)->AddRef();
    block->iface = unknown;
  }
  return block;
}

void ClearObjectBlock(ObjectBlock* block) {
  if (!block) return;
  if (block->iface) {
    if (block->record) {
      static_cast<IRecordInfo*>(block->iface)->RecordDestroy(block->record);
      block->record = nullptr;
    }
    IUnknown* unknown = static_cast<IUnknown*>(block->iface);
    block->iface = nullptr;
    unknown->Release();
  } else if (block->record) {
    FreeMemory(block->record);
    block->record = nullptr;
  }
}

void FreeObjectBlock(ObjectBlock* block) {
  if (!block) return;
  ClearObjectBlock(block);
  FreeMemory(block);
}

}  // namespace qx
