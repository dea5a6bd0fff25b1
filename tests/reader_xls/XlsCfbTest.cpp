// The compound file around the workbook stream: layouts writers use, and
// damage that must end in a clear error rather than a hang or a crash.
#include <gtest/gtest.h>

#include <random>

#include "XlsTestUtil.h"

using namespace qx::test;
using qx::reader::Workbook;

namespace {

// A workbook stream of about 7 KB: too big for the mini stream.
std::string BigStream(int cells = 400) {
  std::string body;
  for (int i = 0; i < cells; ++i)
    body += Number(static_cast<uint16_t>(i), 0, i);
  return OneSheet(body);
}

void ExpectBigStream(const Workbook& b, int cells = 400) {
  ASSERT_EQ(b.sheets.size(), 1u);
  ASSERT_EQ(b.sheets[0].cells.size(), static_cast<size_t>(cells));
  EXPECT_EQ(b.sheets[0].cells.back().row, cells);
  EXPECT_EQ(b.sheets[0].cells.back().number, cells - 1);
}

std::string SmallStream() { return OneSheet(Label(0, 0, u"小")); }

// ---- Layouts ----

TEST(XlsContainer, RegularAndMiniStreamsInBothSectorSizes) {
  for (uint32_t shift : {9u, 12u}) {
    SCOPED_TRACE(shift);
    Cfb big = BuildCfb(BigStream(), {shift});
    ASSERT_FALSE(big.mini);
    ExpectBigStream(ReadOk(big.bytes));

    Cfb small = BuildCfb(SmallStream(), {shift});
    ASSERT_TRUE(small.mini);
    EXPECT_EQ(TextAt(ReadOk(small.bytes), 0, 1, 1), "小");
  }
}

// More FAT sectors than the header can name: the rest are found through
// the DIFAT chain (two DIFAT sectors here).
TEST(XlsContainer, FatListedThroughDifatChain) {
  CfbOptions opt;
  opt.minFatSectors = 109 + 127 + 5;
  ExpectBigStream(ReadOk(XlsFile(BigStream(), opt)));
}

TEST(XlsContainer, StreamNamesAreCaseInsensitiveAndBookIsAccepted) {
  for (const char16_t* name : {u"WORKBOOK", u"workbook", u"Book"}) {
    CfbOptions opt;
    opt.streamName = name;
    EXPECT_EQ(TextAt(ReadOk(XlsFile(SmallStream(), opt)), 0, 1, 1), "小");
  }
  CfbOptions other;
  other.streamName = u"Workbook2";
  EXPECT_NE(ReadErr(XlsFile(SmallStream(), other)).find("找不到工作簿流"),
            std::string::npos);
}

// A file whose last sector is cut short still reads when the stream's
// bytes all lie before the cut.
TEST(XlsContainer, ShortLastSectorHarmlessWhenUnused) {
  Cfb c = BuildCfb(BigStream());
  std::string stream = BigStream();
  size_t end = c.SectorOffset(c.streamStart) + stream.size();
  ASSERT_LT(end, c.bytes.size());
  c.bytes.resize(end);
  ExpectBigStream(ReadOk(c.bytes));
}

// ---- Damage ----

TEST(XlsContainerDamage, HeaderFields) {
  EXPECT_NE(ReadErr("").find("太短"), std::string::npos);
  EXPECT_NE(ReadErr(std::string(600, 'x')).find("签名"), std::string::npos);
  std::string f = XlsFile(SmallStream());
  std::string shift = f;
  shift[0x1E] = 10;
  EXPECT_NE(ReadErr(shift).find("扇区大小"), std::string::npos);
  std::string fats = f;
  Put32(&fats, 0x2C, 0x10000000);
  EXPECT_NE(ReadErr(fats).find("分配表"), std::string::npos);
  std::string fatSect = f;
  Put32(&fatSect, 0x4C, 0x00FFFFFF);
  EXPECT_NE(ReadErr(fatSect).find("越界"), std::string::npos);
  std::string header = f.substr(0, 512);
  EXPECT_NE(ReadErr(header).find("截断"), std::string::npos);
}

TEST(XlsContainerDamage, CyclicChains) {
  // The stream's last sector pointing back at its first.
  Cfb c = BuildCfb(BigStream());
  uint32_t sectors = static_cast<uint32_t>(
      (BigStream().size() + c.sectorSize - 1) / c.sectorSize);
  c.SetFat(c.streamStart + sectors - 1, c.streamStart);
  EXPECT_NE(ReadErr(c.bytes).find("扇区链循环"), std::string::npos);

  // A sector pointing at itself in the middle.
  Cfb self = BuildCfb(BigStream());
  self.SetFat(self.streamStart + 3, self.streamStart + 3);
  EXPECT_NE(ReadErr(self.bytes).find("循环"), std::string::npos);

  // The directory chain looping.
  Cfb dir = BuildCfb(SmallStream());
  dir.SetFat(dir.dirStart, dir.dirStart);
  EXPECT_NE(ReadErr(dir.bytes).find("循环"), std::string::npos);

  // A mini stream chain looping.
  Cfb mini = BuildCfb(SmallStream());
  mini.SetMiniFat(1, 0);
  EXPECT_NE(ReadErr(mini.bytes).find("循环"), std::string::npos);

  // A DIFAT chain looping before all FAT sectors are named.
  CfbOptions opt;
  opt.minFatSectors = 109 + 127 + 5;
  Cfb difat = BuildCfb(BigStream(), opt);
  size_t firstDifat = difat.SectorOffset(opt.minFatSectors);
  Put32(&difat.bytes, firstDifat + difat.sectorSize - 4, opt.minFatSectors);
  EXPECT_NE(ReadErr(difat.bytes).find("循环"), std::string::npos);
}

TEST(XlsContainerDamage, SectorNumbersOutOfRange) {
  Cfb c = BuildCfb(BigStream());
  c.SetFat(c.streamStart + 1, 100000);
  EXPECT_NE(ReadErr(c.bytes).find("越界"), std::string::npos);

  Cfb start = BuildCfb(BigStream());
  Put32(&start.bytes, start.DirEntry(1) + 0x74, 0x00ABCDEF);
  EXPECT_NE(ReadErr(start.bytes).find("越界"), std::string::npos);

  Cfb mini = BuildCfb(SmallStream());
  mini.SetMiniFat(0, 5000);
  EXPECT_NE(ReadErr(mini.bytes).find("越界"), std::string::npos);

  // A free sector inside a chain.
  Cfb freed = BuildCfb(BigStream());
  freed.SetFat(freed.streamStart + 2, kFree);
  EXPECT_NE(ReadErr(freed.bytes).find("中断"), std::string::npos);
}

TEST(XlsContainerDamage, SizesClaimingMoreThanExists) {
  // The chain ends early.
  Cfb early = BuildCfb(BigStream());
  early.SetFat(early.streamStart + 1, kEnd);
  EXPECT_NE(ReadErr(early.bytes).find("短于"), std::string::npos);

  // A size larger than the whole file: refused before anything is
  // allocated for it.
  Cfb huge = BuildCfb(BigStream(), {12});
  Put32(&huge.bytes, huge.DirEntry(1) + 0x78, 0xFFFFFFF0);
  Put32(&huge.bytes, huge.DirEntry(1) + 0x7C, 0x7FFFFFFF);
  EXPECT_NE(ReadErr(huge.bytes).find("超出文件"), std::string::npos);

  // A mini stream entry claiming 4000 bytes in a 1-sector chain.
  Cfb mini = BuildCfb(SmallStream());
  Put32(&mini.bytes, mini.DirEntry(1) + 0x78, 4000);
  EXPECT_FALSE(ReadErr(mini.bytes).empty());
}

TEST(XlsContainerDamage, TruncatedFiles) {
  for (uint32_t shift : {9u, 12u}) {
    Cfb c = BuildCfb(BigStream(), {shift});
    const std::string& f = c.bytes;
    // The last byte of the stream itself (what follows is padding).
    size_t lastByte = c.SectorOffset(c.streamStart) + BigStream().size() - 1;
    for (size_t keep : {lastByte, f.size() / 2, f.size() / 3,
                        static_cast<size_t>(1u << shift) + 7}) {
      SCOPED_TRACE(keep);
      ReadErr(f.substr(0, keep));
    }
  }
}

// Random bytes, and valid files with random damage, never crash or hang;
// every failure says what is wrong.
TEST(XlsContainerDamage, RandomBytesAndMutations) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 200; ++i) {
    std::string junk(rng() % 5000, '\0');
    for (char& ch : junk) ch = static_cast<char>(rng());
    if (i % 2 == 0 && junk.size() >= 8)
      junk.replace(0, 8, XlsFile(SmallStream()).substr(0, 8));
    ReadErr(junk);
  }
  const std::string files[] = {
      XlsFile(BigStream()), XlsFile(SmallStream(), {12}),
      XlsFile(OneSheet(LabelSst(0, 0, 0), "",
                       Rec(0x00FC, U32(1) + U32(1) + U16(4) + U8(0) + "ab") +
                           Continue(U8(1) + Chars(u"中文", true))))};
  for (const std::string& good : files) {
    for (int i = 0; i < 300; ++i) {
      std::string f = good;
      int flips = 1 + static_cast<int>(rng() % 8);
      for (int k = 0; k < flips; ++k)
        f[rng() % f.size()] = static_cast<char>(rng());
      Workbook b;
      std::string error;
      if (!qx::reader::ReadXls(f, &b, &error)) {
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
      } else {
        for (const auto& s : b.sheets)
          for (size_t j = 0; j < s.cells.size(); ++j) {
            if (j > 0) {
              const auto& p = s.cells[j - 1];
              EXPECT_TRUE(p.row < s.cells[j].row ||
                          (p.row == s.cells[j].row && p.col < s.cells[j].col));
            }
            EXPECT_LE(s.cells[j].col, 256);
            if (s.cells[j].type == qx::reader::CellType::Text) {
              EXPECT_LT(s.cells[j].textId, b.strings.size());
            }
          }
      }
    }
  }
}

}  // namespace
