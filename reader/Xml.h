// A small pull tokenizer for the XML inside workbook packages.
//
// The document is either whole in memory or read from a Source through a
// window that holds the token being read (a sheet part inflates to many
// megabytes; the window stays near its initial size). Names and texts are
// views into the document or the window, valid until the next call of
// Next(); nothing is allocated per node once the buffers have grown. Entities:
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

// Where a streamed document comes from.
class Source {
 public:
  virtual ~Source() = default;
  // Puts up to `room` (> 0) bytes into dst and sets *got to how many; 0
  // means the document ended. False, with *error set, when reading failed.
  // An archive member inflates straight into dst: the window is the only
  // copy of the document there is.
  virtual bool Read(char* dst, size_t room, size_t* got, std::string* error) = 0;
};

class Reader {
 public:
  // Deeper nesting than this is refused; no workbook part comes close.
  static constexpr size_t kMaxDepth = 512;
  // The window's initial size; it grows only for a token that does not fit.
  static constexpr size_t kDefaultWindow = 64 * 1024;

  explicit Reader(std::string_view document);
  // The source must outlive the reader. Tokens come out exactly as they
  // would from the whole document, whatever the window's size.
  explicit Reader(Source* source, size_t window = kDefaultWindow);

  Token Next();

  // Of the current StartElement or EndElement.
  std::string_view local() const { return local_; }
  std::string_view prefix() const { return prefix_; }
  bool selfClosing() const { return selfClosing_; }
  // Elements open around the current token; a StartElement counts itself.
  size_t depth() const { return stackEnds_.size(); }

  // Of the current StartElement.
  const std::vector<Attribute>& attributes() const { return attrs_; }
  // First attribute with this local name (any prefix), or null.
  const Attribute* Find(std::string_view local) const {
    for (const Attribute& a : attrs_) {
      if (a.local == local) return &a;
    }
    return nullptr;
  }
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

  // For a caller that reads a construct of its own straight from the
  // bytes (a sheet's cells, thousands alike): the bytes read but not yet
  // consumed, from where the next token would start, valid until the next
  // call. Empty when a token is still owed (a self-closing element's end)
  // or reading failed; short at the end of the window, which only Next()
  // moves on.
  std::string_view Ahead();
  // Consumes the first n bytes of Ahead(). They must be whole elements and
  // text, balanced, checked as Next() would have checked them (nothing it
  // would refuse) and no deeper than kMaxDepth with the elements open.
  void Skip(size_t n) { pos_ += n; }

  const std::string& error() const { return error_; }
  // Bytes of the document consumed so far.
  uint64_t offset() const { return base_ + pos_; }

 private:
  enum class Parse { Done, Error, More };

  Token Fail(const char* message);
  Parse ParseStartTag();
  // The text from pos_ to the next '<' (or the real end), decoded as it
  // is scanned when it is not plain.
  Parse ReadText();
  // Keeps the unfinished token, makes room and reads on; false when the
  // source failed.
  bool Refill();
  std::string_view TopName() const {
    const size_t n = stackEnds_.size();
    const size_t begin = n > 1 ? stackEnds_[n - 2] : 0;
    return std::string_view(stackNames_).substr(begin, stackEnds_[n - 1] - begin);
  }

  std::string_view doc_;  // the document, or the filled part of the window
  size_t pos_ = 0;        // into doc_
  uint64_t base_ = 0;     // document offset of doc_[0]
  Source* source_ = nullptr;
  std::string window_;
  bool eof_ = true;       // doc_ runs to the end of the document
  bool started_ = false;
  bool pendingEnd_ = false;  // a self-closing element still owes its EndElement
  bool popPending_ = false;  // the element just ended leaves the stack on the next call
  bool failed_ = false;
  bool selfClosing_ = false;
  bool textPlain_ = true;
  std::string_view local_, prefix_, text_;
  // text_ decoded when it is not plain, in the first decodedSize_ bytes.
  std::string decoded_;
  size_t decodedSize_ = 0;
  std::vector<Attribute> attrs_;
  // Qualified names of open elements, back to back up to
  // stackEnds_.back(): the window moves on beneath them.
  std::string stackNames_;
  std::vector<size_t> stackEnds_;
  std::string error_;
};

// Decodes character data from p up to the first '<' (an element's text up
// to its end tag) into out, which has room for end - p bytes: references
// become their characters, line ends '\n'. *stop is the '<' (end when
// none comes), *marked whether the decoded text holds `mark` (a byte other
// than '<', '&' and CR that the caller looks for). Returns the size
// decoded, or npos for a '&' that starts no reference the Reader takes.
size_t DecodeText(const char* p, const char* end, char* out, char mark, const char** stop, bool* marked);

// Decodes entities and character references of raw text (normalising line
// ends to '\n'); with `attribute`, whitespace characters become spaces as
// XML asks for attribute values. The input was checked by the Reader.
void AppendDecoded(std::string_view raw, bool attribute, std::string* out);

}  // namespace qx::xml
