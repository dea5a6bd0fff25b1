// A save that fails anywhere on the way (the disk full part-way, the data
// not reaching the disk, the close, the move into place) leaves the earlier
// document exactly as it was and nothing of its own beside it; a save never
// goes over the source it was converted from. Faults come through the file
// operations table, around the real operations of the build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "WholeFile.h"
#include "app/SaveDocument.h"
#include "runtime/FileOps.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/NativeText.h"
#endif

namespace qx::app {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
std::string Native(const std::string& gbk) { return gbk; }
#else
constexpr char kSeparator = '/';
std::string Native(const std::string& gbk) { return NativeFromGbk(gbk.c_str()); }
#endif

std::string Slurp(const std::string& pathGbk) { return test::ReadWholeFile(Native(pathGbk)); }

void Put(const std::string& pathGbk, const std::string& bytes) {
  std::ofstream(Native(pathGbk), std::ios::binary) << bytes;
}

bool Exists(const std::string& pathGbk) {
  FileIdentity ignored;
  return DefaultFileOps().identify(pathGbk.c_str(), &ignored);
}

// The names in a folder, sorted, in the build's own encoding.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string n = found.cFileName;
      if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
#else
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
#endif
  std::sort(names.begin(), names.end());
  return names;
}

// What goes wrong, and what the save asked of the table.
struct Faults {
  int64_t bytesBeforeFailure = -1;  // a write fails once this many are written
  bool flushFails = false, closeFails = false, replaceFails = false;
  std::vector<std::string> created, replacedFrom;
};
Faults* g_faults = nullptr;

const FileOps kFaulty = {
    [](const char* n) { return DefaultFileOps().openForWriting(n); },
    [](void* f, const void* bytes, uint32_t length) {
      int64_t& left = g_faults->bytesBeforeFailure;
      if (left < 0 || length <= left) {
        if (left >= 0) left -= length;
        return DefaultFileOps().write(f, bytes, length);
      }
      // The disk fills up: what fits is written, then the write fails.
      if (left > 0) DefaultFileOps().write(f, bytes, static_cast<uint32_t>(left));
      left = 0;
      return false;
    },
    [](void* f) { return DefaultFileOps().close(f) && !g_faults->closeFails; },
    [](const char* n) {
      g_faults->created.push_back(n);
      return DefaultFileOps().createNew(n);
    },
    [](void* f) { return DefaultFileOps().flush(f) && !g_faults->flushFails; },
    [](const char* from, const char* to) {
      g_faults->replacedFrom.push_back(from);
      return !g_faults->replaceFails && DefaultFileOps().replace(from, to);
    },
    [](const char* n) { return DefaultFileOps().remove(n); },
    [](const char* n, FileIdentity* out) { return DefaultFileOps().identify(n, out); },
};

class SafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test: the native tests run in parallel processes.
    folder = std::string(QX_BINARY_DIR) + kSeparator + "safe-save-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
#ifdef _WIN32
    CreateDirectoryA(folder.c_str(), nullptr);
#else
    mkdir(folder.c_str(), 0777);
#endif
    for (const std::string& n : Left()) remove((Native(folder) + kSeparator + n).c_str());
    target = folder + kSeparator + "第一章.doc";
    g_faults = &faults;
    SetFileOps(&kFaulty);
  }
  void TearDown() override {
    SetFileOps(nullptr);
    g_faults = nullptr;
    for (const std::string& n : Left()) remove((Native(folder) + kSeparator + n).c_str());
#ifdef _WIN32
    RemoveDirectoryA(folder.c_str());
#else
    rmdir(folder.c_str());
    unlink((folder + "-link").c_str());
#endif
  }
  std::vector<std::string> Left() { return Entries(Native(folder)); }
  std::vector<std::string> Only(const std::string& nameGbk) { return {Native(nameGbk)}; }

  Faults faults;
  std::string folder, target;
  const std::string earlier = "0:上次保存的文档\r\n", body = "0:题目\r\n答案：A\r\n1:第二题\r\n";
};

TEST_F(SafeSave, AWriteFailingPartWayLeavesTheEarlierDocumentAsItWas) {
  for (int64_t n : {0, 1, 9}) {
    SCOPED_TRACE(n);
    Put(target, earlier);
    faults.bytesBeforeFailure = n;
    EXPECT_FALSE(WriteDocumentFile(target, body));
    EXPECT_EQ(earlier, Slurp(target));
    EXPECT_EQ(Only("第一章.doc"), Left()) << "the temporary file is removed";
  }
}

TEST_F(SafeSave, AFailedFlushCloseOrMoveLeavesTheEarlierDocumentAsItWas) {
  for (bool Faults::*fault : {&Faults::flushFails, &Faults::closeFails, &Faults::replaceFails}) {
    Put(target, earlier);
    faults = {};
    faults.*fault = true;
    EXPECT_FALSE(WriteDocumentFile(target, body));
    EXPECT_EQ(earlier, Slurp(target));
    EXPECT_EQ(Only("第一章.doc"), Left());
  }
}

TEST_F(SafeSave, AFailedFirstSaveLeavesNoFileAtAll) {
  faults.bytesBeforeFailure = 3;
  EXPECT_FALSE(WriteDocumentFile(target, body));
  EXPECT_EQ(std::vector<std::string>{}, Left());
}

