// GetSpecialFolder and KillProcess over a recording system table: which
// arguments reach which system operation, and what comes back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/Commands.h"
#include "runtime/SystemOps.h"

namespace qx {
namespace {

using namespace test;

struct Seen {
  std::vector<std::string> calls;
  std::string folder = "C:\\folder";
  bool folderOk = true;
  uint32_t windowPid = 0, namePid = 0;
  bool terminates = true;
};
Seen* g_seen = nullptr;

const SystemOps kRecording = {
    [](int32_t code, char* buffer) {
      g_seen->calls.push_back("folder " + std::to_string(code));
      strcpy(buffer, g_seen->folder.c_str());
      return g_seen->folderOk;
    },
    [](const char* title) {
      g_seen->calls.push_back(std::string("window ") + title);
      return g_seen->windowPid;
    },
    [](const char* name) {
      g_seen->calls.push_back(std::string("name ") + name);
      return g_seen->namePid;
    },
    [](uint32_t pid) {
      g_seen->calls.push_back("end " + std::to_string(pid));
      return g_seen->terminates;
    },
};

class SystemCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen = &seen;
    old = SetSystemOps(&kRecording);
  }
  void TearDown() override {
    SetSystemOps(old);
    g_seen = nullptr;
  }
  std::string Folder(TaggedValue code) { return TakeText(CallCommand(GetSpecialFolder, 1, &code)); }
  bool Kill(TaggedValue what) {
    TaggedValue r = CallCommand(KillProcess, 1, &what);
    EXPECT_EQ(kTagBool, r.tag);
    return r.lo != 0;
  }
  Seen seen;
  const SystemOps* old = nullptr;
};

TEST_F(SystemCommandsTest, SpecialFolderEndsWithOneBackslashAndIsEmptyOtherwise) {
  EXPECT_EQ("C:\\folder\\", Folder(MakeInt(3)));
  seen.folder = "C:\\";
  EXPECT_EQ("C:\\", Folder(MakeInt(11)));
  seen.folder = "C:\\桌面";
  EXPECT_EQ("C:\\桌面\\", Folder(MakeDouble(1.9)));
  // A two-byte character whose second byte is 0x5C is no backslash.
  seen.folder = "C:\\\x95\x5C";
  EXPECT_EQ("C:\\\x95\x5C\\", Folder(MakeInt(4)));
  // The euro sign is a character of one byte: the backslash after it is one.
  seen.folder = "C:\\€\\";
  EXPECT_EQ("C:\\€\\", Folder(MakeInt(5)));
  EXPECT_EQ((std::vector<std::string>{"folder 3", "folder 11", "folder 1", "folder 4", "folder 5"}),
            seen.calls);
  seen.calls.clear();
  EXPECT_EQ("", Folder(MakeInt(0)));
  EXPECT_EQ("", Folder(MakeInt(12)));
  EXPECT_EQ("", Folder(MakeInt(-1)));
  EXPECT_EQ("", Folder(Omitted()));
  EXPECT_TRUE(seen.calls.empty());
  seen.folderOk = false;
  EXPECT_EQ("", Folder(MakeInt(9)));
  seen.folderOk = true;
  seen.folder = "";
  EXPECT_EQ("", Folder(MakeInt(9)));
}

TEST_F(SystemCommandsTest, SpecialFolderOfAFullBufferStaysInsideIt) {
  seen.folder = std::string(kSystemPathSize - 1, 'a');
  std::string got = Folder(MakeInt(2));
  EXPECT_EQ(kSystemPathSize, got.size());
  EXPECT_EQ('\\', got.back());
}

TEST_F(SystemCommandsTest, NumbersAreProcessIdsEndedDirectly) {
  EXPECT_TRUE(Kill(MakeInt(1234)));
  EXPECT_TRUE(Kill(MakeDouble(77.9)));
  EXPECT_TRUE(Kill(MakeByte(9)));
  TaggedValue shortValue = {300, 0, kTagShort};
  EXPECT_TRUE(Kill(shortValue));
  float f = 12.5f;
  TaggedValue floatValue = {0, 0, kTagFloat};
  memcpy(&floatValue.lo, &f, 4);
  EXPECT_TRUE(Kill(floatValue));
  EXPECT_EQ((std::vector<std::string>{"end 1234", "end 77", "end 9", "end 300", "end 12"}),
            seen.calls);
  seen.calls.clear();
  EXPECT_FALSE(Kill(MakeInt(0)));
  EXPECT_TRUE(seen.calls.empty());
  seen.terminates = false;
  EXPECT_FALSE(Kill(MakeInt(5)));
}

TEST_F(SystemCommandsTest, NamesLookForAWindowTitleFirstThenTheProcessList) {
  seen.windowPid = 11;
  seen.namePid = 22;
  EXPECT_TRUE(Kill(Text("et.exe")));
  EXPECT_EQ((std::vector<std::string>{"window et.exe", "end 11"}), seen.calls);
  seen.calls.clear();
  seen.windowPid = 0;
  EXPECT_TRUE(Kill(Text("EXCEL.exe")));
  EXPECT_EQ((std::vector<std::string>{"window EXCEL.exe", "name EXCEL.exe", "end 22"}), seen.calls);
  seen.calls.clear();
  seen.namePid = 0;
  EXPECT_FALSE(Kill(Text("无此进程.exe")));
  EXPECT_EQ((std::vector<std::string>{"window 无此进程.exe", "name 无此进程.exe"}), seen.calls);
}

TEST_F(SystemCommandsTest, EmptyNamesAndOtherKindsOfArgumentEndNothing) {
  seen.windowPid = seen.namePid = 5;
  EXPECT_FALSE(Kill(Text("")));
  EXPECT_FALSE(Kill(Omitted()));
  EXPECT_FALSE(Kill(MakeBool(true)));
  EXPECT_FALSE(Kill(MakeLong(5)));
  EXPECT_TRUE(seen.calls.empty());
  // A name held in a variable passed by reference is still a name.
  char* name = const_cast<char*>("et.exe");
  TaggedValue ref;
  SetValuePointer(&ref, &name, kTagText | kTagByRef);
  EXPECT_TRUE(Kill(ref));
}

}  // namespace
}  // namespace qx
