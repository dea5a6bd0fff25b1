/* The C side of QxOleTypes.idl: the platform's own definitions. */
#pragma once
#include <oaidl.h>
