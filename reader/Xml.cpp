#include "reader/Xml.h"

#include <cstring>

#include "reader/Gbk.h"

namespace qx::xml {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsNameEnd(char c) { return IsSpace(c) || c == '>' || c == '/' || c == '=' || c == '<'; }

void SplitName(std::string_view qname, std::string_view* prefix, std::string_view* local) {
  size_t colon = qname.find(':');
  if (colon == std::string_view::npos) {
    *prefix = {};
    *local = qname;
  } else {
    *prefix = qname.substr(0, colon);
    *local = qname.substr(colon + 1);
  }
}


// Parses the reference that starts at s[0] == '&'. Returns its length
// (through ';') and the character, or 0 when it is no predefined entity or
// valid character reference.
size_t ParseReference(std::string_view s, uint32_t* cp) {
  size_t semi = s.find(';', 1);
  if (semi == std::string_view::npos || semi > 12) return 0;
  std::string_view name = s.substr(1, semi - 1);
  if (name == "lt") {
    *cp = '<';
  } else if (name == "gt") {
    *cp = '>';
  } else if (name == "amp") {
    *cp = '&';
  } else if (name == "quot") {
    *cp = '"';
  } else if (name == "apos") {
    *cp = '\'';
  } else if (name.size() >= 2 && name[0] == '#') {
    bool hex = name[1] == 'x';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    uint32_t v = 0;
    for (char c : digits) {
      uint32_t d;
      if (c >= '0' && c <= '9') {
        d = static_cast<uint32_t>(c - '0');
      } else if (hex && c >= 'a' && c <= 'f') {
        d = static_cast<uint32_t>(c - 'a' + 10);
      } else if (hex && c >= 'A' && c <= 'F') {
        d = static_cast<uint32_t>(c - 'A' + 10);
      } else {
        return 0;
      }
      v = v * (hex ? 16 : 10) + d;
      if (v > 0x10FFFF) return 0;
    }
    if (v == 0 || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *cp = v;
  } else {
    return 0;
  }
  return semi + 1;
}

}  // namespace

void AppendDecoded(std::string_view raw, bool attribute, std::string* out) {
  size_t i = 0, n = raw.size();
  while (i < n) {
    // Copy the run up to the next character that needs attention.
    size_t j = i;
    while (j < n && raw[j] != '&' && raw[j] != '\r' && !(attribute && (raw[j] == '\n' || raw[j] == '\t'))) {
      ++j;
    }
    out->append(raw.data() + i, j - i);
    if (j == n) break;
    char c = raw[j];
    if (c == '&') {
      uint32_t cp = 0;
      size_t len = ParseReference(raw.substr(j), &cp);
      if (len == 0) {  // the Reader refused these already; keep it literal
        out->push_back('&');
        i = j + 1;
      } else {
        gbk::AppendUtf8(cp, out);
        i = j + len;
      }
    } else if (c == '\r') {
      out->push_back(attribute ? ' ' : '\n');
      i = j + 1;
      if (i < n && raw[i] == '\n') ++i;
    } else {
      out->push_back(' ');
      i = j + 1;
    }
  }
}

Reader::Reader(std::string_view document) : doc_(document) {
  // A UTF-8 byte order mark is allowed before the declaration.
  if (doc_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  attrs_.reserve(16);
  stack_.reserve(32);
}

Token Reader::Fail(const char* message) {
  failed_ = true;
  error_ = message;
  return Token::Error;
}

bool Reader::CheckEntities(std::string_view s) {
  size_t at = 0;
  while ((at = s.find('&', at)) != std::string_view::npos) {
    uint32_t cp;
    size_t len = ParseReference(s.substr(at), &cp);
    if (len == 0) return false;
    at += len;
  }
  return true;
}

const Attribute* Reader::Find(std::string_view local) const {
  for (const Attribute& a : attrs_) {
    if (a.local == local) return &a;
  }
  return nullptr;
}

const Attribute* Reader::Find(std::string_view prefix, std::string_view local) const {
  for (const Attribute& a : attrs_) {
    if (a.local == local && a.prefix == prefix) return &a;
  }
  return nullptr;
}

std::string_view Reader::Value(const Attribute& a, std::string* scratch) const {
  if (a.plain) return a.raw;
  scratch->clear();
  AppendDecoded(a.raw, true, scratch);
  return *scratch;
}

void Reader::AppendText(std::string* out) const {
  if (textPlain_) {
    out->append(text_.data(), text_.size());
  } else {
    AppendDecoded(text_, false, out);
  }
}

bool Reader::ParseStartTag() {
  const size_t n = doc_.size();
  size_t p = pos_ + 1;
  size_t nameStart = p;
  while (p < n && !IsNameEnd(doc_[p])) ++p;
  if (p == nameStart || p >= n) {
    Fail(p >= n ? "XML 文档不完整" : "XML 格式错误：元素名无效");
    return false;
  }
  std::string_view qname = doc_.substr(nameStart, p - nameStart);
  SplitName(qname, &prefix_, &local_);
  attrs_.clear();
  selfClosing_ = false;
  for (;;) {
    while (p < n && IsSpace(doc_[p])) ++p;
    if (p >= n) {
      Fail("XML 文档不完整");
      return false;
    }
    char c = doc_[p];
    if (c == '>') {
      ++p;
      break;
    }
    if (c == '/') {
      if (p + 1 < n && doc_[p + 1] == '>') {
        selfClosing_ = true;
        p += 2;
        break;
      }
      Fail("XML 格式错误：标签无效");
      return false;
    }
    size_t attrStart = p;
    while (p < n && !IsNameEnd(doc_[p])) ++p;
    if (p == attrStart) {
      Fail("XML 格式错误：属性无效");
      return false;
    }
    std::string_view attrName = doc_.substr(attrStart, p - attrStart);
    while (p < n && IsSpace(doc_[p])) ++p;
    if (p >= n || doc_[p] != '=') {
      Fail("XML 格式错误：属性缺少值");
      return false;
    }
    ++p;
    while (p < n && IsSpace(doc_[p])) ++p;
    if (p >= n || (doc_[p] != '"' && doc_[p] != '\'')) {
      Fail("XML 格式错误：属性值缺少引号");
      return false;
    }
    char quote = doc_[p++];
    const void* close = std::memchr(doc_.data() + p, quote, n - p);
    if (!close) {
      Fail("XML 文档不完整");
      return false;
    }
    size_t valueEnd = static_cast<const char*>(close) - doc_.data();
    Attribute a;
    SplitName(attrName, &a.prefix, &a.local);
    a.raw = doc_.substr(p, valueEnd - p);
    a.plain = true;
    for (char v : a.raw) {
      if (v == '&' || v == '\r' || v == '\n' || v == '\t') {
        a.plain = false;
      } else if (v == '<') {
        Fail("XML 格式错误：属性值中有“<”");
        return false;
      }
    }
    if (!a.plain && !CheckEntities(a.raw)) {
      Fail("XML 中有未定义的实体引用（不会展开）");
      return false;
    }
    attrs_.push_back(a);
    p = valueEnd + 1;
  }
  if (stack_.size() >= kMaxDepth) {
    Fail("XML 嵌套太深");
    return false;
  }
  stack_.push_back(qname);
  pendingEnd_ = selfClosing_;
  pos_ = p;
  return true;
}

Token Reader::Next() {
  if (failed_) return Token::Error;
  if (popPending_) {
    stack_.pop_back();
    popPending_ = false;
  }
  if (pendingEnd_) {
    pendingEnd_ = false;
    popPending_ = true;
    return Token::EndElement;
  }
  const size_t n = doc_.size();
  for (;;) {
    if (pos_ >= n) {
      if (!stack_.empty()) return Fail("XML 文档不完整");
      return Token::End;
    }
    const char* base = doc_.data();
    if (base[pos_] != '<') {
      const void* lt = std::memchr(base + pos_, '<', n - pos_);
      size_t end = lt ? static_cast<const char*>(lt) - base : n;
      text_ = doc_.substr(pos_, end - pos_);
      pos_ = end;
      bool amp = std::memchr(text_.data(), '&', text_.size()) != nullptr;
      if (amp && !CheckEntities(text_)) return Fail("XML 中有未定义的实体引用（不会展开）");
      textPlain_ = !amp && std::memchr(text_.data(), '\r', text_.size()) == nullptr;
      return Token::Text;
    }
    std::string_view rest = doc_.substr(pos_);
    if (rest.size() < 2) return Fail("XML 文档不完整");
    char c = rest[1];
    if (c == '?') {
      size_t end = rest.find("?>", 2);
      if (end == std::string_view::npos) return Fail("XML 文档不完整");
      pos_ += end + 2;
      continue;
    }
    if (c == '!') {
      if (rest.substr(0, 4) == "<!--") {
        size_t end = rest.find("-->", 4);
        if (end == std::string_view::npos) return Fail("XML 文档不完整");
        pos_ += end + 3;
        continue;
      }
      if (rest.substr(0, 9) == "<![CDATA[") {
        size_t end = rest.find("]]>", 9);
        if (end == std::string_view::npos) return Fail("XML 文档不完整");
        text_ = rest.substr(9, end - 9);
        textPlain_ = true;
        pos_ += end + 3;
        return Token::Text;
      }
      if (rest.substr(0, 9) == "<!DOCTYPE") {
        // Skipped whole, internal subset included: its declarations are
        // never honoured.
        size_t p = 9, bracket = 0;
        char quote = 0;
        for (; p < rest.size(); ++p) {
          char d = rest[p];
          if (quote) {
            if (d == quote) quote = 0;
          } else if (d == '"' || d == '\'') {
            quote = d;
          } else if (d == '[') {
            ++bracket;
          } else if (d == ']') {
            if (bracket) --bracket;
          } else if (d == '>' && bracket == 0) {
            break;
          }
        }
        if (p >= rest.size()) return Fail("XML 文档不完整");
        pos_ += p + 1;
        continue;
      }
      return Fail("XML 格式错误：无法识别的“<!”");
    }
    if (c == '/') {
      size_t p = 2;
      while (p < rest.size() && !IsNameEnd(rest[p])) ++p;
      std::string_view qname = rest.substr(2, p - 2);
      while (p < rest.size() && IsSpace(rest[p])) ++p;
      if (p >= rest.size()) return Fail("XML 文档不完整");
      if (rest[p] != '>') return Fail("XML 格式错误：结束标签无效");
      if (stack_.empty() || stack_.back() != qname) return Fail("XML 格式错误：结束标签与开始标签不匹配");
      SplitName(qname, &prefix_, &local_);
      selfClosing_ = false;
      pos_ += p + 1;
      popPending_ = true;
      return Token::EndElement;
    }
    if (!ParseStartTag()) return Token::Error;
    return Token::StartElement;
  }
}

bool Reader::SkipElement() {
  size_t depth = stack_.size();
  for (;;) {
    Token t = Next();
    if (t == Token::Error) return false;
    if (t == Token::End) return false;
    if (t == Token::EndElement && stack_.size() == depth) return true;
  }
}

}  // namespace qx::xml
