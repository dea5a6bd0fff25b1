#include "ui/StyleSchemes.h"

namespace qx {
namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// The bottom-right corner carries an opaque alpha; the others carry 0.
constexpr GradientEntry Entry(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br) {
  return {tl, tr, bl, 0xFF000000u | br};
}
constexpr GradientEntry Vertical(uint32_t top, uint32_t bottom) {
  return Entry(top, top, bottom, bottom);
}

// Blue.
constexpr StyleScheme kScheme1 = {
    Rgb(0, 60, 115),
    Rgb(123, 158, 189),
    {Vertical(Rgb(209, 204, 193), Rgb(209, 204, 193)),
     Vertical(Rgb(255, 240, 207), Rgb(229, 151, 0)),
     Entry(Rgb(209, 204, 193), Rgb(214, 207, 198), Rgb(247, 243, 239), Rgb(247, 243, 239)),
     Vertical(Rgb(206, 231, 255), Rgb(105, 130, 238)),
     Vertical(Rgb(255, 255, 255), Rgb(214, 208, 197)),
     Vertical(Rgb(230, 229, 224), Rgb(252, 252, 251)),
     Vertical(Rgb(255, 255, 255), Rgb(236, 235, 230))}};

// Olive green.
constexpr StyleScheme kScheme2 = {
    Rgb(55, 98, 6),
    Rgb(164, 185, 127),
    {Vertical(Rgb(222, 223, 200), Rgb(222, 223, 200)),
     Vertical(Rgb(255, 240, 207), Rgb(229, 151, 0)),
     Entry(Rgb(212, 214, 190), Rgb(216, 218, 198), Rgb(245, 246, 236), Rgb(245, 246, 236)),
     Vertical(Rgb(224, 238, 196), Rgb(146, 175, 96)),
     Vertical(Rgb(255, 255, 255), Rgb(219, 220, 200)),
     Vertical(Rgb(196, 203, 170), Rgb(250, 250, 244)),
     Vertical(Rgb(250, 250, 244), Rgb(210, 216, 180))}};

// Silver: the converter's scheme.
constexpr StyleScheme kScheme3 = {
    Rgb(0, 60, 116),
    Rgb(198, 197, 215),
    {Vertical(Rgb(239, 227, 206), Rgb(239, 227, 206)),
     Vertical(Rgb(255, 240, 207), Rgb(229, 151, 0)),
     Entry(Rgb(214, 203, 189), Rgb(214, 207, 198), Rgb(247, 243, 239), Rgb(247, 243, 239)),
     Vertical(Rgb(206, 231, 255), Rgb(105, 130, 238)),
     Vertical(Rgb(255, 255, 255), Rgb(226, 223, 214)),
     Vertical(Rgb(179, 178, 197), Rgb(252, 252, 251)),
     Vertical(Rgb(252, 252, 251), Rgb(198, 197, 215))}};

}  // namespace

const StyleScheme* FindStyleScheme(int32_t number) {
  switch (number) {
    case 1: return &kScheme1;
    case 2: return &kScheme2;
    case 3: return &kScheme3;
    default: return nullptr;
  }
}

}  // namespace qx
