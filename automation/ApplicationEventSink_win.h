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

// The event texts, by event index 0..8.
struct ApplicationEventInfo {
  const char* name;
  DISPID dispid;
  const char* description;
};
const ApplicationEventInfo* ApplicationEvents();  // nine entries
constexpr int kApplicationEventCount = 9;

}  // namespace qx
