#include "ui/ParagraphPieces.h"

namespace qx {

bool HasLongParagraph(std::string_view text, size_t limit) {
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    if ((end == std::string_view::npos ? text.size() : end) - start > limit) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

std::vector<size_t> ParagraphPieceEnds(std::string_view text, size_t longest,
                                       LeadBytePredicate isLeadByte) {
  std::vector<size_t> ends;
  if (longest == 0) longest = 1;
  size_t run = 0;  // bytes of the current paragraph in the current piece
  for (size_t i = 0; i < text.size();) {
    if (run >= longest) {
      ends.push_back(i);
      run = 0;
    }
    const unsigned char b = static_cast<unsigned char>(text[i]);
    // The second byte of a pair may be any byte from '@' on: the pair is
    // stepped over whole, so that no cut splits it.
    size_t width = isLeadByte(b) && i + 1 < text.size() ? 2 : 1;
    run = b == '\n' ? 0 : run + width;
    i += width;
  }
  ends.push_back(text.size());
  return ends;
}

}  // namespace qx
