// The drawn look's bookkeeping: one record per taken-over window, the kinds
// of window it draws, the action words its message handlers answer with,
// and the handlers and painters the style's window procedure calls.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/StyleSchemes.h"

namespace qx {

enum StyleKind : int32_t {
  kStyleNotTaken = -1,
  kStylePushButton = 0,
  kStyleCheckBox = 1,
  kStyleRadioButton = 2,
  kStyleEditBox = 3,
  kStyleComboBox = 4,
  kStyleUpDown = 5,
  kStyleGroupBox = 11,
  kStyleComboList = 12,
};

enum StyleFlag : uint32_t {
  kStyleDisabled = 0x1,
  kStylePressed = 0x2,
  kStyleHot = 0x4,
  kStyleFocused = 0x10,
  kStyleDefault = 0x10000,
  kStyleChecked = 0x20000,
  kStyleIndeterminate = 0x40000,
  kStyleReadOnly = 0x10000000,
};

// What the style's procedure does with a message, in this order.
enum StyleAction : uint32_t {
  kActCommonState = 0x10000,  // run the common state handler, add its bits
  kActPrevious = 0x20000,
  kActDefault = 0x40000,
  kActPaint = 0x80000,
  kActPreviousAfter = 0x100000,
  kActDefaultAfter = 0x200000,
  kActOwnResult = 0x800000,  // the result is the word's low 16 bits
};

struct StyledWindow {
  StyledWindow* next;  // the list runs newest first
  HWND hwnd;
  int32_t kind;
  uint32_t flags;
  HBRUSH parentBrush;  // what the parent answered WM_CTLCOLORBTN with
  COLORREF parentColour;
  COLORREF textColour;
  WNDPROC previous;
  // Let go while another procedure was installed on top of ours: the
  // record stays only to pass every message on until the window ends.
  bool released;
};

// The kind a window would be drawn as, from its class and style.
int32_t ClassifyStyleKind(HWND hwnd);
// Whether the style draws windows of this kind; the others keep the
// system's drawing.
bool StyleDrawsKind(int32_t kind);

StyledWindow* FindStyledWindow(HWND hwnd);
StyledWindow* FirstStyledWindow();
// False when the window is not drawn by the style or is already taken.
bool TakeOverWindow(HWND hwnd);
// A window that is being destroyed is not redrawn.
void LetWindowGo(HWND hwnd, bool redraw = true);
// Drops a released record once its window has passed WM_NCDESTROY on.
void ForgetStyledWindow(StyledWindow* w);
// RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME.
void RedrawStyledWindow(HWND hwnd);

LRESULT CALLBACK StyleWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The scheme the painters use (0 when the style is off).
int32_t CurrentStyleScheme();
void SetCurrentStyleScheme(int32_t scheme);

// Message handlers: each answers with an action word.
uint32_t PushButtonMessage(StyledWindow* w, UINT msg, WPARAM wp, LPARAM lp);
uint32_t EditBoxMessage(StyledWindow* w, UINT msg, WPARAM wp, LPARAM lp);
uint32_t CommonStateMessage(StyledWindow* w, UINT msg, WPARAM wp, LPARAM lp);

// One vertical gradient when the corners pair up, two triangles otherwise.
void FillGradient(HDC dc, const RECT& rc, const GradientEntry& entry);
void PaintPushButton(StyledWindow* w, const StyleScheme& scheme);
void PaintEditFrame(StyledWindow* w, const StyleScheme& scheme);

// A COLORREF less a grey step, as plain integer subtraction.
inline COLORREF Darker(COLORREF c, uint32_t step) { return c - step; }

}  // namespace qx
