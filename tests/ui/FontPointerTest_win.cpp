// Fonts and mouse pointers as handlers read and write them: the font
// record's fields one by one and whole on real controls, checked against
// the font the control then draws with; pointer numbers and system cursors;
// and the services for units held in variables.
#include "WindowTestSupport.h"

#include "TestSupport.h"
#include "runtime/HelperTable.h"
#include "ui/ButtonKind.h"
#include "ui/FontRecord.h"
#include "ui/LabelKind.h"
#include "ui/Properties.h"
#include "ui/PropertyTable.h"
#include "ui/PropertyValues.h"

namespace qx {
namespace {

using namespace test;

constexpr uint32_t kHeavy = 0x16010020, kAlmostBold = 0x16010021;

// A kind of our own with a pointer and a font property, for a unit that
// lives in a variable: it keeps what it is given as it is.
struct Probe {
  UnitObject base;
  RawProperty pointer, font;
};
enum : int32_t { kProbePointer = kFirstOwnProperty, kProbeFont };
constexpr PropertyInfo kProbeProperties[] = {{"指针", kValuePointer, 0}, {"字体", kValueFont, 0}};
constexpr UnitOperations kProbeOperations = {
    .setTypeProperty = [](UnitObject* u, int32_t index, const RawProperty& v) {
      Probe* p = reinterpret_cast<Probe*>(u);
      (index == 0 ? p->pointer : p->font) = v;
      return true;  // asks for re-creation, which a unit in a variable never gets
    },
    .getTypeProperty = [](UnitObject* u, int32_t index, RawProperty* out) {
      Probe* p = reinterpret_cast<Probe*>(u);
      *out = index == 0 ? p->pointer : p->font;
    },
};
const UnitKind kProbeKind = {"探针", "Probe", 0, kProbeProperties, 2,
                             NumberedInterface<kProbeOperations>, &kProbeOperations};
const UnitKind* const kProbeKinds[] = {&kProbeKind};
const TypeTable kProbeTypes = {1, kProbeKinds};
const LibraryRecord kProbeLibrary = {"探针库", &kProbeTypes, nullptr};
constexpr uint32_t kTagProbe = MakeUnitTag(2, 1);

class FontPointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowTemplate w = SmallWindow();
    LabelSettings heavy;
    heavy.font = MakeStoredFont(-16, 800, 134, "");
    w.records.push_back(Record(kHeavy, kTagLabel, 10, 200, 80, 20, kUnitVisible,
                               WriteLabelSettings(heavy)));
    LabelSettings almost;
    almost.font = MakeStoredFont(-16, 699, 134, "Arial");
    w.records.push_back(Record(kAlmostBold, kTagLabel, 100, 200, 80, 20, kUnitVisible,
                               WriteLabelSettings(almost)));
    ASSERT_TRUE(StartWithWindow({w}, {&kProbeLibrary}));
  }
  void TearDown() override { StopRuntime(); }

  TaggedValue Field(uint32_t unit, int32_t property, int32_t element) {
    return GetUnitProperty(kTestWindow, unit, property, element);
  }
  void SetField(uint32_t unit, int32_t property, int32_t element, TaggedValue v) {
    SetUnitProperty(kTestWindow, unit, property, element, v.lo, v.hi);
  }
  FontRecord Whole(uint32_t unit, int32_t property) {
    TaggedValue v = Field(unit, property, kFontWhole);
    EXPECT_EQ(kTagByteSet, v.tag);
    FontRecord r;
    EXPECT_TRUE(FontRecordFromBytes(ByteSetBytesOf(v.lo, v.hi), &r));
    FreeMemory(ValuePointer(v));
    return r;
  }
  // The font the control draws with now.
  LOGFONTA Drawn(uint32_t unit) {
    LOGFONTA lf = {};
    HFONT f = reinterpret_cast<HFONT>(SendMessageA(Hwnd(unit), WM_GETFONT, 0, 0));
    GetObjectA(f, sizeof lf, &lf);
    return lf;
  }
};

