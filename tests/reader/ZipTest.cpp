#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TestZip.h"
#include "reader/Zip.h"
#include "reader/ZipStream.h"

namespace qx::zip {
namespace {

using test::MakeZip;
using test::PatchCentral32;
using test::ZipOptions;

std::string ExtractNamed(Archive& a, std::string_view name, std::string* error) {
  const Entry* e = a.Find(name);
  if (!e) return "<missing>";
  std::string out;
  if (!a.Extract(*e, &out, error)) return "<error>";
  return out;
}

TEST(Zip, ReadsStoredAndDeflatedEntries) {
  std::string big(100000, 'x');
  std::string bytes = MakeZip({{"a.txt", "stored text", false}, {"dir/b.xml", big, true}, {"empty", "", true}});
  Archive a;
  std::string err;
  ASSERT_TRUE(a.Open(bytes, &err)) << err;
  ASSERT_EQ(a.entries().size(), 3u);
  EXPECT_EQ(ExtractNamed(a, "a.txt", &err), "stored text");
  EXPECT_EQ(ExtractNamed(a, "dir/b.xml", &err), big);
  EXPECT_EQ(ExtractNamed(a, "empty", &err), "");
  // Part names are case-insensitive, and may be written absolute.
  EXPECT_EQ(ExtractNamed(a, "/DIR/B.xml", &err), big);
  EXPECT_EQ(a.Find("nope"), nullptr);
}

TEST(Zip, ReadsZip64Records) {
  std::string bytes = MakeZip({{"xl/workbook.xml", "<workbook/>"}, {"s", "stored", false}}, ZipOptions{true});
  Archive a;
  std::string err;
  ASSERT_TRUE(a.Open(bytes, &err)) << err;
  EXPECT_EQ(ExtractNamed(a, "xl/workbook.xml", &err), "<workbook/>");
  EXPECT_EQ(ExtractNamed(a, "s", &err), "stored");
}

TEST(Zip, ToleratesCommentAndLeadingStub) {
  std::string bytes = MakeZip({{"a", "hello"}});
  bytes[bytes.size() - 2] = 5;  // comment length
  bytes += "note!";
  std::string withStub = "MZ-stub-before-the-archive" + bytes;
  for (const std::string& b : {bytes, withStub}) {
    Archive a;
    std::string err;
    ASSERT_TRUE(a.Open(b, &err)) << err;
    EXPECT_EQ(ExtractNamed(a, "a", &err), "hello") << err;
  }
}

TEST(Zip, RefusesZipBombs) {
  std::string zeros(4 << 20, '\0');
  std::string bytes = MakeZip({{"bomb", zeros}});
  ASSERT_LT(bytes.size(), 20000u);
  Archive a;
  std::string err;
  ASSERT_TRUE(a.Open(bytes, &err));
  a.SetLimits(1 << 20, 8 << 20);
  EXPECT_EQ(ExtractNamed(a, "bomb", &err), "<error>");
  EXPECT_NE(err.find("上限"), std::string::npos) << err;

  // Several entries each under the entry cap but together over the total.
  std::string part(600000, 'z');
  std::string many = MakeZip({{"1", part}, {"2", part}, {"3", part}});
  Archive b;
  ASSERT_TRUE(b.Open(many, &err));
  b.SetLimits(1 << 20, 1300000);
  EXPECT_EQ(ExtractNamed(b, "1", &err), part);
  EXPECT_EQ(ExtractNamed(b, "2", &err), part);
  EXPECT_EQ(ExtractNamed(b, "3", &err), "<error>");
}

TEST(Zip, RefusesBigClaimsWithoutAllocating) {
  // 3 GiB claimed: refused by the default cap before any memory is taken.
  ZipOptions claims;
  claims.zip64 = true;
  claims.claimedSize = int64_t{3} << 30;
  Archive a;
  std::string err;
  std::string bytes = MakeZip({{"x", "tiny"}}, claims);
  ASSERT_TRUE(a.Open(bytes, &err)) << err;
  EXPECT_EQ(ExtractNamed(a, "x", &err), "<error>");
  // 100 MiB claimed for 30 bytes of deflate is impossible, so corrupt.
  claims.claimedSize = 100 << 20;
  bytes = MakeZip({{"x", "tiny"}}, claims);
  ASSERT_TRUE(a.Open(bytes, &err));
  EXPECT_EQ(ExtractNamed(a, "x", &err), "<error>");
}

// Two entries of one name (a leading '/' does not make another) are
// refused whichever comes first; names that differ in case are two names.
TEST(Zip, RefusesTwoEntriesOfOneName) {
  for (const std::string& second : {std::string("a/b.xml"), std::string("/a/b.xml")}) {
    Archive a;
    std::string err;
    const std::string bytes = MakeZip({{"a/b.xml", "one"}, {"c", "x"}, {second, "two"}});
    EXPECT_FALSE(a.Open(bytes, &err));
    EXPECT_EQ(err, "压缩包中有两个同名的项“a/b.xml”，无法确定该读哪一个");
    EXPECT_TRUE(a.entries().empty());
  }
  // The archive reads from the caller's bytes, which must outlive it.
  const std::string bytes = MakeZip({{"a/b.xml", "one"}, {"a/B.xml", "two"}});
  Archive a;
  std::string err;
  EXPECT_TRUE(a.Open(bytes, &err)) << err;
  EXPECT_EQ(ExtractNamed(a, "a/B.xml", &err), "two");
}

TEST(Zip, DetectsLiesAndDamage) {
  std::string err;
  ZipOptions small;
  small.claimedSize = 10;  // the data inflates to more
  Archive a;
  std::string bytes = MakeZip({{"x", std::string(5000, 'q')}}, small);
  ASSERT_TRUE(a.Open(bytes, &err));
  EXPECT_EQ(ExtractNamed(a, "x", &err), "<error>");

  ZipOptions crc;
  crc.badCrc = true;
  bytes = MakeZip({{"x", "payload"}}, crc);
  ASSERT_TRUE(a.Open(bytes, &err));
  EXPECT_EQ(ExtractNamed(a, "x", &err), "<error>");
  EXPECT_NE(err.find("校验"), std::string::npos);

  EXPECT_FALSE(a.Open("PK\x03\x04 not really", &err));
  EXPECT_FALSE(a.Open("", &err));
}

// Every cut of an archive loses its central directory or an entry's data:
// it is refused, with a message. Random damage either leaves what is
// extracted exactly as stored (the bytes hit did not matter) or is refused
// with a message: never different data handed out as sound.
TEST(Zip, TruncatedAndCorruptedArchivesFailCleanly) {
  const std::string a = std::string(3000, 'a') + "end", b = "bbb";
  std::string bytes = MakeZip({{"a.xml", a}, {"b", b, false}});
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    Archive archive;
    std::string err, out;
    bool refused = !archive.Open(std::string_view(bytes).substr(0, cut), &err);
    for (size_t i = 0; !refused && i < archive.entries().size(); ++i)
      refused = !archive.Extract(archive.entries()[i], &out, &err);
    EXPECT_TRUE(refused) << "cut at " << cut;
    EXPECT_FALSE(err.empty()) << "cut at " << cut;
  }
  std::mt19937 rng(7);
  int refusals = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = bytes;
    for (int k = 0; k < 4; ++k) damaged[rng() % damaged.size()] = static_cast<char>(rng());
    Archive archive;
    std::string err, out;
    if (!archive.Open(damaged, &err)) {
      EXPECT_FALSE(err.empty());
      ++refusals;
      continue;
    }
    for (size_t i = 0; i < archive.entries().size(); ++i) {
      err.clear();
      if (archive.Extract(archive.entries()[i], &out, &err)) {
        EXPECT_EQ(out, i == 0 ? a : b) << "round " << round;
      } else {
        EXPECT_FALSE(err.empty());
        ++refusals;
      }
    }
  }
  EXPECT_GT(refusals, 1000);  // most damage is noticed
}

