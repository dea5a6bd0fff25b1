#include <gtest/gtest.h>

#include <algorithm>

#include "reader/Xml.h"

namespace qx::xml {
namespace {

// Flattens a document into "<name attr=value>", "text", "</name>" tokens.
std::string Trace(Reader& r) {
  std::string out, scratch;
  for (;;) {
    Token t = r.Next();
    switch (t) {
      case Token::StartElement:
        out += "<" + std::string(r.local());
        for (const Attribute& a : r.attributes()) {
          out += " " + std::string(a.local) + "=" + std::string(r.Value(a, &scratch));
        }
        out += ">";
        break;
      case Token::EndElement:
        out += "</" + std::string(r.local()) + ">";
        break;
      case Token::Text:
        r.AppendText(&out);
        break;
      case Token::End:
        return out;
      case Token::Error:
        return out + "!" + r.error();
    }
  }
}

std::string Trace(std::string_view doc) {
  Reader r(doc);
  return Trace(r);
}

// Hands a document out a few bytes at a time, then fails if told to.
class PieceSource : public Source {
 public:
  PieceSource(std::string_view doc, size_t piece, bool failAtEnd = false)
      : doc_(doc), piece_(piece), failAtEnd_(failAtEnd) {}
  bool Read(char* dst, size_t room, size_t* got, std::string* error) override {
    *got = std::min({room, piece_, doc_.size() - at_});
    if (*got == 0 && failAtEnd_) {
      *error = "source broke";
      return false;
    }
    doc_.copy(dst, *got, at_);
    at_ += *got;
    return true;
  }

