// COM objects for the engine tests. The probe implements IQxProbe through
// DispInvoke over the type information of the test program's own type
// library resource; the bare and blind objects lack IDispatch and type
// information. Every object counts itself in LiveProbeObjects().
#pragma once

#include <oaidl.h>

#include <string>

#include "QxProbe.h"

namespace qx::test {

int LiveProbeObjects();

// The test program's type library and what it describes (owned here).
ITypeLib* ProbeTypeLib();
ITypeInfo* ProbeTypeInfo();     // IQxProbe
IRecordInfo* ProbePointInfo();  // ProbePoint, one added reference

// A new probe with one reference. Its state is public to the tests.
struct ProbeState {
  double number = 0;
  std::wstring name;
  IDispatch* child = nullptr;
  HRESULT failNext = S_OK;
  DATE when = 0;
  int invokes = 0;  // IDispatch::Invoke calls that reached the object
};
IQxProbe* NewProbe(ProbeState** state);
// An object described by a dispatch interface with two variables, Level
// (double) and Link (IDispatch); it answers Invoke itself and keeps the
// flags of the last call.
struct BagState {
  double level = 0;
  WORD lastFlags = 0;
  DISPID lastMember = 0;
  bool linked = false;
  UINT lastArgs = 0;
  UINT lastNamedArgs = 0;
};
IUnknown* NewBag(BagState** state);
// An object whose names bind through the whole type library, as code of a
// module's binds them: a type's name binds to the type, a member of the
// application object ProbeApp to that implicit object. It answers every
// member as Level, property get or put, and keeps what each call asked.
IUnknown* NewLibraryBound(BagState** state);
// An object with IUnknown only.
IUnknown* NewBareObject();
// An object whose IDispatch gives no type information.
IUnknown* NewBlindObject();

}  // namespace qx::test
