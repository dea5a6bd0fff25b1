// The file dialog's and the drop target's own rules, and their stored
// settings, without the system.
#include <gtest/gtest.h>

#include "ui/DropRules.h"
#include "ui/FileDialogRules.h"
#include "ui/TypeBlocks.h"

namespace qx {
namespace {

using namespace std::string_literals;

TEST(FileDialogRules, DefaultsAskForAnExistingFileInAnExistingFolderAndEachOptionAddsItsFlag) {
  FileDialogSettings s;
  const uint32_t base = kOfnHideReadOnly | kOfnExplorer | kOfnEnableSizing;
  EXPECT_EQ(base | kOfnFileMustExist | kOfnOverwritePrompt | kOfnPathMustExist, FileDialogFlags(s));
  s.fileMustExist = s.overwritePrompt = s.pathMustExist = false;
  EXPECT_EQ(base, FileDialogFlags(s));
  s.createPrompt = true;
  EXPECT_EQ(base | kOfnCreatePrompt, FileDialogFlags(s));
  s.createPrompt = false;
  s.keepCurrentFolder = true;
  EXPECT_EQ(base | kOfnNoChangeDir, FileDialogFlags(s));
  s.keepCurrentFolder = false;
  s.fileMustExist = true;
  EXPECT_EQ(base | kOfnFileMustExist, FileDialogFlags(s));
  s.fileMustExist = false;
  s.overwritePrompt = true;
  EXPECT_EQ(base | kOfnOverwritePrompt, FileDialogFlags(s));
  s.overwritePrompt = false;
  s.pathMustExist = true;
  EXPECT_EQ(base | kOfnPathMustExist, FileDialogFlags(s));
}

TEST(FileDialogRules, FilterBecomesANulSeparatedDoubleNulTerminatedList) {
  EXPECT_EQ("表格\0*.xls;*.xlsx\0全部\0*.*\0\0"s, FileDialogFilterList("表格|*.xls;*.xlsx|全部|*.*"));
  // Already ended: no second "||"; trailing white space goes first.
  EXPECT_EQ("文本\0*.txt\0\0"s, FileDialogFilterList("文本|*.txt||"));
  EXPECT_EQ("文本\0*.txt\0\0"s, FileDialogFilterList("文本|*.txt \t\r\n"));
  EXPECT_EQ("文本\0*.txt\0\0"s, FileDialogFilterList("文本|*.txt|| "));
  EXPECT_EQ("", FileDialogFilterList(""));
  EXPECT_EQ("", FileDialogFilterList("  \t"));
  EXPECT_EQ("\0\0\0"s, FileDialogFilterList("|"));
}

TEST(FileDialogRules, ABarThatIsTheSecondByteOfACharacterStaysInIt) {
  // 亅 is 0x81 0x7C: its second byte is a "|", and neither separates nor
  // ends the list.
  EXPECT_EQ("亅\0*.x\0\0"s, FileDialogFilterList("亅|*.x"));
  EXPECT_EQ("x\0亅\0\0"s, FileDialogFilterList("x|亅"));
  EXPECT_EQ("x\0亅\0\0\0"s, FileDialogFilterList("x|亅|"));
}

// A path longer than the name buffer: the system's dialog refuses it with
// its extended error, or (Wine's, counting UTF-16 units) confirms it cut to
// the buffer, where it names nothing that could have been chosen.
TEST(FileDialogRules, APathTooLongForTheBufferIsToldApartFromACancel) {
  EXPECT_EQ(FileDialogEnd::Cancelled, FileDialogEndFor(false, 0, 0, 260, false));
  EXPECT_EQ(FileDialogEnd::NameTooLong, FileDialogEndFor(false, kFnerrBufferTooSmall, 0, 260, false));
  EXPECT_EQ(FileDialogEnd::Failed, FileDialogEndFor(false, 0xFFFF, 0, 260, false));
  EXPECT_EQ(FileDialogEnd::Confirmed, FileDialogEndFor(true, 0, 40, 260, true));
  EXPECT_EQ(FileDialogEnd::NameTooLong, FileDialogEndFor(true, 0, 259, 260, false));
  // Cut before a two-byte character that did not fit the last byte.
  EXPECT_EQ(FileDialogEnd::NameTooLong, FileDialogEndFor(true, 0, 258, 260, false));
  // A file whose path fills the buffer is chosen as it is.
  EXPECT_EQ(FileDialogEnd::Confirmed, FileDialogEndFor(true, 0, 259, 260, true));
  EXPECT_EQ(FileDialogEnd::Confirmed, FileDialogEndFor(true, 0, 257, 260, false));
}

TEST(FileDialogRules, FilterIndexCountsFromZeroAndIsZeroWithoutAFilter) {
  EXPECT_EQ(0u, FileDialogFilterIndex("", 3));
  std::string list = FileDialogFilterList("a|*.a|b|*.b");
  EXPECT_EQ(1u, FileDialogFilterIndex(list, 0));
  EXPECT_EQ(2u, FileDialogFilterIndex(list, 1));
  EXPECT_EQ(1u, FileDialogFilterIndex(list, -5));
}

TEST(DropRules, EffectFollowsTheKeysAndWhatTheSourceAllows) {
  const uint32_t all = kDropCopy | kDropMove | kDropLink;
  EXPECT_EQ(kDropNone, DropEffectFor(false, 0, all));
  EXPECT_EQ(kDropNone, DropEffectFor(true, kKeyControl | kKeyShift, all));
  EXPECT_EQ(kDropCopy, DropEffectFor(true, kKeyControl, all));
  EXPECT_EQ(kDropNone, DropEffectFor(true, kKeyControl, kDropMove | kDropLink));
  EXPECT_EQ(kDropMove, DropEffectFor(true, kKeyShift, all));
  EXPECT_EQ(kDropNone, DropEffectFor(true, kKeyShift, kDropCopy | kDropLink));
  EXPECT_EQ(kDropCopy, DropEffectFor(true, 0, all));
  EXPECT_EQ(kDropMove, DropEffectFor(true, 0, kDropMove | kDropLink));
  EXPECT_EQ(kDropLink, DropEffectFor(true, 0, kDropLink));
  EXPECT_EQ(kDropNone, DropEffectFor(true, 0, kDropNone));
  // Mouse buttons are not modifiers.
  EXPECT_EQ(kDropCopy, DropEffectFor(true, 0x1 | 0x2, all));
}

TEST(DropRules, OneFileIsItsPathAloneAndSeveralEachEndWithCrLf) {
  EXPECT_EQ("C:\\题库\\一.xlsx", DroppedFilesText({"C:\\题库\\一.xlsx"}));
  EXPECT_EQ("C:\\a.xls\r\nC:\\b.xls\r\n", DroppedFilesText({"C:\\a.xls", "C:\\b.xls"}));
  EXPECT_EQ("", DroppedFilesText({}));
}

TEST(DropRules, NoBreakSpacesBecomeSpaces) {
  std::u16string s = u"a\u00A0b\u00A0\u00A0c\u3000";
  ReplaceNoBreakSpaces(&s);
  EXPECT_EQ(u"a b  c\u3000", s);
}

TEST(DialogTypeBlocks, EmptyBlocksGiveTheDefaultsAndWrittenBlocksReadBack) {
  FileDialogSettings f;
  f.title = "x";
  ASSERT_TRUE(ReadFileDialogSettings("", &f));
  EXPECT_EQ(0u, f.dialogType);
  EXPECT_EQ("", f.title);
  EXPECT_TRUE(f.fileMustExist && f.overwritePrompt && f.pathMustExist);
  EXPECT_FALSE(f.createPrompt || f.keepCurrentFolder);

  FileDialogSettings g;
  g.dialogType = 1;
  g.filterIndex = 2;
  g.createPrompt = true;
  g.pathMustExist = false;
  g.fontUnderline = true;
  g.helpContext = 7;
  g.title = "保存";
  g.fileName = "C:\\a.doc";
  g.filter = "文档|*.doc";
  g.initialFolder = "C:\\";
  g.defaultExtension = "doc";
  g.helpKey = "帮助";
  FileDialogSettings back;
  ASSERT_TRUE(ReadFileDialogSettings(WriteFileDialogSettings(g), &back));
  EXPECT_EQ(WriteFileDialogSettings(g), WriteFileDialogSettings(back));
  EXPECT_EQ("C:\\a.doc", back.fileName);
  EXPECT_EQ(2, back.filterIndex);

  DropTargetSettings d;
  ASSERT_TRUE(ReadDropTargetSettings("", &d));
  EXPECT_FALSE(d.acceptText || d.acceptHtml || d.acceptUrl || d.acceptFiles);
  DropTargetSettings files;
  files.acceptFiles = true;
  files.acceptUrl = true;
  ASSERT_TRUE(ReadDropTargetSettings(WriteDropTargetSettings(files), &d));
  EXPECT_TRUE(d.acceptFiles && d.acceptUrl);
  EXPECT_FALSE(d.acceptText || d.acceptHtml);
}

TEST(DialogTypeBlocks, NewerVersionsAndShortBlocksCannotBeRead) {
  DropTargetSettings d;
  d.version = 2;
  EXPECT_FALSE(ReadDropTargetSettings(WriteDropTargetSettings(d), &d));
  std::string block = WriteDropTargetSettings(DropTargetSettings{});
  EXPECT_FALSE(ReadDropTargetSettings(block.substr(0, block.size() - 1), &d));

  FileDialogSettings f;
  f.version = 2;
  EXPECT_FALSE(ReadFileDialogSettings(WriteFileDialogSettings(f), &f));
  block = WriteFileDialogSettings(FileDialogSettings{});
  EXPECT_FALSE(ReadFileDialogSettings(block.substr(0, block.size() - 4), &f));
  // Stored values the properties would not accept come out as they would.
  FileDialogSettings odd;
  odd.dialogType = 9;
  odd.filterIndex = -3;
  ASSERT_TRUE(ReadFileDialogSettings(WriteFileDialogSettings(odd), &f));
  EXPECT_EQ(0u, f.dialogType);
  EXPECT_EQ(0, f.filterIndex);
}

}  // namespace
}  // namespace qx
