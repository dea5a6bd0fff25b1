// The drop target control on a real window: its IDropTarget called with a
// data object carrying the system's formats, and one real drag in-process.
#include "WindowTestSupport.h"
#include "DataObject_win.h"
#include "Driver.h"
#include "OleSession_win.h"

#include <ole2.h>
#include <algorithm>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/HelperTable.h"
#include "ui/DragDropLibrary_win.h"
#include "ui/DropTargetObject_win.h"
#include "ui/Properties.h"

namespace qx {
namespace {

using namespace test;

constexpr uint32_t kDrop = 0x160100D7;

struct Got {
  int event;
  std::string text;
};
std::vector<Got>& Received() {
  static std::vector<Got> got;
  return got;
}

template <int Event>
void Keep(TaggedValue*, int32_t n, const uintptr_t* words) {
  // The argument is the address of a text variable.
  const char* text = n >= 1 ? *reinterpret_cast<char* const*>(words[0]) : nullptr;
  Received().push_back({Event, text ? text : ""});
}

UINT UrlFormat() { return RegisterClipboardFormatA("UniformResourceLocator"); }
UINT HtmlFormat() { return RegisterClipboardFormatA("HTML Format"); }

class DropTargetTest : public ::testing::Test {
 protected:
  OleSession ole_;
  void SetUp() override {
    ASSERT_TRUE(ole_.ok());
    Received().clear();
    JobOf(4) = Keep<0>;
    JobOf(5) = Keep<1>;
    JobOf(6) = Keep<2>;
    JobOf(7) = Keep<3>;
  }
  void Start(DropTargetSettings accept) {
    WindowTemplate w = SmallWindow();
    w.records.push_back(Record(kDrop, kTagDropTarget, 616, 688, 32, 40, kUnitVisible,
                               WriteDropTargetSettings(accept),
                               {Bind(0, 4), Bind(1, 5), Bind(2, 6), Bind(3, 7)}));
    ASSERT_TRUE(StartWithWindow({w}, {nullptr, nullptr, nullptr, nullptr, DragDropLibrary()}));
    target = DropTargetInterface(FindLiveUnit(kTestWindow, kDrop));
    ASSERT_NE(nullptr, target);
  }
  void TearDown() override {
    StopRuntime();
    Received().clear();
  }

  bool Register(HWND h) {
    TaggedValue args[] = {{kTestWindow, kDrop, kTagDropTarget},
                          MakeInt(static_cast<int32_t>(reinterpret_cast<intptr_t>(h)))};
    return HelperTable().callLibraryCommand(RegisterDropWindow, 6, 2, args).lo != 0;
  }
  void Revoke(HWND h) {
    TaggedValue args[] = {{kTestWindow, kDrop, kTagDropTarget},
                          MakeInt(static_cast<int32_t>(reinterpret_cast<intptr_t>(h)))};
    HelperTable().callLibraryCommand(RevokeDropWindow, 6, 2, args);
  }

  // DragEnter then Drop with the keys; the effects each gave and Drop's
  // answer.
  struct Outcome {
    DWORD enter, drop;
    HRESULT result;
  };
  Outcome DragAndDrop(DataObject& data, DWORD keys = 0, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
    Outcome o;
    POINTL pt = {5, 5};
    o.enter = allowed;
    EXPECT_EQ(S_OK, target->DragEnter(&data, keys, pt, &o.enter));
    o.drop = allowed;
    o.result = target->Drop(&data, keys, pt, &o.drop);
    return o;
  }

  IDropTarget* target = nullptr;
};

DropTargetSettings FilesOnly() {
  DropTargetSettings s;
  s.acceptFiles = true;
  return s;
}
DropTargetSettings Everything() {
  DropTargetSettings s;
  s.acceptText = s.acceptHtml = s.acceptUrl = s.acceptFiles = true;
  return s;
}

TEST_F(DropTargetTest, OneDroppedFileGivesItsBarePathAndDropAnswersFailure) {
  Start(FilesOnly());
  DataObject data;
  data.Add(CF_HDROP, DropFilesContents({"C:\\题库\\样本.xlsx"}, false));
  Outcome o = DragAndDrop(data);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), o.enter);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), o.drop);
  EXPECT_EQ(E_FAIL, o.result);
  ASSERT_EQ(1u, Received().size());
  EXPECT_EQ(3, Received()[0].event);
  EXPECT_EQ("C:\\题库\\样本.xlsx", Received()[0].text);
}