bool Same(const FontRecord& a, const FontRecord& b) {
  return a.angle == b.angle && a.bold == b.bold && a.italic == b.italic &&
         a.strikeOut == b.strikeOut && a.underline == b.underline && a.size == b.size &&
         a.face == b.face;
}

TEST_F(FontPointerTest, EachFieldIsReadAndWrittenAloneAndTheOthersStayAsTheControlHasThem) {
  // No font of its own: the fields are the default GUI font's.
  LOGFONTA gui;
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  FontRecord want = Whole(kLabel, kLabelFont);
  EXPECT_EQ(gui.lfFaceName, want.face);
  EXPECT_EQ(MulDiv(-gui.lfHeight, 72, 96), want.size);
  EXPECT_EQ(static_cast<uint32_t>(want.size), Field(kLabel, kLabelFont, kFontSize).lo);
  EXPECT_EQ(gui.lfFaceName, TakeText(Field(kLabel, kLabelFont, kFontFace)));

  struct Step {
    int32_t element;
    TaggedValue value;
    void (*expect)(FontRecord*);
  };
  const Step steps[] = {
      {kFontAngle, MakeInt(4050), [](FontRecord* r) { r->angle = 450; }},
      {kFontBold, MakeBool(true), [](FontRecord* r) { r->bold = true; }},
      {kFontItalic, MakeBool(true), [](FontRecord* r) { r->italic = true; }},
      {kFontStrikeOut, MakeInt(7), [](FontRecord* r) { r->strikeOut = true; }},
      {kFontUnderline, MakeBool(true), [](FontRecord* r) { r->underline = true; }},
      {kFontSize, MakeInt(14), [](FontRecord* r) { r->size = 14; }},
      {kFontFace, Text("Arial"), [](FontRecord* r) { r->face = "Arial"; }},
      {kFontBold, MakeBool(false), [](FontRecord* r) { r->bold = false; }},
  };
  for (const Step& s : steps) {
    SetField(kLabel, kLabelFont, s.element, s.value);
    s.expect(&want);
    FontRecord got = Whole(kLabel, kLabelFont);
    EXPECT_TRUE(Same(want, got)) << "after element " << s.element << ": angle " << got.angle
                                 << " bold " << got.bold << " italic " << got.italic
                                 << " strike " << got.strikeOut << " underline "
                                 << got.underline << " size " << got.size << " " << got.face;
  }
  // Each field alone, with its own kind of value.
  EXPECT_EQ(kTagInt, Field(kLabel, kLabelFont, kFontAngle).tag);
  EXPECT_EQ(450u, Field(kLabel, kLabelFont, kFontAngle).lo);
  EXPECT_EQ(kTagBool, Field(kLabel, kLabelFont, kFontItalic).tag);
  EXPECT_EQ(1u, Field(kLabel, kLabelFont, kFontItalic).lo);
  EXPECT_EQ(1u, Field(kLabel, kLabelFont, kFontStrikeOut).lo);
  EXPECT_EQ(1u, Field(kLabel, kLabelFont, kFontUnderline).lo);
  EXPECT_EQ(0u, Field(kLabel, kLabelFont, kFontBold).lo);
  EXPECT_EQ(14u, Field(kLabel, kLabelFont, kFontSize).lo);
  EXPECT_EQ("Arial", TakeText(Field(kLabel, kLabelFont, kFontFace)));
  EXPECT_EQ(0u, Field(kLabel, kLabelFont, 7).tag);  // no such element

  // What the label draws with is that font.
  LOGFONTA lf = Drawn(kLabel);
  EXPECT_EQ(450, lf.lfEscapement);
  EXPECT_EQ(0, lf.lfWeight);
  EXPECT_TRUE(lf.lfItalic && lf.lfStrikeOut && lf.lfUnderline);
  EXPECT_EQ(-MulDiv(14, 96, 72), lf.lfHeight);
  EXPECT_STREQ("Arial", lf.lfFaceName);
}