// The member read through a stream `piece` bytes at a time, against what
// it should hold: "whole", "part" (a proper prefix) or "wrong", then "!"
// and the error if it failed.
std::string Streamed(std::string_view bytes, std::string_view expected, size_t piece) {
  Archive a;
  std::string err;
  if (!a.Open(bytes, &err)) return "!" + err;
  EntryStream stream;
  if (!a.OpenStream(a.entries().at(0), &stream, &err)) return "!" + err;
  std::string buf(piece, '\0'), got;
  while (size_t n = stream.Read(buf.data(), piece)) got.append(buf, 0, n);
  std::string seen = got == expected ? "whole" : expected.substr(0, got.size()) == got ? "part" : "wrong";
  return stream.failed() ? seen + "!" + stream.error() : seen;
}

TEST(ZipStream, PiecesMakeTheWholeAndDamageIsRefused) {
  std::string text;
  for (int i = 0; i < 60000; ++i) text += "<c>" + std::to_string(i % 1000) + "</c>";
  const std::string deflated = MakeZip({{"x", text}}), stored = MakeZip({{"x", text, false}});
  std::string badCrc = deflated, cut = deflated;
  PatchCentral32(&badCrc, "x", test::kCentralCrc, 0x12345678);
  // The deflate data cut short: the stream ends before its last block.
  PatchCentral32(&cut, "x", test::kCentralCompressedSize, static_cast<uint32_t>(test::Deflate(text).size() / 2));
  ZipOptions shorter;
  shorter.claimedSize = static_cast<int64_t>(text.size()) - 1;
  const std::string longer = MakeZip({{"x", text}}, shorter);
  for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}, size_t{1} << 20}) {
    EXPECT_EQ(Streamed(deflated, text, piece), "whole");
    EXPECT_EQ(Streamed(stored, text, piece), "whole");
    // Known only once the last byte is out of the inflater.
    EXPECT_EQ(Streamed(badCrc, text, piece), "part!压缩包已损坏：校验和不符");
    EXPECT_EQ(Streamed(cut, text, piece), "part!压缩包已损坏：压缩数据无效或不完整");
    EXPECT_EQ(Streamed(longer, text, piece), "part!压缩包已损坏：解压后的数据比记录的长");
  }
  // Damage inside the deflate data itself: a block type that does not
  // exist (the first byte's bits 1-2 set to 11).
  std::string badBlock = deflated;
  const size_t data = 30 + 1;  // the local header of "x", then its data
  badBlock[data] = static_cast<char>(badBlock[data] | 0x06);
  EXPECT_EQ(Streamed(badBlock, text, 4096), "part!压缩包已损坏：压缩数据无效或不完整");
}

// Dropped half way, a stream gives back what it holds (the sanitizer
// build sees a leak or a use after free).
TEST(ZipStream, CanBeLeftUnfinished) {
  std::string bytes = MakeZip({{"x", std::string(4 << 20, 'z')}});
  Archive a;
  std::string err;
  ASSERT_TRUE(a.Open(bytes, &err));
  EntryStream stream;
  ASSERT_TRUE(a.OpenStream(a.entries()[0], &stream, &err));
  char buf[100];
  EXPECT_EQ(stream.Read(buf, sizeof buf), sizeof buf);
  EXPECT_EQ(std::string(buf, sizeof buf), std::string(sizeof buf, 'z'));
}

}  // namespace
}  // namespace qx::zip
