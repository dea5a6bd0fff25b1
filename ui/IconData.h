// A stored icon (window property 20) is the bytes of an icon file: a
// directory of images of several sizes. Choosing the image for the size the
// system wants is kept apart from making the icon, so that it is tested
// natively.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

struct IconImage {
  uint32_t offset;  // into the file: the image as an icon resource holds it
  uint32_t size;
};

// The image nearest to `wantedSize` pixels wide (the larger of two equally
// near, then the deeper colours), among the entries that lie inside the
// file. False when the bytes are no icon file or no entry is usable.
bool PickIconImage(const std::string& file, int32_t wantedSize, IconImage* out);

}  // namespace qx