TEST_F(FontPointerTest, TheWholeRecordTravelsAsOneByteSetUnderTheFontsRules) {
  FontRecord r;
  r.angle = -900;  // a quarter turn clockwise
  r.bold = true;
  r.strikeOut = true;
  r.size = 20;
  r.face = "";
  std::string bytes = FontRecordBytes(r);
  void* set = MakeByteSet(bytes.data(), static_cast<int32_t>(bytes.size()));
  SetField(kButton, kButtonFont, kFontWhole, MakeByteSetValue(set));
  FreeMemory(set);
  FontRecord got = Whole(kButton, kButtonFont);
  EXPECT_EQ(2700, got.angle);
  EXPECT_TRUE(got.bold && got.strikeOut);
  EXPECT_FALSE(got.italic || got.underline);
  EXPECT_EQ(20, got.size);
  EXPECT_EQ("宋体", got.face);  // in place of the empty name
  LOGFONTA lf = Drawn(kButton);
  EXPECT_EQ(700, lf.lfWeight);
  EXPECT_EQ(2700, lf.lfEscapement);
  EXPECT_EQ(-MulDiv(20, 96, 72), lf.lfHeight);

  // A name that does not fit the face field is not cut: it is replaced.
  SetField(kButton, kButtonFont, kFontFace, Text("一个放不进三十二字节字段的很长的字体名称"));
  EXPECT_EQ("宋体", TakeText(Field(kButton, kButtonFont, kFontFace)));
  SetField(kButton, kButtonFont, kFontFace, Text("Arial"));
  // A record shorter than its six words writes nothing.
  void* shortSet = MakeByteSet("\1\0\0\0", 4);
  SetField(kButton, kButtonFont, kFontWhole, MakeByteSetValue(shortSet));
  FreeMemory(shortSet);
  EXPECT_EQ("Arial", TakeText(Field(kButton, kButtonFont, kFontFace)));
  EXPECT_EQ(20u, Field(kButton, kButtonFont, kFontSize).lo);
}

TEST_F(FontPointerTest, BoldIsAWeightOfSevenHundredOrMoreAndAStoredEmptyFaceGoesAsSongTi) {
  EXPECT_EQ(1u, Field(kHeavy, kLabelFont, kFontBold).lo);
  EXPECT_EQ(0u, Field(kAlmostBold, kLabelFont, kFontBold).lo);
  EXPECT_EQ(12u, Field(kHeavy, kLabelFont, kFontSize).lo);  // 16 pixels at 96 per inch
  // Writing one field keeps the stored weight and height, and the font
  // that goes to the label has a face.
  SetField(kHeavy, kLabelFont, kFontItalic, MakeBool(true));
  LOGFONTA lf = Drawn(kHeavy);
  EXPECT_EQ(800, lf.lfWeight);
  EXPECT_EQ(-16, lf.lfHeight);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ("宋体", TakeText(Field(kHeavy, kLabelFont, kFontFace)));
}

TEST_F(FontPointerTest, ThePointerPropertyMakesItsNumberIntoTheSystemCursor) {
  UnitRecord* r = FindUnitRecord(*FindWindowTemplate(kTestWindow), kEdit);
  uint32_t ibeam = 3;
  void* set = MakeByteSet(&ibeam, 4);
  SetUnitProperty(kTestWindow, kEdit, kPropertyCursor, -1, MakeByteSetValue(set).lo,
                  MakeByteSetValue(set).hi);
  FreeMemory(set);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_IBEAM), r->cursor);
  // The number is kept as it was given.
  TaggedValue back = GetUnitProperty(kTestWindow, kEdit, kPropertyCursor, -1);
  EXPECT_EQ(std::string("\3\0\0\0", 4), ByteSetBytesOf(back.lo, back.hi));
  FreeMemory(ValuePointer(back));
}