TEST_F(SafeSave, TheDocumentIsWrittenBesideAndMovedIntoPlaceWhole) {
  Put(target, earlier);
  ASSERT_TRUE(WriteDocumentFile(target, body));
  EXPECT_EQ(body, Slurp(target));
  EXPECT_EQ(Only("第一章.doc"), Left());
  ASSERT_EQ(1u, faults.created.size());
  EXPECT_EQ(TemporaryDocumentPath(target, 1), faults.created[0]);
  EXPECT_EQ(0u, faults.created[0].find(target)) << "in the target's own folder";
  EXPECT_EQ(faults.created, faults.replacedFrom);
  // An empty body empties the document.
  ASSERT_TRUE(WriteDocumentFile(target, ""));
  EXPECT_EQ("", Slurp(target));
}

// A file of the temporary file's name that is already there (another save
// of the same name going on, or one the user made) is not touched.
TEST_F(SafeSave, ATemporaryNameInUseIsPassedOver) {
  std::string taken = TemporaryDocumentPath(target, 1);
  Put(taken, "someone else's");
  ASSERT_TRUE(WriteDocumentFile(target, body));
  EXPECT_EQ(body, Slurp(target));
  EXPECT_EQ("someone else's", Slurp(taken));
  EXPECT_EQ(TemporaryDocumentPath(target, 2), faults.replacedFrom.at(0));
  remove(Native(taken).c_str());
}

TEST_F(SafeSave, TheSaveReportsTheFailureAndKeepsTheEarlierDocument) {
  std::string saved = DocumentTargetPath(folder, "第一章");
  Put(saved, earlier);
  faults.bytesBeforeFailure = 5;
  SaveOutcome o = SaveDocument("D:\\题库\\第一章.xlsx", folder, body, "");
  EXPECT_EQ(SaveStatus::WriteFailed, o.status);
  EXPECT_EQ("保存失败：" + saved, o.message);
  EXPECT_EQ(earlier, Slurp(saved));
  remove(Native(saved).c_str());
}

// The same file under another spelling: natively through "." and a
// doubled separator, a link to the folder and a second name of the file;
// under Windows with forward slashes, in other letter case and by its
// short name.
std::vector<std::string> OtherSpellings(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  std::string slashes = folder + "\\" + name;
  for (char& c : slashes)
    if (c == '\\') c = '/';
  std::string upper = folder + "\\" + name;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  char shortName[MAX_PATH] = "";
  GetShortPathNameA((folder + "\\" + name).c_str(), shortName, MAX_PATH);
  return {slashes, upper, shortName};
#else
  std::string link = folder + "-link";
  unlink(link.c_str());
  EXPECT_EQ(0, symlink(folder.c_str(), link.c_str()));
  std::string second = folder + "/别名.doc";
  unlink(Native(second).c_str());
  EXPECT_EQ(0, ::link(Native(folder + "/" + name).c_str(), Native(second).c_str()));
  return {folder + "/./" + name, folder + "//" + name, link + "/" + name, second};
#endif
}

TEST_F(SafeSave, OneFileIsKnownUnderEverySpellingOfItsName) {
  Put(target, earlier);
  Put(folder + kSeparator + "第二章.doc", earlier);
  for (const std::string& other : OtherSpellings(folder, "第一章.doc")) {
    EXPECT_NE(target, other);
    EXPECT_TRUE(IsSameFile(target, other)) << other;
  }
  EXPECT_FALSE(IsSameFile(target, folder + kSeparator + "第二章.doc"));
  EXPECT_FALSE(IsSameFile(target, folder + kSeparator + "没有这个文件.doc"));
  EXPECT_FALSE(IsSameFile(target, ""));
  EXPECT_FALSE(IsSameFile(target, folder)) << "a folder is not the file in it";
}

// A text question bank named .doc converts (it is read as delimited text)
// and its document would be named as it is: saved into its own folder, it
// would replace the bank with a conversion of itself.
TEST_F(SafeSave, TheSourceIsNeverSavedOverAndAnotherDocumentOfItsNameIs) {
  const std::string bank = "题型,题目\r\n单选题,第一题\r\n";
  std::string saved = DocumentTargetPath(folder, "第一章");
  Put(saved, bank);
#ifdef _WIN32
  std::string source = saved;
  std::replace(source.begin(), source.end(), '\\', '/');
#else
  // Natively the target's backslash is part of a name: spell the source
  // differently through the build folder.
  std::string source =
      std::string(QX_BINARY_DIR) + "/." + saved.substr(std::string(QX_BINARY_DIR).size());
#endif
  ASSERT_NE(saved, source);
  // The name comes from the file-name box, the file from the source.
  SaveOutcome o = SaveDocument("D:\\题库\\第一章.doc", folder, body, source);
  EXPECT_EQ(SaveStatus::SameAsSource, o.status);
  EXPECT_EQ(saved, o.targetPath);
  EXPECT_EQ(SameAsSourceMessage(saved), o.message);
  EXPECT_NE(std::string::npos, o.message.find(saved));
  EXPECT_EQ(bank, Slurp(saved)) << "the bank is as it was";
  EXPECT_TRUE(faults.created.empty()) << "nothing was written";

  // Converted from somewhere else, a document of that name is replaced.
  o = SaveDocument("D:\\别处\\第一章.xls", folder, body, "D:\\别处\\第一章.xls");
  EXPECT_EQ(SaveStatus::Saved, o.status);
  EXPECT_EQ(body, Slurp(saved));
  remove(Native(saved).c_str());
  EXPECT_FALSE(Exists(saved));
}

}  // namespace
}  // namespace qx::app
