// The colour schemes of the drawn look of push buttons and edit boxes.
// Colours are COLORREF words; the top byte of a corner colour is handed to
// the gradient fill as that vertex's alpha.
#pragma once

#include <cstdint>

namespace qx {

// The four corner colours of a rectangle to be gradient-filled.
struct GradientEntry {
  uint32_t topLeft, topRight, bottomLeft, bottomRight;
};

enum GradientUse : int32_t {
  kRingPressed = 0,
  kRingHot = 1,
  kRingChecked = 2,  // checked or indeterminate
  kRingFocused = 3,  // focused or default
  kRingNormal = 4,
  kFacePressed = 5,  // pressed or checked
  kFaceNormal = 6,
  kGradientEntryCount = 7,
};

struct StyleScheme {
  uint32_t buttonBorder;
  uint32_t editFrame;
  GradientEntry entries[kGradientEntryCount];
};

// Schemes 1 to 3; null for any other number.
const StyleScheme* FindStyleScheme(int32_t number);

}  // namespace qx
