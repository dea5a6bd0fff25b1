// A word-wrapping body box and a line of thousands of row prefixes, as a
// stray value far below a bank converts: the box takes it whole, breaks it
// after the prefixes' colons, and still moves the caret, selects, replaces,
// undoes and reports changes as it does for any text.
#include "WindowTestSupport.h"

#include "TestSupport.h"
#include "runtime/HelperTable.h"
#include "ui/EditWordBreak_win.h"
#include "ui/Properties.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

using namespace test;

constexpr int32_t kContent = 8, kMaxLength = 14, kSelStart = 24, kSelLength = 25, kSelectedText = 26;

std::string Prefixes(int from, int to) {
  std::string s;
  for (int i = from; i < to; ++i) s += std::to_string(i) + ":";
  return s;
}

// The converter's text of a few question rows and one stray value 3,000
// rows further down: one line of some 14 KB with no space in it.
std::string Head() {
  std::string s;
  for (int r = 0; r < 40; ++r) s += std::to_string(r) + ":单选题\r\n第" + std::to_string(r) + "题的题目\r\nA\r\n";
  return s;
}
const std::string kLongLine = Prefixes(40, 3040) + "最后一格\r\n";

int Chars(const std::string& s) {
  return MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
}

// The body box as the converter's window has it, its change event bound.
WindowTemplate BodyWindow() {
  WindowTemplate w;
  w.id = kTestWindow;
  w.records.push_back(Record(kSelf, 0x00010001, 0, 0, 960, 776, kUnitVisible, WindowBlock("长行")));
  EditBoxSettings body;
  body.multiLine = true;
  body.scrollBars = 2;
  w.records.push_back(Record(kBody, 0x00010005, 0, 8, 424, 728, kUnitVisible | kUnitTabStop,
                             WriteEditBoxSettings(body), {Bind(0, 4)}));
  return w;
}

class LongLineBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartWithWindow({BodyWindow()}));
    Pump();
    box = Hwnd(kBody);
    ASSERT_NE(nullptr, box);
    EventLog().clear();
  }
  void TearDown() override { StopRuntime(); }

  static int Changes() {
    int n = 0;
    for (const std::string& e : EventLog()) n += e == "h4";
    return n;
  }
  static std::string Read(int32_t property) {
    TaggedValue v = GetUnitProperty(kTestWindow, kBody, property, -1);
    return TakeText(v);
  }
  static void Write(int32_t property, const std::string& text) {
    TaggedValue v;
    SetValuePointer(&v, text.c_str(), kTagText);
    SetUnitProperty(kTestWindow, kBody, property, -1, v.lo, v.hi);
  }
  static void WriteInt(int32_t property, int32_t value) {
    SetUnitProperty(kTestWindow, kBody, property, -1, static_cast<uint32_t>(value), 0);
  }
  void Append(const std::string& text) {
    TaggedValue args[] = {{kTestWindow, kBody, kTagEditBox}, test::Text(text.c_str())};
    HelperTable().callCoreCommand(AppendText, 2, args);
  }
  std::pair<int, int> Selection() const {
    DWORD start = 0, end = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
  int Line(int position) const { return static_cast<int>(SendMessageA(box, EM_LINEFROMCHAR, position, 0)); }
  int LineStart(int line) const { return static_cast<int>(SendMessageA(box, EM_LINEINDEX, line, 0)); }
  std::string LineText(int line) const {
    char buffer[2048];
    *reinterpret_cast<WORD*>(buffer) = sizeof buffer - 1;
    LRESULT n = SendMessageA(box, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, static_cast<size_t>(n));
  }
  int Width(const std::string& s) const {
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return size.cx;
  }
  void Key(UINT key) {
    PostMessageA(box, WM_KEYDOWN, key, 1);
    PostMessageA(box, WM_KEYUP, key, 0xC0000001);
    Pump();
  }

  HWND box = nullptr;
};

