#include "ui/UnitKind.h"

namespace qx {

void* OperationByNumber(const UnitOperations& ops, int32_t op) {
  switch (op) {
    case kOpCreateControl: return reinterpret_cast<void*>(ops.createControl);
    case kOpNotify: return reinterpret_cast<void*>(ops.notify);
    case kOpSetTypeProperty: return reinterpret_cast<void*>(ops.setTypeProperty);
    case kOpSettingsBlock: return reinterpret_cast<void*>(ops.settingsBlock);
    case kOpGetTypeProperty: return reinterpret_cast<void*>(ops.getTypeProperty);
    case kOpWantsKey: return reinterpret_cast<void*>(ops.wantsKey);
    case kOpVisitTexts: return reinterpret_cast<void*>(ops.visitTexts);
    default: return nullptr;
  }
}

}  // namespace qx