// Services 4 and 5 on a unit held in a variable: the probe gets system
// cursor identifiers and LOGFONTAs, the caller pointer numbers and records.
TEST_F(FontPointerTest, UnitsInVariablesAreReachedThroughTheirKindWithTheSameConversions) {
  Probe probe = {};
  probe.base = {nullptr, &kProbeKind, 0, 0};
  const RuntimeHelperTable& h = HelperTable();
  auto set = [&](int32_t property, TaggedValue v) {
    return h.callInternalService(kSetObjectProperty, kTagProbe, reinterpret_cast<intptr_t>(&probe),
                                 property, reinterpret_cast<intptr_t>(&v));
  };
  auto get = [&](int32_t property, TaggedValue* v) {
    return h.callInternalService(kGetObjectProperty, kTagProbe, reinterpret_cast<intptr_t>(&probe),
                                 property, reinterpret_cast<intptr_t>(v));
  };

  const uint32_t data[] = {11, 0xABCD};  // the hourglass, then bytes of the pointer's own
  void* pointer = MakeByteSet(data, sizeof data);
  EXPECT_EQ(1, set(kProbePointer, MakeByteSetValue(pointer)));
  FreeMemory(pointer);
  uint32_t seen[2] = {};
  memcpy(seen, probe.pointer.bytes.data(), sizeof seen);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(IDC_WAIT), seen[0]);
  EXPECT_EQ(0xABCDu, seen[1]);
  // And back: the system's hand is pointer 16; an identifier without a
  // number passes as it is.
  const uint32_t hand = reinterpret_cast<uintptr_t>(IDC_HAND);
  probe.pointer.bytes.assign(reinterpret_cast<const char*>(&hand), 4);
  TaggedValue v = {};
  EXPECT_EQ(1, get(kProbePointer, &v));
  EXPECT_EQ(std::string("\x10\0\0\0", 4), ByteSetBytesOf(v.lo, v.hi));
  FreeMemory(ValuePointer(v));
  probe.pointer.bytes = std::string("\x39\x30\0\0", 4);  // 12345
  get(kProbePointer, &v);
  EXPECT_EQ(std::string("\x39\x30\0\0", 4), ByteSetBytesOf(v.lo, v.hi));
  FreeMemory(ValuePointer(v));

  // A font crosses as the whole record.
  FontRecord r;
  r.size = 9;
  r.italic = true;
  r.face = "SimSun";
  std::string bytes = FontRecordBytes(r);
  void* font = MakeByteSet(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(1, set(kProbeFont, MakeByteSetValue(font)));
  FreeMemory(font);
  ASSERT_EQ(kLogFontBytes, probe.font.bytes.size());
  EXPECT_EQ(-12, reinterpret_cast<const LOGFONTA*>(probe.font.bytes.data())->lfHeight);
  EXPECT_EQ(1, get(kProbeFont, &v));
  FontRecord back;
  ASSERT_TRUE(FontRecordFromBytes(ByteSetBytesOf(v.lo, v.hi), &back));
  FreeMemory(ValuePointer(v));
  EXPECT_TRUE(Same(r, back));

  // Not the tag's kind, not its property, no object: nothing is done.
  v = {};
  EXPECT_EQ(0, h.callInternalService(kGetObjectProperty, kTagLabel,
                                     reinterpret_cast<intptr_t>(&probe), kProbePointer,
                                     reinterpret_cast<intptr_t>(&v)));
  EXPECT_EQ(0, get(kPropertyLeft, &v));
  EXPECT_EQ(0, get(kProbeFont + 1, &v));
  EXPECT_EQ(0, h.callInternalService(kGetObjectProperty, kTagProbe, 0, kProbePointer,
                                     reinterpret_cast<intptr_t>(&v)));
  EXPECT_EQ(0u, v.tag);

  // A control's own object works the same way, its window included.
  intptr_t label = reinterpret_cast<intptr_t>(FindLiveUnit(kTestWindow, kLabel));
  TaggedValue caption = Text("新标题");
  EXPECT_EQ(1, h.callInternalService(kSetObjectProperty, kTagLabel, label, kLabelCaption,
                                     reinterpret_cast<intptr_t>(&caption)));
  EXPECT_EQ(1, h.callInternalService(kGetObjectProperty, kTagLabel, label, kLabelCaption,
                                     reinterpret_cast<intptr_t>(&v)));
  EXPECT_EQ("新标题", TakeText(v));
  char shown[32] = "";
  GetWindowTextA(Hwnd(kLabel), shown, sizeof shown);
  EXPECT_STREQ("新标题", shown);
}

}  // namespace
}  // namespace qx
