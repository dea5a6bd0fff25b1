// Any bytes as XML: tokens until the end or an error, decoding every text
// and attribute on the way; the same document streamed through a small
// window (its size taken from the input's length) must give exactly the
// same tokens and error, read in pieces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Xml.h"

namespace {

using namespace qx::xml;

class PieceSource : public Source {
 public:
  PieceSource(std::string_view doc, size_t piece) : doc_(doc), piece_(piece) {}
  bool Read(char* dst, size_t room, size_t* got, std::string*) override {
    *got = std::min({room, piece_, doc_.size() - at_});
    doc_.copy(dst, *got, at_);
    at_ += *got;
    return true;
  }

 private:
  std::string_view doc_;
  size_t piece_, at_ = 0;
};

std::string Trace(Reader& r, size_t size) {
  std::string trace, scratch;
  for (size_t steps = 0;; ++steps) {
    Token t = r.Next();
    if (t == Token::End) return trace;
    if (t == Token::Error) return trace + "!" + r.error();
    if (steps > size + 16) __builtin_trap();  // every token consumes input
    if (t == Token::Text) {
      trace += "T";
      r.AppendText(&trace);
    } else if (t == Token::StartElement) {
      trace += "<";
      trace += r.prefix();
      trace += ":";
      trace += r.local();
      for (const Attribute& a : r.attributes()) {
        trace += " ";
        trace += r.Value(a, &scratch);
      }
      if ((size & 1) && r.local() == "skip") {
        if (!r.SkipElement()) return trace + "!" + r.error();
        trace += "skipped";
      }
    } else {
      trace += ">";
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view doc(reinterpret_cast<const char*>(data), size);
  Reader whole(doc);
  std::string expected = Trace(whole, size);
  PieceSource source(doc, size % 7 + 1);
  Reader streamed(&source, size % 13 + 1);
  if (Trace(streamed, size) != expected) __builtin_trap();
  return 0;
}
