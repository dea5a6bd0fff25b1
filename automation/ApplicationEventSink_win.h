// The application control's listener on the spreadsheet application's
// events: a dispatch object advised on the application's connection point
// for the application-events interface, routing each event to a typed event
// of its control. Its owner destroys it; the reference count does not.
#pragma once

#include <oaidl.h>

#include <cstdint>

namespace qx {

struct ApplicationEventSink;

// Makes a sink for (window, control) and advises it on the application's
// connection point; a sink that could not be connected still exists and
// simply hears nothing. Null only when no sink could be made.
ApplicationEventSink* CreateApplicationEventSink(IDispatch* application, uint32_t windowId,
                                                 uint32_t unitId);
// Unadvises, releases the connection point and frees the sink.
void DestroyApplicationEventSink(ApplicationEventSink* sink);

// {00024413-0000-0000-C000-000000000046}
extern const IID kApplicationEventsIid;

// An event's argument as its handler receives it, in declaration order: an
// object value (a new block, cleared and freed when the handler returns),
// a logical (the word 0 or 1), or a settable logical (the address of a
// logical variable, 0 or 1, which the handler may change; what it leaves
// there goes back to the application when it returns).
enum class EventArgKind : int32_t { kObject, kLogical, kSettableLogical };
struct ApplicationEventArg {
  const char* name;
  EventArgKind kind;
  const char* description;  // null where none is kept
};

// The events, by event index 0..8: what user code sees of each.
constexpr int kMaxApplicationEventArgs = 3;
struct ApplicationEventInfo {
  const char* name;
  DISPID dispid;
  const char* description;
  int32_t argCount;
  ApplicationEventArg args[kMaxApplicationEventArgs];
};
const ApplicationEventInfo* ApplicationEvents();  // nine entries
constexpr int kApplicationEventCount = 9;

}  // namespace qx
