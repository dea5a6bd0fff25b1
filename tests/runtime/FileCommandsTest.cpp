#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "TestSupport.h"
#include "WholeFile.h"
#include "runtime/Commands.h"
#include "runtime/FileOps.h"

namespace qx {
namespace {

using test::ReadWholeFile;

class WriteBytesToFileTest : public ::testing::Test {
 protected:
  // One file per test: the native tests run in parallel processes.
  std::string path = std::string(QX_BINARY_DIR) + "/write-bytes-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
  void TearDown() override {
    SetFileOps(nullptr);
    remove(path.c_str());
  }
  bool Write(std::vector<TaggedValue> byteSets) {
    std::vector<TaggedValue> args = {MakeTextValue(path.c_str())};
    args.insert(args.end(), byteSets.begin(), byteSets.end());
    TaggedValue r = CallCommand(WriteBytesToFile, static_cast<int32_t>(args.size()), args.data());
    EXPECT_EQ(kTagBool, r.tag);
    return r.lo != 0;
  }
};

TEST_F(WriteBytesToFileTest, WritesEveryByteSetInOrderAndNothingElse) {
  void* a = MakeByteSet("0:题目\r\n", 8);
  void* b = MakeByteSet("\0\x01", 2);
  EXPECT_TRUE(Write({MakeByteSetValue(a), MakeByteSetValue(nullptr), MakeByteSetValue(b)}));
  EXPECT_EQ(std::string("0:题目\r\n\0\x01", 10), ReadWholeFile(path));
  FreeMemory(a);
  FreeMemory(b);
}

TEST_F(WriteBytesToFileTest, EmptyByteSetTruncatesToAnEmptyFile) {
  { std::ofstream(path) << "old content"; }
  EXPECT_TRUE(Write({MakeByteSetValue(nullptr)}));
  EXPECT_EQ("", ReadWholeFile(path));
}

TEST_F(WriteBytesToFileTest, EmptyNameOrUnopenableFileGivesFalse) {
  TaggedValue noName[] = {MakeTextValue(nullptr)};
  EXPECT_EQ(0u, CallCommand(WriteBytesToFile, 1, noName).lo);
  path = std::string(QX_BINARY_DIR) + "/no-such-folder/x.doc";
  EXPECT_FALSE(Write({}));
}

// A disk that fills up after the first byte set.
int g_writes = 0;
const FileOps kFailingSecondWrite = {
    [](const char* n) { return DefaultFileOps().openForWriting(n); },
    [](void* f, const void* b, uint32_t len) {
      return ++g_writes == 1 && DefaultFileOps().write(f, b, len);
    },
    [](void* f) { return DefaultFileOps().close(f); },
    nullptr, nullptr, nullptr, nullptr, nullptr,  // the command needs no more
};

TEST_F(WriteBytesToFileTest, AWriteErrorGivesFalseAndKeepsWhatWasWritten) {
  g_writes = 0;
  SetFileOps(&kFailingSecondWrite);
  void* a = MakeByteSet("first", 5);
  void* b = MakeByteSet("second", 6);
  EXPECT_FALSE(Write({MakeByteSetValue(a), MakeByteSetValue(b)}));
  EXPECT_EQ("first", ReadWholeFile(path));
  FreeMemory(a);
  FreeMemory(b);
}

}  // namespace
}  // namespace qx
