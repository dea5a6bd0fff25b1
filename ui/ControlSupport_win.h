// What the control kinds share on Windows: colours, fonts and border
// styles from stored settings, the tie between a window handle and its
// unit, and the report of a unit's end to the runtime.
#pragma once

#include <windows.h>

#include <string>

#include "ui/UnitKind.h"

namespace qx {

inline HWND UnitHwnd(const UnitObject* u) { return u ? static_cast<HWND>(u->hwnd) : nullptr; }

// The marker 0xFF000000 is the system button-face colour.
COLORREF ResolveColour(uint32_t stored);

// A font from a stored 60-byte LOGFONTA (character set, precisions, quality
// and pitch normalised), or null for an empty or unusable one: the caller
// then uses DEFAULT_GUI_FONT.
HFONT CreateStoredFont(const std::string& logfont);
// The font a control draws with: its own or the default GUI font.
inline HFONT FontOrDefault(HFONT own) {
  return own ? own : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Border styles 0-5 shared by edit boxes and labels.
void BorderStyleBits(uint32_t border, DWORD* style, DWORD* exStyle);
// Replaces exactly the border bits of a live window and redraws its frame.
void ApplyBorderStyle(HWND hwnd, uint32_t border);

// Ties a window to its unit; UnitOf finds the unit of a window or of the
// nearest ancestor that has one.
void AttachUnit(HWND hwnd, UnitObject* unit);
UnitObject* UnitOfWindow(HWND hwnd);
UnitObject* UnitOf(HWND hwnd);

// Subclasses a system control so that its kind sees its messages; the kind's
// procedure passes everything on with CallOriginal.
void SubclassControl(HWND hwnd, WNDPROC proc);
LRESULT CallOriginal(HWND hwnd, UINT msg, WPARAM w, LPARAM l);

// A control's window is gone: tells the runtime (the unit's live slot is
// cleared, its pointer destroyed) and drops the tie.
void ReportUnitDestroyed(UnitObject* unit);

// Property helpers for the kinds.
inline RawProperty IntProperty(int32_t i) {
  RawProperty p;
  p.i = i;
  return p;
}
inline RawProperty TextProperty(const std::string& s) {
  RawProperty p;
  p.bytes = s;
  return p;
}
std::string WindowText(HWND hwnd);

}  // namespace qx
