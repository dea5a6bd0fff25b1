// Internal services 0 and 1, the file search step by step: on a listing
// the test makes up (to see which entries pass the mask and when searches
// are closed), and on a real folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/FindFile.h"
#include "runtime/HelperTable.h"
#include "runtime/Memory.h"

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qx {
namespace {

using test::TakeText;

// A made-up listing: every search walks it from the start.
struct Listing {
  std::vector<FoundEntry> entries;
  size_t next = 0;
};
std::vector<FoundEntry> g_entries;
std::vector<std::string> g_log;

const FindOps kListing = {
    [](const char* pattern, FoundEntry* e) -> void* {
      g_log.push_back(std::string("first ") + pattern);
      if (g_entries.empty()) return nullptr;
      auto* l = new Listing{g_entries, 1};
      *e = l->entries[0];
      return l;
    },
    [](void* h, FoundEntry* e) {
      auto* l = static_cast<Listing*>(h);
      if (l->next >= l->entries.size()) return false;
      *e = l->entries[l->next++];
      return true;
    },
    [](void* h) {
      g_log.push_back("close");
      delete static_cast<Listing*>(h);
    },
};

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = SetFindOps(&kListing);
    g_log.clear();
    g_entries = {{".", 0x10}, {"甲.txt", 0}, {"只读.txt", 0x01}, {"子目录", 0x10},
                 {"存档.doc", 0x20}, {"卷标", 0x08}};
  }
  void TearDown() override { SetFindOps(old_); }

  // Service 0 through the helper table, as the application calls it.
  std::string Step(const char* pattern, uint32_t mask, bool filesOnly) {
    return TakeText(reinterpret_cast<char*>(HelperTable().callInternalService(
        kFindFileStep, reinterpret_cast<intptr_t>(pattern), mask, filesOnly,
        reinterpret_cast<intptr_t>(&slot))));
  }
  std::vector<std::string> All(const char* pattern, uint32_t mask, bool filesOnly) {
    std::vector<std::string> names;
    for (std::string n = Step(pattern, mask, filesOnly); !n.empty(); n = Step("", mask, filesOnly))
      names.push_back(n);
    return names;
  }

  void* slot = nullptr;
  const FindOps* old_ = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(FindFileTest, TheMaskAndTheFilesOnlyFlagChooseTheEntries) {
  EXPECT_EQ((Names{"甲.txt", "只读.txt", "存档.doc", "卷标"}), All("C:\\*", 0, true));
  EXPECT_EQ((Names{".", "子目录"}), All("C:\\*", 0x10, false));
  EXPECT_EQ((Names{"只读.txt", "存档.doc"}), All("C:\\*", 0x21, false));
  // A mask of 0 takes the entries without attributes; bits outside 0x37
  // count for nothing.
  EXPECT_EQ((Names{"甲.txt"}), All("C:\\*", 0, false));
  EXPECT_EQ((Names{}), All("C:\\*", 0x48, false));  // the volume label is not one
  EXPECT_EQ(nullptr, slot);
}

TEST_F(FindFileTest, ANewPatternClosesTheOldSearchAndTheEndClosesItsOwn) {
  EXPECT_EQ("甲.txt", Step("C:\\*", 0, true));
  void* first = slot;
  EXPECT_NE(nullptr, first);
  EXPECT_EQ("只读.txt", Step("", 0, true));
  EXPECT_EQ("甲.txt", Step("D:\\*.txt", 0, true));
  EXPECT_EQ((Names{"first C:\\*", "close", "first D:\\*.txt"}), g_log);
  g_log.clear();
  EXPECT_EQ("只读.txt", Step("", 0, true));
  EXPECT_EQ("存档.doc", Step("", 0, true));
  EXPECT_EQ("卷标", Step("", 0, true));
  EXPECT_EQ("", Step("", 0, true));
  EXPECT_EQ((Names{"close"}), g_log);
  EXPECT_EQ(nullptr, slot);
  // Nothing to continue, nothing found: no search is left open.
  EXPECT_EQ("", Step("", 0, true));
  g_entries.clear();
  EXPECT_EQ("", Step("E:\\*", 0, true));
  EXPECT_EQ((Names{"close", "first E:\\*"}), g_log);
}

TEST_F(FindFileTest, ServiceOneClosesASearchThatIsStillOpen) {
  EXPECT_EQ("甲.txt", Step("C:\\*", 0, true));
  HelperTable().callInternalService(kFindFileClose, reinterpret_cast<intptr_t>(slot), 0, 0, 0);
  HelperTable().callInternalService(kFindFileClose, 0, 0, 0, 0);
  EXPECT_EQ((Names{"first C:\\*", "close"}), g_log);
}

TEST_F(FindFileTest, ARealFolderIsListed) {
  SetFindOps(old_);
#ifdef _WIN32
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "qxfind";
  _mkdir(folder.c_str());
  _mkdir((folder + "\\sub").c_str());
#else
  std::string folder = "/tmp/qxfind_XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(&folder[0]));
  mkdir((folder + "/sub").c_str(), 0755);
#endif
  for (const char* name : {"a.txt", "b.doc"}) {
    FILE* f = fopen((folder + "/" + name).c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fclose(f);
  }
  std::string pattern = folder + "\\*";
  Names files = All(pattern.c_str(), 0, true);
  std::sort(files.begin(), files.end());
  EXPECT_EQ((Names{"a.txt", "b.doc"}), files);
  Names folders = All(pattern.c_str(), 0x10, false);
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ((Names{".", "..", "sub"}), folders);
  pattern = folder + "\\*.txt";
  EXPECT_EQ((Names{"a.txt"}), All(pattern.c_str(), 0, true));
  for (const char* name : {"a.txt", "b.doc"}) remove((folder + "/" + name).c_str());
#ifdef _WIN32
  _rmdir((folder + "\\sub").c_str());
  _rmdir(folder.c_str());
#else
  rmdir((folder + "/sub").c_str());
  rmdir(folder.c_str());
#endif
}

}  // namespace
}  // namespace qx
