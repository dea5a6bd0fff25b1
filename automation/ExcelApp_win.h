// Excel程序 (ExcelApp, library 2 type 1): a non-visual control holding one
// reference to a running spreadsheet application, started from the ProgID
// "Excel.Application", with its events routed to the control.
#pragma once

#include <oaidl.h>

#include "runtime/Command.h"
#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* ExcelAppKind();

// Own properties: the application's, while the control holds one.
enum ExcelAppProperty : int32_t {
  kExcelAppLeft = kFirstOwnProperty,  // double
  kExcelAppTop,
  kExcelAppWidth,
  kExcelAppHeight,
  kExcelAppCaption,
  kExcelAppWindowState,
  kExcelAppVisible,
  kExcelAppEnableEvents,
  kExcelAppVersion,  // read only
  kExcelAppActivePrinter,
  kExcelAppFullScreen,
  kExcelAppStandardFont,
  kExcelAppStandardFontSize,
  kExcelAppZoom,      // of the active window
  kExcelAppAttached,  // read only: whether the control holds an application
};

// The application a live control holds (no reference added), or null.
IDispatch* HeldApplication(UnitObject* control);

// Commands; argument 0 is the control.
void StartApplication(TaggedValue* result, int32_t count, TaggedValue* args);
void ReleaseApplication(TaggedValue* result, int32_t count, TaggedValue* args);
void QuitApplication(TaggedValue* result, int32_t count, TaggedValue* args);

// Where StartApplication gets the application from. The default creates
// "Excel.Application" through the registry and, where that ProgID is not
// registered, falls back to our own spreadsheet server beside the program;
// with neither it fails with kNothingToStartResult.
struct ApplicationFactory {
  // The new application's IUnknown (one reference), or a failure.
  HRESULT (*create)(IUnknown** application);
};
const ApplicationFactory* SetApplicationFactory(const ApplicationFactory* factory);

// How a start ended: started; nothing to start (nothing registered under
// "Excel.Application" and no server beside the program); or a start that
// failed with the result given.
enum class StartOutcome { kStarted, kNothingToStart, kStartFailed };
struct StartReport {
  StartOutcome outcome;
  HRESULT result;
};
// StartApplication for the control, saying how it ended.
StartReport StartApplicationSaying(TaggedValue control);

// What the default factory fails with when there is nothing to start.
constexpr HRESULT kNothingToStartResult = static_cast<HRESULT>(0x80040301);

}  // namespace qx
