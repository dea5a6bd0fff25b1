#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "reader/LargeBlocks.h"

namespace qx::reader {
namespace {

// Blocks are carved out of a larger mapping and trimmed: a wrong edge
// would unmap a neighbour or leave the block short.
TEST(LargeBlocks, BlocksAroundTheThresholdsHoldTheirBytesToTheLast) {
  const size_t mb = size_t{1} << 20;
  std::vector<ByteBlock> blocks;
  for (size_t size : {size_t{1}, kLargeBlockBytes - 1, kLargeBlockBytes, 2 * mb - 1, 2 * mb,
                      2 * mb + 1, 5 * mb + 3}) {
    ByteBlock b(size);
    ASSERT_NE(b.data(), nullptr);
    std::memset(b.data(), static_cast<int>(size & 0x7F), size);
    blocks.push_back(std::move(b));
  }
  for (const ByteBlock& b : blocks) {
    const char fill = static_cast<char>(b.size() & 0x7F);
    EXPECT_EQ(b.view().front(), fill);
    EXPECT_EQ(b.view().back(), fill);
    EXPECT_EQ(b.view()[b.size() / 2], fill);
  }
  ByteBlock moved = std::move(blocks.back());
  EXPECT_EQ(blocks.back().size(), 0u);
  EXPECT_EQ(moved.size(), 5 * mb + 3);
}

TEST(LargeBlocks, AContainerKeepsItsElementsAsItGrowsOntoLargeBlocksAndBack) {
  std::vector<uint32_t, LargeAllocator<uint32_t>> v;
  for (uint32_t i = 0; i < 1500000; ++i) v.push_back(i * 2654435761u);
  for (uint32_t i = 0; i < v.size(); i += 4099) ASSERT_EQ(v[i], i * 2654435761u);
  v.resize(1000);
  v.shrink_to_fit();
  for (uint32_t i = 0; i < v.size(); ++i) ASSERT_EQ(v[i], i * 2654435761u);
}

}  // namespace
}  // namespace qx::reader
