// The word-break procedure of word-wrapping multi-line boxes: lines break
// where the system's line breaking allows, and after the colon of a row
// prefix in a run of them.
//
// Wine's own procedure runs the line breaking over the box's whole text
// again after every change, which a text put in piece by piece pays once
// per piece; this one looks only at the text it is given.
#pragma once

#include <windows.h>

namespace qx {

// Gives the box the procedure. The box must still be empty: the system lays
// its whole text out again.
void UseRowPrefixBreaks(HWND box);

// The procedure's answer for `count` bytes of ANSI text (EDITWORDBREAKPROCA),
// with `index` and the result counted in characters or in bytes, as the box
// counts its positions.
int RowPrefixWordBreak(const char* text, int index, int count, int action,
                       bool positionsAreCharacters);

}  // namespace qx
