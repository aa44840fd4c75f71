#include <gtest/gtest.h>

#include <cstring>

#include "util/MemoryBlock.h"

TEST(MemoryBlock, OwnsExactlyItsSizeInBytes) {
  for (uint32_t size : {0u, 1u, 7u, 788268u}) {
    MemoryBlock *block = NewBlock(size);
    ASSERT_NE(block, nullptr) << size;
    EXPECT_EQ(BlockSize(block), size);
    ASSERT_NE(BlockBytes(block), nullptr) << "even an empty block has its bytes";
    LockBlock(block);
    // Every byte is writable (the sanitizer build checks the bounds).
    if (size) std::memset(BlockBytes(block), 0xA5, size);
    UnlockBlock(block);
    DisposeBlock(block);
  }
}

TEST(MemoryBlock, NoneIsAccepted) {
  EXPECT_EQ(BlockSize(nullptr), 0u);
  EXPECT_EQ(BlockBytes(nullptr), nullptr);
  DisposeBlock(nullptr);
}

TEST(MemoryBlock, BytesThatCannotBeAllocatedGiveNoBlock) {
  // A whole 32-bit address space cannot be had; a record without bytes would
  // pass the caller's "did a block come back" test and be written through.
  EXPECT_EQ(NewBlock(0xFFFFFFFFu), nullptr);
}
