#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "WholeFile.h"
#include "app/SaveDocument.h"
#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>

#include "runtime/NativeText.h"
#endif

namespace qx::app {
namespace {

TEST(DocumentName, LastPartWithItsExtensionCutAtTheLastDot) {
  EXPECT_EQ("第一章", DocumentBaseName("D:\\题库\\第一章.xls"));
  EXPECT_EQ("book", DocumentBaseName("book.xlsx"));
  EXPECT_EQ("a", DocumentBaseName("a.xl"));
  EXPECT_EQ("v1.2", DocumentBaseName("C:\\v1.2.xls"));
  EXPECT_EQ("无扩展名", DocumentBaseName("C:\\无扩展名"));
  EXPECT_EQ("题库", DocumentBaseName("D:\\题库\\"));  // trailing backslash
  EXPECT_EQ("", DocumentBaseName(""));
}

TEST(DocumentName, ATrailByteThatLooksLikeADotOrBackslashIsPartOfItsCharacter) {
  // 0x81 0x5C is one character whose trail byte is a backslash; 0x81 0x2E
  // would be one whose trail byte is a dot (not GBK, but never a split).
  EXPECT_EQ("\x81\x5C" "x", DocumentBaseName("C:\\\x81\x5C" "x.xls"));
  EXPECT_EQ("题\x81\x2E", DocumentBaseName("题\x81\x2E"));
}

TEST(DocumentTarget, FolderBackslashNameDoc) {
  EXPECT_EQ("E:\\out\\第一章.doc", DocumentTargetPath("E:\\out", "第一章"));
  EXPECT_EQ("C:\\\\x.doc", DocumentTargetPath("C:\\", "x"));
}

// Paths are GBK, as the program holds them; the native file system
// is UTF-8.
std::string Slurp(const std::string& pathGbk) {
#ifdef _WIN32
  const std::string& path = pathGbk;
#else
  std::string path = NativeFromGbk(pathGbk.c_str());
#endif
  return test::ReadWholeFile(path);
}

// The product joins with a backslash. Natively that makes a file whose name
// holds a backslash, beside the build folder: still one we can read back.
const std::string kFolder = std::string(QX_BINARY_DIR);
std::string Target(const std::string& name) { return kFolder + "\\" + name; }

TEST(SaveDocument, WritesTheBodyBytesExactly) {
  std::string body = std::string("0:题目\r\n答案\0后\r\n", 17);
  SaveOutcome o = SaveDocument("D:\\题库\\保存测试.xlsx", kFolder, body, "");
  EXPECT_EQ(SaveStatus::Saved, o.status);
  EXPECT_EQ("", o.message);
  EXPECT_EQ(Target("保存测试.doc"), o.targetPath);
  EXPECT_EQ(body, Slurp(o.targetPath));
  // Saving again overwrites; an empty body gives an empty file.
  SaveDocument("保存测试.xls", kFolder, "", "");
  EXPECT_EQ("", Slurp(o.targetPath));
#ifdef _WIN32
  remove(o.targetPath.c_str());
#else
  remove(NativeFromGbk(o.targetPath.c_str()).c_str());
#endif
}

TEST(SaveDocument, EmptyFileNameBoxIsReportedBeforeTheFolder) {
  SaveOutcome o = SaveDocument("", "", "body", "");
  EXPECT_EQ(SaveStatus::NoFileName, o.status);
  EXPECT_EQ("请选择文件：", o.message);
  o = SaveDocument("a.xls", "", "body", "");
  EXPECT_EQ(SaveStatus::NoFolder, o.status);
  EXPECT_EQ("请选择保存目录：", o.message);
}

TEST(SaveDocument, AFailedWriteIsReportedWithTheTarget) {
  std::string folder = kFolder + "/no such folder/sub";
  SaveOutcome o = SaveDocument("x.xls", folder, "body", "");
  EXPECT_EQ(SaveStatus::WriteFailed, o.status);
  EXPECT_EQ("保存失败：" + folder + "\\x.doc", o.message);
}

#if !defined(_WIN32) && SIZE_MAX > UINT32_MAX
// Bodies the 32-bit byte set cannot hold (only the 64-bit headless
// converter can make one): refused, nothing written, instead of an empty
// or cut file reported as saved. The bodies are views of untouched,
// unreserved zero pages, so no memory is spent.
TEST(SaveDocument, BodiesPastTheByteSetLimitAreRefused) {
  const size_t span = (size_t{1} << 32) + 16;
  void* zeros = mmap(nullptr, span, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(MAP_FAILED, zeros);
  const char* bytes = static_cast<const char*>(zeros);
  const std::string target = Target("过大.doc");
  remove(NativeFromGbk(target.c_str()).c_str());
  // 2^31 bytes narrowed to 32 bits is negative; 2^32 + 10 is 10.
  for (size_t size : {kMaxDocumentBytes + 1, size_t{1} << 31, (size_t{1} << 32) + 10}) {
    SaveOutcome o = SaveDocument("过大.xlsx", kFolder, std::string_view(bytes, size), "");
    EXPECT_EQ(SaveStatus::TooLarge, o.status) << size;
    EXPECT_EQ("文档超过 2 GiB，无法保存：" + target, o.message);
    EXPECT_FALSE(WriteDocumentFile(target, std::string_view(bytes, size))) << size;
    EXPECT_NE(0, access(NativeFromGbk(target.c_str()).c_str(), F_OK)) << "written: " << size;
  }
  munmap(zeros, span);
}
#endif

}  // namespace
}  // namespace qx::app