TEST_F(DropTargetTest, SeveralFilesComeInTheirOrderEachEndedByCrLfWideNamesInTheCodePage) {
  Start(FilesOnly());
  DataObject data;
  data.Add(CF_HDROP, DropFilesContents({"Z:\\第二.xls", "C:\\a b\\first.xlsx"}, true));
  EXPECT_EQ(E_FAIL, DragAndDrop(data).result);
  ASSERT_EQ(1u, Received().size());
  EXPECT_EQ("Z:\\第二.xls\r\nC:\\a b\\first.xlsx\r\n", Received()[0].text);
}

// A name GBK cannot hold reaches the program with '?', which names no
// file: written as the system's near character, "²" would be "2", and the
// conversion would take 题库2.xlsx beside it.
TEST_F(DropTargetTest, ANameGbkCannotHoldNamesNoOtherFile) {
  Start(FilesOnly());
  const std::wstring name = L"C:\\题库\u00B2.xlsx";
  DROPFILES header = {};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
  bytes.append(2, '\0');
  DataObject data;
  data.Add(CF_HDROP, bytes);
  EXPECT_EQ(E_FAIL, DragAndDrop(data).result);
  ASSERT_EQ(1u, Received().size());
  EXPECT_EQ("C:\\题库?.xlsx", Received()[0].text);
}

TEST_F(DropTargetTest, TextUrlAndHtmlRaiseTheirEventsInOrderAndHtmlHidesTheText) {
  Start(Everything());
  DataObject text;
  text.Add(CF_TEXT, "纯文本");
  DragAndDrop(text);
  DataObject all;
  all.Add(CF_TEXT, "不应出现");
  // "HTML Format" is UTF-8; a no-break space becomes a space.
  all.Add(HtmlFormat(), "Version:0.9\r\n<b>\xE9\xA2\x98\xC2\xA0\xE5\xBA\x93</b>");
  all.Add(UrlFormat(), std::string("http://example.com/题库", strlen("http://example.com/题库") + 1));
  all.Add(CF_HDROP, DropFilesContents({"C:\\x.xls"}, false));
  DragAndDrop(all);
  ASSERT_EQ(4u, Received().size());
  EXPECT_EQ(0, Received()[0].event);
  EXPECT_EQ("纯文本", Received()[0].text);
  EXPECT_EQ(1, Received()[1].event);
  EXPECT_EQ("Version:0.9\r\n<b>题 库</b>", Received()[1].text);
  EXPECT_EQ(2, Received()[2].event);
  EXPECT_EQ("http://example.com/题库", Received()[2].text);
  EXPECT_EQ(3, Received()[3].event);
  EXPECT_EQ("C:\\x.xls", Received()[3].text);
}

TEST_F(DropTargetTest, FormatsThatAreNotAcceptedGiveNoEffectAndNoEvent) {
  Start(FilesOnly());
  DataObject text;
  text.Add(CF_TEXT, "文本");
  text.Add(UrlFormat(), "http://a/");
  Outcome o = DragAndDrop(text);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), o.enter);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), o.drop);
  EXPECT_EQ(E_FAIL, o.result);
  EXPECT_TRUE(Received().empty());
}

TEST_F(DropTargetTest, KeysDecideTheEffectAndCtrlShiftRefusesTheDrop) {
  Start(FilesOnly());
  DataObject data;
  data.Add(CF_HDROP, DropFilesContents({"C:\\x.xls"}, false));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DragAndDrop(data, MK_CONTROL | MK_SHIFT).drop);
  EXPECT_TRUE(Received().empty());
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), DragAndDrop(data, MK_SHIFT).drop);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DragAndDrop(data, MK_CONTROL, DROPEFFECT_MOVE).drop);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), DragAndDrop(data, 0, DROPEFFECT_LINK).drop);
  EXPECT_EQ(2u, Received().size());
  // DragOver follows the keys of the moment; DragLeave forgets the drag.
  POINTL pt = {1, 1};
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(&data, 0, pt, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target->DragOver(MK_SHIFT, pt, &effect);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), effect);
  EXPECT_EQ(S_OK, target->DragLeave());
  effect = DROPEFFECT_COPY;
  target->DragOver(0, pt, &effect);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
}

TEST_F(DropTargetTest, AcceptFilesOffGivesNoneAndTheSettingsAreItsProperties) {
  Start(DropTargetSettings{});
  for (int p = kDropTargetAcceptText; p <= kDropTargetAcceptFiles; ++p) {
    TaggedValue v = GetUnitProperty(kTestWindow, kDrop, p, -1);
    EXPECT_EQ(kTagBool, v.tag);
    EXPECT_EQ(0u, v.lo);
  }
  DataObject data;
  data.Add(CF_HDROP, DropFilesContents({"C:\\x.xls"}, false));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DragAndDrop(data).enter);
  EXPECT_TRUE(Received().empty());
  // Switched on as the converter does at start-up: the same object takes it.
  SetUnitProperty(kTestWindow, kDrop, kDropTargetAcceptFiles, -1, 1, 0);
  EXPECT_EQ(1u, GetUnitProperty(kTestWindow, kDrop, kDropTargetAcceptFiles, -1).lo);
  EXPECT_EQ(target, DropTargetInterface(FindLiveUnit(kTestWindow, kDrop)));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), DragAndDrop(data).drop);
  EXPECT_EQ(1u, Received().size());
}