 private:
  std::string_view doc_;
  size_t piece_, at_ = 0;
  bool failAtEnd_;
};

bool Fails(std::string_view doc) { return Trace(doc).find('!') != std::string::npos; }

TEST(Xml, TokenizesElementsAttributesAndText) {
  EXPECT_EQ(Trace("<?xml version=\"1.0\"?><a x='1' y=\"two\"><b/>text<c>more</c></a>"),
            "<a x=1 y=two><b></b>text<c>more</c></a>");
}

TEST(Xml, MatchesLocalNamesWhateverThePrefix) {
  Reader r("<x:worksheet xmlns:x='urn'><x:c r:id='7' x:r='A1'/></x:worksheet>");
  ASSERT_EQ(r.Next(), Token::StartElement);
  EXPECT_EQ(r.local(), "worksheet");
  EXPECT_EQ(r.prefix(), "x");
  ASSERT_EQ(r.Next(), Token::StartElement);
  EXPECT_EQ(r.local(), "c");
  EXPECT_TRUE(r.selfClosing());
  EXPECT_EQ(r.depth(), 2u);
  ASSERT_NE(r.Find("r"), nullptr);
  EXPECT_EQ(r.Find("r")->raw, "A1");
  EXPECT_EQ(r.Find("r", "id")->raw, "7");
  EXPECT_EQ(r.Next(), Token::EndElement);
  EXPECT_EQ(r.depth(), 2u);  // the end of an element reports its own depth
  EXPECT_EQ(r.Next(), Token::EndElement);
  EXPECT_EQ(r.Next(), Token::End);
}

TEST(Xml, DecodesPredefinedAndNumericReferences) {
  EXPECT_EQ(Trace("<a v='&lt;&amp;&#x4E2D;'>&lt;b&gt; &quot;&apos; &#20013;&#x1F600;</a>"),
            "<a v=<&中><b> \"' 中😀</a>");
  // Line ends become '\n'; in attributes whitespace becomes spaces.
  EXPECT_EQ(Trace("<a v='1\r\n2\t3'>x\r\ny\rz</a>"), "<a v=1 2 3>x\ny\nz</a>");
  EXPECT_EQ(Trace("<a v='&#10;'/>"), "<a v=\n></a>");
}

TEST(Xml, CdataIsRawAndCommentsAreSkipped) {
  EXPECT_EQ(Trace("<a><!-- <b> --><![CDATA[<b>&amp;]]><?pi stuff?></a>"), "<a><b>&amp;</a>");
}

TEST(Xml, NeverExpandsDeclaredEntities) {
  // The DOCTYPE is skipped; its entities do not exist.
  EXPECT_TRUE(Fails("<!DOCTYPE a [<!ENTITY x 'boom'>]><a>&x;</a>"));
  EXPECT_TRUE(Fails("<!DOCTYPE a [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><a v='&x;'/>"));
  std::string laughs =
      "<!DOCTYPE l [<!ENTITY a 'lol'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>"
      "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;'>]><l>&c;</l>";
  EXPECT_TRUE(Fails(laughs));
  // Without references the DOCTYPE is harmless.
  EXPECT_EQ(Trace("<!DOCTYPE a [<!ENTITY x '>'>]><a>ok</a>"), "<a>ok</a>");
  EXPECT_TRUE(Fails("<a>&nbsp;</a>"));
  EXPECT_TRUE(Fails("<a>&#0;</a>"));
  EXPECT_TRUE(Fails("<a>&#xD800;</a>"));
  EXPECT_TRUE(Fails("<a>& b</a>"));
}

TEST(Xml, MalformedDocumentsAreErrors) {
  EXPECT_TRUE(Fails("<a><b></a></b>"));
  EXPECT_TRUE(Fails("<a>"));
  EXPECT_TRUE(Fails("<a x=1/>"));
  EXPECT_TRUE(Fails("<a x='1/>"));
  EXPECT_TRUE(Fails("<a><!-- open"));
  EXPECT_TRUE(Fails("<a><![CDATA[ open</a>"));
  EXPECT_TRUE(Fails("</a>"));
  EXPECT_TRUE(Fails("<>"));
  EXPECT_TRUE(Fails("<a x='<'/>"));
  std::string deep;
  for (int i = 0; i < 600; ++i) deep += "<d>";
  EXPECT_TRUE(Fails(deep));
}

TEST(Xml, SkipElementSkipsTheSubtree) {
  Reader r("<r><skip><x><y/></x>t</skip><keep/></r>");
  ASSERT_EQ(r.Next(), Token::StartElement);
  ASSERT_EQ(r.Next(), Token::StartElement);
  ASSERT_TRUE(r.SkipElement());
  ASSERT_EQ(r.Next(), Token::StartElement);
  EXPECT_EQ(r.local(), "keep");
}

TEST(Xml, EveryPrefixOfADocumentFailsOrEndsCleanly) {
  std::string doc = "<?xml version='1.0'?><!DOCTYPE x><a b='1&amp;'><!--c--><d>t&#65;<![CDATA[z]]></d></a>";
  for (size_t cut = 0; cut < doc.size(); ++cut) {
    Reader r(std::string_view(doc).substr(0, cut));
    Token t;
    int guard = 0;
    do {
      t = r.Next();
    } while (t != Token::End && t != Token::Error && ++guard < 100);
    EXPECT_LT(guard, 100);
  }
}

// Streamed through a window of any size, fed in pieces of any size, a
// document gives the tokens and errors it gives whole: every token, name,
// reference, CR LF pair and multi-byte character is cut somewhere here.
TEST(Xml, StreamedDocumentsReadAsWholeOnes) {
  const std::string docs[] = {
      "\xEF\xBB\xBF<?xml version='1.0'?><!DOCTYPE a [<!ENTITY x '>'>]><x:a p:b='1&amp;2' c=\"&#x4E2D;\r\n\">"
      "<!-- c --><d>t&#65;&#20013;&#x1F600;中文&lt;&gt;&quot;&apos;\r\nz\r</d><![CDATA[<b>&amp;]]><e/></x:a>",
      "<a><b>&#00000000065;</b></a>",  // too long a reference
      "<a>&#19968;&#40869;&#9;&#12289;</a>",
      "<a>&#xD800;</a>",
      "<a><b></a></b>",
      "<a x='<'/>",
      "<a x='1/>",
      "<a><!- x --></a>",
      "<a></a  >trailing",
  };
  for (const std::string& doc : docs) {
    for (size_t cut = 0; cut <= doc.size(); ++cut) {
      std::string_view part = std::string_view(doc).substr(0, cut);
      const std::string whole = Trace(part);
      for (size_t window : {1, 2, 3, 5, 8, 13}) {
        PieceSource source(part, window % 4 + 1);
        Reader r(&source, window);
        ASSERT_EQ(Trace(r), whole) << "document " << part << ", window " << window;
      }
    }
  }
}

// DecodeText against the tokenizer's own decoding of the same text: the
// references it takes in eight-byte steps (four and five digits) and the
// ones it leaves to the general parse, runs longer than a vector step, and
// where it stops.
std::string Decoded(std::string_view text, bool* marked, size_t* stopAt) {
  std::string out(text.size(), '\0');
  const char* stop = nullptr;
  const size_t n = DecodeText(text.data(), text.data() + text.size(), out.data(), '_', &stop, marked);
  *stopAt = static_cast<size_t>(stop - text.data());
  return n == std::string_view::npos ? "!" : out.substr(0, n);
}

TEST(Xml, DecodeTextGivesWhatTheTokenizerGives) {
  const std::string texts[] = {
      "&#39064;&#22411;&#12289;",   // five digits, and four
      "&#9;&#65;&#00065;&#128512;",  // below three UTF-8 bytes, leading zeros, beyond the BMP
      "&#x4E2D;&lt;&gt;&amp;&quot;&apos;",
      "a run longer than sixteen bytes, 中文 and more: 0123456789abcdef&#20013;tail",
      "line\r\nnext\rlast\r",
      "&#55295;&#57344;&#65535;",  // just outside the surrogates, the last of the BMP
      "",
  };
  for (const std::string& text : texts) {
    std::string expected;
    const std::string doc = "<a>" + text + "</a>";
    Reader r(doc);
    ASSERT_EQ(r.Next(), Token::StartElement);
    if (!text.empty()) {
      ASSERT_EQ(r.Next(), Token::Text) << text;
      r.AppendText(&expected);
    }
    bool marked = true;
    size_t stop = 0;
    EXPECT_EQ(Decoded(text + "</a>", &marked, &stop), expected) << text;
    EXPECT_EQ(stop, text.size()) << text;
    EXPECT_FALSE(marked) << text;
    // With no '<' the text runs to the end, and says so.
    EXPECT_EQ(Decoded(text, &marked, &stop), expected) << text;
    EXPECT_EQ(stop, text.size()) << text;
  }
  // What the tokenizer refuses: no NUL, no surrogate, no unknown entity,
  // no reference cut short.
  for (const char* bad : {"&#00000;", "&#0000;", "&#55296;", "&#57343;", "&#xDC00;", "&nbsp;", "a&#39064", "&#3906x;"}) {
    bool marked;
    size_t stop;
    EXPECT_EQ(Decoded(std::string(bad) + "<", &marked, &stop), "!") << bad;
    EXPECT_TRUE(Fails("<a>" + std::string(bad) + "</a>")) << bad;
  }
  // The mark, written or referred to, anywhere in a run.
  bool marked = false;
  size_t stop = 0;
  EXPECT_EQ(Decoded("0123456789abcdef0123_x000D_<", &marked, &stop), "0123456789abcdef0123_x000D_");
  EXPECT_TRUE(marked);
  EXPECT_EQ(Decoded("&#95;x<", &marked, &stop), "_x");
  EXPECT_TRUE(marked);
}

// A caller reading its own constructs from the bytes: Ahead shows where the
// next token starts, Skip consumes, and Next goes on from there.
TEST(Xml, AheadAndSkipHandTheBytesOver) {
  Reader r("<a><b/><c>x</c><d>y</d></a>");
  ASSERT_EQ(r.Next(), Token::StartElement);
  EXPECT_EQ(r.Ahead(), "<b/><c>x</c><d>y</d></a>");
  ASSERT_EQ(r.Next(), Token::StartElement);  // <b/>
  EXPECT_TRUE(r.Ahead().empty());            // its end is still owed
  ASSERT_EQ(r.Next(), Token::EndElement);
  EXPECT_EQ(r.depth(), 2u);
  EXPECT_EQ(r.Ahead(), "<c>x</c><d>y</d></a>");  // the ended element has left
  EXPECT_EQ(r.depth(), 1u);
  r.Skip(8);
  ASSERT_EQ(r.Next(), Token::StartElement);
  EXPECT_EQ(r.local(), "d");
  EXPECT_EQ(Trace(r), "y</d></a>");
}

TEST(Xml, AFailingSourceIsAnError) {
  PieceSource source("<a><b>text</b>", 3, true);
  Reader r(&source, 4);
  EXPECT_EQ(Trace(r), "<a><b>text</b>!source broke");
}

}  // namespace
}  // namespace qx::xml
