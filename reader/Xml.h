// A small pull tokenizer for the XML inside workbook packages.
//
// Names and texts are views into the document; nothing is allocated per
// node once the attribute list and the element stack have grown. Entities:
// only the five predefined ones and numeric character references exist. A
// DOCTYPE is skipped and its entity declarations are never honoured, so a
// reference to any other entity is an error (no expansion, no billion
// laughs). Namespaces are not resolved: callers match local names, because
// writers choose their own prefixes (x:c and c are the same cell).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::xml {

enum class Token : uint8_t {
  StartElement,  // <a ...> or <a .../>; for the latter EndElement follows
  EndElement,
  Text,          // character data or a CDATA section
  End,           // the document ended well-formed
  Error,         // see error(); every later call returns Error too
};

struct Attribute {
  std::string_view prefix;  // "" when unprefixed
  std::string_view local;
  std::string_view raw;     // value as written, entities not yet decoded
  bool plain;               // no entity or whitespace needing decoding
};

class Reader {
 public:
  // Deeper nesting than this is refused; no workbook part comes close.
  static constexpr size_t kMaxDepth = 512;

  explicit Reader(std::string_view document);

  Token Next();

  // Of the current StartElement or EndElement.
  std::string_view local() const { return local_; }
  std::string_view prefix() const { return prefix_; }
  bool selfClosing() const { return selfClosing_; }
  // Elements open around the current token; a StartElement counts itself.
  size_t depth() const { return stack_.size(); }

  // Of the current StartElement.
  const std::vector<Attribute>& attributes() const { return attrs_; }
  // First attribute with this local name (any prefix), or null.
  const Attribute* Find(std::string_view local) const;
  // Same with a given prefix.
  const Attribute* Find(std::string_view prefix, std::string_view local) const;
  // The attribute's value, decoded when needed; `scratch` holds it then.
  std::string_view Value(const Attribute& a, std::string* scratch) const;

  // Of the current Text token: appends the decoded text.
  void AppendText(std::string* out) const;
  std::string_view rawText() const { return text_; }
  bool textPlain() const { return textPlain_; }

  // After a StartElement: skips to its EndElement (consumed).
  bool SkipElement();

  const std::string& error() const { return error_; }
  size_t offset() const { return pos_; }

 private:
  Token Fail(const char* message);
  bool ParseStartTag();
  bool CheckEntities(std::string_view s);

  std::string_view doc_;
  size_t pos_ = 0;
  bool pendingEnd_ = false;  // a self-closing element still owes its EndElement
  bool popPending_ = false;  // the element just ended leaves the stack on the next call
  bool failed_ = false;
  bool selfClosing_ = false;
  bool textPlain_ = true;
  std::string_view local_, prefix_, text_;
  std::vector<Attribute> attrs_;
  std::vector<std::string_view> stack_;  // qualified names of open elements
  std::string error_;
};

// Decodes entities and character references of raw text (normalising line
// ends to '\n'); with `attribute`, whitespace characters become spaces as
// XML asks for attribute values. The input was checked by the Reader.
void AppendDecoded(std::string_view raw, bool attribute, std::string* out);

}  // namespace qx::xml
