// The converter's window handlers and its application globals: what the
// program does when its window is created and destroyed, and when the user
// chooses a file or a folder, converts, replaces, saves and resets.
#pragma once

#include "ui/Events.h"
#include "ui/UnitRecord.h"

namespace qx::app {

// The application's code table, in the order of MainWindowHandler: a
// binding's offset is four times the handler's place.
const EventHandlerFn* ConverterCode();

// The application's entry: the runtime, the globals, the exit routine, the
// start-up window and the message loop. Returns 0.
int ConverterEntry();

// The chosen spreadsheet (GBK); empty when none was chosen.
const char* SourcePath();

}  // namespace qx::app