TEST_F(LongLineBoxTest, TheBoxTakesTheLongLineWholeAndBreaksItAfterFullRowPrefixes) {
  const std::string text = Head() + kLongLine;
  const LONG_PTR style = GetWindowLongPtrA(box, GWL_STYLE);
  Write(kContent, text);
  EXPECT_EQ(1, Changes());
  EXPECT_EQ(text, Read(kContent));
  EXPECT_EQ(style, GetWindowLongPtrA(box, GWL_STYLE)) << "the box's styles are its own again";
  // As one WM_SETTEXT leaves a box: at the top, unmodified, nothing to undo.
  EXPECT_EQ(std::make_pair(0, 0), Selection());
  EXPECT_EQ(0, SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_FALSE(SendMessageA(box, EM_GETMODIFY, 0, 0));
  EXPECT_FALSE(SendMessageA(box, EM_CANUNDO, 0, 0));

  const int lines = static_cast<int>(SendMessageA(box, EM_GETLINECOUNT, 0, 0));
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE;
  GetScrollInfo(box, SB_VERT, &si);
  EXPECT_EQ(lines - 1, si.nMax) << "the scroll bar knows every line";
  RECT format;
  SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int first = Line(Chars(Head())), last = Line(Chars(text) - 1);
  ASSERT_GT(last - first, 100);
  for (int l = first; l < last - 1; ++l) {
    std::string line = LineText(l), next = LineText(l + 1);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(':', line.back()) << "line " << l << ": " << line;
    EXPECT_LE(Width(line), format.right - format.left) << line;
    // Full: the next prefix would not have fitted.
    std::string more = line + next.substr(0, next.find(':') + 1);
    EXPECT_GT(Width(more), format.right - format.left) << line;
  }
}

TEST_F(LongLineBoxTest, AppendingTheLongLineReportsOneChangeAndLeavesTheCaretAfterIt) {
  Write(kContent, Head());
  EventLog().clear();
  Append(kLongLine);
  EXPECT_EQ(1, Changes());
  EXPECT_EQ(Head() + kLongLine, Read(kContent));
  const int end = Chars(Head() + kLongLine);
  EXPECT_EQ(std::make_pair(end, end), Selection());
  EXPECT_GT(SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "scrolled to the caret";
}

TEST_F(LongLineBoxTest, TheCaretMovesAndSelectionsAndReplacementsWorkOnTheLongLine) {
  const std::string text = Head() + kLongLine;
  Write(kContent, text);
  SetFocus(box);
  const int at = Chars(Head() + Prefixes(40, 1000)) + 2;  // inside "1000:"
  SendMessageA(box, EM_SETSEL, at, at);
  const int line = Line(at);
  Key(VK_END);
  int caret = Selection().second;
  EXPECT_EQ(LineStart(line + 1), caret) << "the end of a wrapped line is the next one's start";
  EXPECT_EQ(':', LineText(line).back());
  Key(VK_DOWN);
  caret = Selection().second;
  EXPECT_GT(caret, LineStart(line + 1));
  EXPECT_LE(caret, LineStart(line + 2)) << "on the next line, or at its end";
  Key(VK_HOME);
  EXPECT_EQ(LineStart(line + 1), Selection().second);
  Key(VK_RIGHT);
  EXPECT_EQ(LineStart(line + 1) + 1, Selection().second);

  // Selected by the box's properties, across a wrap.
  WriteInt(kSelStart, Chars(Head() + Prefixes(40, 1000)));
  WriteInt(kSelLength, 200);
  EXPECT_EQ(Prefixes(1000, 1040), Read(kSelectedText));
  EXPECT_LT(Line(Selection().first), Line(Selection().second));

  // A long replacement of a selection near the line's end (the box lays
  // out again all of the line after a change): one change, undone whole.
  EventLog().clear();
  WriteInt(kSelStart, Chars(Head() + Prefixes(40, 2900)));
  WriteInt(kSelLength, 100);
  const std::string replacement = Prefixes(9000, 9600);
  ASSERT_GT(replacement.size(), 2048u);
  Write(kSelectedText, replacement);
  EXPECT_EQ(1, Changes());
  std::string expected = text;
  expected.replace(Head().size() + Prefixes(40, 2900).size(), 100, replacement);
  EXPECT_EQ(expected, Read(kContent));
  ASSERT_TRUE(SendMessageA(box, EM_CANUNDO, 0, 0));
  SendMessageA(box, EM_UNDO, 0, 0);
  EXPECT_EQ(text, Read(kContent));
}

TEST_F(LongLineBoxTest, AWholeWriteIgnoresTheLengthLimitAndAnAppendStopsAtIt) {
  WriteInt(kMaxLength, 3000);
  const std::string text = Head() + kLongLine;
  Write(kContent, text);
  EXPECT_EQ(text, Read(kContent));
  EXPECT_EQ(3000, SendMessageA(box, EM_GETLIMITTEXT, 0, 0));
  Write(kContent, "");
  Append(kLongLine);
  EXPECT_EQ(kLongLine.substr(0, 3000), Read(kContent));
}

// The procedure answers in the box's own count of positions: characters
// (Wine) or bytes (an ANSI box on Windows); the answers are the same places.
TEST(RowPrefixWordBreak, AnswersTheSamePlacesInCharactersAndInBytes) {
  const std::string text = "题目 300:301:302:";  // two two-byte characters first
  const int count = static_cast<int>(text.size());
  auto bytes = [](int chars) { return chars < 2 ? 2 * chars : chars + 2; };
  // In characters: the space at 2, the prefixes from 3; breaks after the
  // space (3) and after "300:" (7) and "301:" (11).
  EXPECT_EQ(11, RowPrefixWordBreak(text.data(), 14, count, WB_LEFT, true));
  EXPECT_EQ(7, RowPrefixWordBreak(text.data(), 11, count, WB_LEFT, true));
  EXPECT_EQ(3, RowPrefixWordBreak(text.data(), 7, count, WB_LEFT, true));
  EXPECT_EQ(11, RowPrefixWordBreak(text.data(), 8, count, WB_RIGHT, true));
  EXPECT_TRUE(RowPrefixWordBreak(text.data(), 2, count, WB_ISDELIMITER, true));
  EXPECT_FALSE(RowPrefixWordBreak(text.data(), 4, count, WB_ISDELIMITER, true));
  for (int c = 0; c <= 15; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(bytes(RowPrefixWordBreak(text.data(), c, count, WB_LEFT, true)),
              RowPrefixWordBreak(text.data(), bytes(c), count, WB_LEFT, false));
    EXPECT_EQ(bytes(RowPrefixWordBreak(text.data(), c, count, WB_RIGHT, true)),
              RowPrefixWordBreak(text.data(), bytes(c), count, WB_RIGHT, false));
  }
  EXPECT_EQ(0, RowPrefixWordBreak(text.data(), 5, 0, WB_LEFT, true));
}

}  // namespace
}  // namespace qx