TEST_F(DropTargetTest, TheObjectAnswersForItsTwoInterfacesAndCountsReferences) {
  Start(FilesOnly());
  IUnknown* unknown = nullptr;
  ASSERT_EQ(S_OK, target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
  IDropTarget* again = nullptr;
  ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&again)));
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, target->QueryInterface(IID_IDataObject, &other));
  EXPECT_EQ(nullptr, other);
  EXPECT_EQ(3u, again->AddRef() - 1);  // the control's, and the two above
  again->Release();
  again->Release();
  EXPECT_EQ(1u, unknown->Release());
}

TEST_F(DropTargetTest, RegisteringTwiceFailsAndRevokingWithdrawsTheWindow) {
  Start(FilesOnly());
  HWND edit = Hwnd(kEdit);
  EXPECT_TRUE(Register(edit));
  EXPECT_FALSE(Register(edit));
  EXPECT_FALSE(Register(Hwnd(kBody)));  // one window per control
  EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, RegisterDragDrop(edit, target));
  Revoke(edit);
  EXPECT_EQ(S_OK, RegisterDragDrop(edit, target));
  EXPECT_EQ(S_OK, RevokeDragDrop(edit));
  // Forgotten with the revocation: the control may register again.
  EXPECT_TRUE(Register(edit));
  Revoke(edit);
}

TEST_F(DropTargetTest, AControlThatGoesTakesItsRegistrationWithIt) {
  Start(FilesOnly());
  HWND edit = Hwnd(kEdit);
  EXPECT_TRUE(Register(edit));
  DestroyWindow(Hwnd(kDrop));
  EXPECT_EQ(nullptr, FindLiveUnit(kTestWindow, kDrop));
  // The window is free for another target.
  class Nothing final : public IDropTarget {
   public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
      *out = this;
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
  } nothing;
  EXPECT_EQ(S_OK, RegisterDragDrop(edit, &nothing));
  EXPECT_EQ(S_OK, RevokeDragDrop(edit));
}

std::vector<std::string>& Traced() {
  static std::vector<std::string> names;
  return names;
}
void KeepTrace(const char* method) { Traced().push_back(method); }

TEST_F(DropTargetTest, EachMethodNamesItselfToTheTraceHook) {
  Start(FilesOnly());
  Traced().clear();
  DropTargetTraceFn old = SetDropTargetTrace(KeepTrace);
  DataObject data;
  data.Add(CF_HDROP, DropFilesContents({"C:\\甲.xlsx"}, false));
  IUnknown* unknown = nullptr;
  target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
  unknown->Release();
  DWORD effect = DROPEFFECT_COPY;
  POINTL pt = {1, 1};
  target->DragEnter(&data, 0, pt, &effect);
  target->DragOver(0, pt, &effect);
  target->DragLeave();
  DragAndDrop(data);
  SetDropTargetTrace(old);
  EXPECT_EQ((std::vector<std::string>{"QxDropTarget::QueryInterface", "QxDropTarget::DragEnter",
                                      "QxDropTarget::DragOver", "QxDropTarget::DragLeave",
                                      "QxDropTarget::DragEnter", "QxDropTarget::Drop"}),
            Traced());
}

// The system's own drag loop, in this process, onto the registered box;
// the trace shows the system calling the methods.
TEST_F(DropTargetTest, ARealDragOntoTheRegisteredBoxDropsTheFile) {
  Start(FilesOnly());
  HWND edit = Hwnd(kEdit);
  ASSERT_TRUE(Register(edit));
  SetForegroundWindow(Hwnd(0));
  Pump();
  Traced().clear();
  DropTargetTraceFn old = SetDropTargetTrace(KeepTrace);
  driver::DragFilesOnto(edit, {"C:\\拖放\\题库.xlsx"});
  SetDropTargetTrace(old);
  ASSERT_EQ(1u, Received().size());
  EXPECT_EQ(3, Received()[0].event);
  EXPECT_EQ("C:\\拖放\\题库.xlsx", Received()[0].text);
  ASSERT_FALSE(Traced().empty());
  EXPECT_EQ("QxDropTarget::Drop", Traced().back());
  EXPECT_NE(Traced().end(), std::find(Traced().begin(), Traced().end(), "QxDropTarget::DragEnter"));
  Revoke(edit);
}

}  // namespace
}  // namespace qx
