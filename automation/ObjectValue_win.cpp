#include "automation/ObjectValue.h"

#include "automation/ObjectBlock.h"
#include "runtime/RuntimeHooks.h"
#include "runtime/Value.h"
#include "ui/WindowTable.h"

namespace qx {

bool IsObjectCompatibleTag(uint32_t tag) {
  uint32_t base = BaseTag(tag);
  if (base == kTagObject) return true;
  if (IsBasicTag(base) || base == 0) return false;
  const UnitKind* kind = KindOfTag(base);
  return kind && (kind->state & kKindObjectCompatible);
}

void InstallObjectService() {
  static const ObjectValueHooks hooks = {
      .clearObject = [](void* block) { ClearObjectBlock(static_cast<ObjectBlock*>(block)); },
  };
  InstallObjectValueHooks(&hooks);
}

}  // namespace qx
