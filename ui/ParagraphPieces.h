// Where to cut a text that goes into a word-wrapping box in pieces, so that
// the box never has a long paragraph to lay out in one go.
//
// A word-wrapping edit box whose layout measures each wrapped line together
// with the rest of its paragraph takes time in some power of the paragraph's
// length. Appended piece by piece at its end, the paragraph is laid out
// again only from its last line or two each time. A paragraph here ends at
// every '\n', as the box sees it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace qx {

// Paragraphs no longer than this go into the box whole.
constexpr size_t kLongParagraphBytes = 2048;
// The most of one paragraph that a piece carries.
constexpr size_t kParagraphPieceBytes = 512;

// True when a byte starts a two-byte character of the text's code page.
using LeadBytePredicate = bool (*)(unsigned char);

// Whether some paragraph of `text` is longer than `limit` bytes.
bool HasLongParagraph(std::string_view text, size_t limit);

// The end of each piece, in order; the last is text.size(). No piece holds
// more than `longest` bytes of one paragraph (a two-byte character can make
// it one byte more), and a cut never falls inside a two-byte character:
// the bytes from each cut on start a character of their own.
std::vector<size_t> ParagraphPieceEnds(std::string_view text, size_t longest,
                                       LeadBytePredicate isLeadByte);

}  // namespace qx
