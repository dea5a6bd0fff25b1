// Shared by the window tests: a code table of logging handlers, windows
// made with the description writer, and a runtime set up as a program's
// start would set it up.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TreePaths_win.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeState.h"
#include "ui/DescriptionWriter.h"
#include "ui/Events.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx::test {

// What handlers saw, in order.
inline std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

// The application's "code": handler i lives at offset 4 * i. Each logs its
// name; some have a job of their own, set per test.
using Job = void (*)(TaggedValue* result, int32_t n, const uintptr_t* words);
inline Job& JobOf(int i) {
  static Job jobs[16] = {};
  return jobs[i];
}

template <int I>
void Handler(TaggedValue* result, int32_t n, const uintptr_t* words) {
  EventLog().push_back("h" + std::to_string(I));
  if (Job job = JobOf(I)) job(result, n, words);
}

inline const EventHandlerFn* CodeTable() {
  static const EventHandlerFn table[16] = {
      Handler<0>, Handler<1>, Handler<2>,  Handler<3>,  Handler<4>,  Handler<5>,
      Handler<6>, Handler<7>, Handler<8>,  Handler<9>,  Handler<10>, Handler<11>,
      Handler<12>, Handler<13>, Handler<14>, Handler<15>};
  return table;
}

inline EventBinding Bind(int32_t event, int handler) {
  return {event, handler < 0 ? kNoHandler : 4u * handler, 0};
}

inline UnitRecord Record(uint32_t id, uint32_t tag, int32_t l, int32_t t, int32_t w, int32_t h,
                         uint32_t flags, std::string block,
                         std::vector<EventBinding> bindings = {}) {
  UnitRecord r = MakeUnitRecord(id, tag, "", l, t, w, h, flags, std::move(block));
  r.bindings = std::move(bindings);
  return r;
}

inline std::string LabelBlock(const char* caption) {
  LabelSettings s;
  s.caption = caption;
  return WriteLabelSettings(s);
}
inline std::string ButtonBlock(const char* caption) {
  ButtonSettings s;
  s.caption = caption;
  return WriteButtonSettings(s);
}
inline std::string WindowBlock(const char* title) {
  WindowSettings s;
  s.title = title;
  return WriteWindowSettings(s);
}

constexpr uint32_t kTestWindow = 0x52010001;
constexpr uint32_t kSelf = 0x06010000;
constexpr uint32_t kLabel = 0x16010010;
constexpr uint32_t kButton = 0x16010011;
constexpr uint32_t kEdit = 0x16010012;
constexpr uint32_t kBody = 0x16010013;
constexpr uint32_t kButton2 = 0x16010014;

// A small window: a label, a button (click -> handler 1), a single-line
// edit box with content, a multi-line box, a second button without a
// binding. Window events: created 0 -> handler 0, destroyed 2 -> handler 2.
inline WindowTemplate SmallWindow() {
  WindowTemplate w;
  w.id = kTestWindow;
  w.records.push_back(Record(kSelf, kTagWindow, 100, 100, 400, 300, kUnitVisible,
                             WindowBlock("测试窗口"), {Bind(0, 0), Bind(2, 2)}));
  w.records.push_back(Record(kLabel, kTagLabel, 10, 10, 120, 24, kUnitVisible, LabelBlock("标签甲")));
  w.records.push_back(Record(kButton, kTagButton, 10, 40, 80, 28, kUnitVisible | kUnitTabStop,
                             ButtonBlock("按钮甲"), {Bind(0, 1)}));
  EditBoxSettings edit;
  edit.content = "初始";
  w.records.push_back(Record(kEdit, kTagEditBox, 100, 40, 150, 24, kUnitVisible | kUnitTabStop,
                             WriteEditBoxSettings(edit), {Bind(0, 3)}));
  EditBoxSettings body;
  body.multiLine = true;
  body.scrollBars = 2;
  w.records.push_back(Record(kBody, kTagEditBox, 10, 80, 200, 100, kUnitVisible | kUnitTabStop,
                             WriteEditBoxSettings(body)));
  w.records.push_back(Record(kButton2, kTagButton, 260, 40, 80, 28, kUnitVisible | kUnitTabStop,
                             ButtonBlock("按钮乙")));
  return w;
}

// The runtime as the program's start leaves it, with the core library and
// the given windows; no OLE, no folder change.
// `more` are the program's further libraries, from library 2 on (null for
// a missing one).
inline void StartRuntime(const std::vector<WindowTemplate>& windows,
                         std::vector<const LibraryRecord*> more = {}) {
  InstallWindowRuntime();
  CreateHiddenOwner();
  static std::vector<const LibraryRecord*> libs;
  libs.assign(1, CoreLibrary());
  libs.insert(libs.end(), more.begin(), more.end());
  StartLibraries(libs.data(), static_cast<uint32_t>(libs.size()));
  std::string block = WriteDescription(windows);
  ASSERT_TRUE(LoadWindowDescriptions(block.data(), static_cast<uint32_t>(block.size()), CodeTable()));
}

// The runtime started with `windows` (and the further libraries) and the
// first of them loaded, as a test of one window begins; false when that
// window could not be loaded.
inline bool StartWithWindow(const std::vector<WindowTemplate>& windows,
                            std::vector<const LibraryRecord*> more = {}) {
  StartRuntime(windows, std::move(more));
  if (::testing::Test::HasFatalFailure()) return false;
  return LoadWindow(FindWindowTemplate(windows.at(0).id), false, false, nullptr);
}

inline void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) continue;
    if (!PreTranslateWindowMessage(&m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
}

inline void StopRuntime() {
  for (WindowTemplate& w : WindowTemplates())
    if (WindowIsAlive(w)) DestroyWindow(static_cast<HWND>(LiveUnit(w.records[0])->hwnd));
  Pump();
  FreeWindowDescriptions();
  for (int i = 0; i < 16; ++i) JobOf(i) = nullptr;
  EventLog().clear();
  g_runtime.eventsSuspended = 0;
}

inline HWND Hwnd(uint32_t unit, uint32_t window = kTestWindow) {
  UnitObject* u = FindLiveUnit(window, unit);
  return u ? static_cast<HWND>(u->hwnd) : nullptr;
}

// A program of our build tree as Wine sees it, quoted for a command line.
inline std::string BuiltProgram(const char* relative) { return "\"" + BuiltPath(relative) + "\""; }

inline std::string TempFolder() {
  char path[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, path);
  return path;
}

inline std::string ClassOf(HWND h) {
  char name[64] = "";
  GetClassNameA(h, name, sizeof name);
  return name;
}

}  // namespace qx::test
