#include "automation/AutomationStatus.h"

#include <windows.h>

namespace qx {
namespace {
thread_local int32_t t_lastStatus = kAutomationOk;
}

int32_t LastAutomationStatus() { return t_lastStatus; }
void SetLastAutomationStatus(int32_t status) { t_lastStatus = status; }

int32_t StatusOfInvokeFailure(int32_t hresult) {
  switch (static_cast<HRESULT>(hresult)) {
    case DISP_E_BADPARAMCOUNT: return kAutomationBadParamCount;
    case DISP_E_BADVARTYPE: return kAutomationBadVarType;
    case DISP_E_EXCEPTION: return kAutomationException;
    case DISP_E_MEMBERNOTFOUND: return kAutomationMemberNotFound;
    case DISP_E_NONAMEDARGS: return kAutomationNoNamedArgs;
    case DISP_E_OVERFLOW: return kAutomationOverflow;
    case DISP_E_PARAMNOTFOUND: return kAutomationParamNotFound;
    case DISP_E_TYPEMISMATCH: return kAutomationTypeMismatch;
    case DISP_E_PARAMNOTOPTIONAL: return kAutomationParamNotOptional;
    default: return kAutomationInvokeFailed;
  }
}

}  // namespace qx
