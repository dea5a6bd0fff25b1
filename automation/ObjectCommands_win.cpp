#include "automation/ObjectCommands.h"

#include "automation/InvokeByName.h"
#include "automation/ObjectBlock.h"
#include "automation/ObjectValue.h"

namespace qx {

void ReadNumberProperty(TaggedValue* result, int32_t count, TaggedValue* args) {
  result->tag = kTagDouble;
  InvokeByName(result, count, args, kInvokeRead);
}

void ReadObjectProperty(TaggedValue* result, int32_t count, TaggedValue* args) {
  result->tag = kTagObject;
  InvokeByName(result, count, args, kInvokeRead);
}

void ClearObject(TaggedValue* result, int32_t count, TaggedValue* args) {
  TaggedValue object = ArgValue(count, args, 0);
  if (IsObjectCompatibleTag(object.tag))
    ClearObjectBlock(static_cast<ObjectBlock*>(ValuePointer(object)));
}

}  // namespace qx
