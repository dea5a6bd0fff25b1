// The outcome of the last late-bound call on this thread: 0, or one of the
// negative codes below. Nothing in the program shows it; it is kept so that
// a caller (or a test) can tell why a read came back as 0.0 or empty.
#pragma once

#include <cstdint>

namespace qx {

enum AutomationStatus : int32_t {
  kAutomationOk = 0,
  kAutomationEmptyObject = -1,
  kAutomationNoDispatch = -2,
  kAutomationNameNotBound = -3,
  kAutomationNoTypeInfo = -4,
  kAutomationTooManyArguments = -5,
  // -6 is not used.
  kAutomationBadArgumentType = -7,
  kAutomationBadResult = -8,
  kAutomationBadParamCount = -9,
  kAutomationBadVarType = -10,
  kAutomationException = -11,
  kAutomationMemberNotFound = -12,
  kAutomationNoNamedArgs = -13,
  kAutomationOverflow = -14,
  kAutomationParamNotFound = -15,
  kAutomationTypeMismatch = -16,
  kAutomationParamNotOptional = -17,
  kAutomationInvokeFailed = -18,
};

int32_t LastAutomationStatus();
void SetLastAutomationStatus(int32_t status);

// The status for a failing result of IDispatch::Invoke.
int32_t StatusOfInvokeFailure(int32_t hresult);

}  // namespace qx
