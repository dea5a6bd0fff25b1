// What widl's headers of our IDL files include for QxOleBase.idl: the real
// system declarations of the types that file only sketches for widl.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
