// Any bytes as XML: tokens until the end or an error, decoding every text
// and attribute on the way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qx::xml;
  Reader r(std::string_view(reinterpret_cast<const char*>(data), size));
  std::string text, scratch;
  for (size_t steps = 0;; ++steps) {
    Token t = r.Next();
    if (t == Token::End || t == Token::Error) break;
    if (steps > size + 16) __builtin_trap();  // every token consumes input
    if (t == Token::Text) {
      text.clear();
      r.AppendText(&text);
    } else if (t == Token::StartElement) {
      for (const Attribute& a : r.attributes()) (void)r.Value(a, &scratch);
      if ((size & 1) && r.local() == "skip" && !r.SkipElement()) break;
    }
  }
  return 0;
}
