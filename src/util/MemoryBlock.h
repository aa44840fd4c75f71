// MemoryBlock.h: an owned heap block of bytes with its size, used for the
// unpacked debug-cube model.
//
// Contract
//   - A MemoryBlock is a two-word record: the pointer to its bytes, then their
//     size (unsigned 32-bit). It owns the bytes; DisposeBlock frees both.
//   - NewBlock(size) gives a block of exactly size bytes of undefined content,
//     or none (nullptr) when the record or its bytes cannot be allocated, so
//     "a block came back" always means the bytes are there. A block of size 0
//     still has a valid (unusable) pointer.
//   - BlockSize, BlockBytes and DisposeBlock accept none (0, nullptr, nothing).
//   - LockBlock and UnlockBlock do nothing: heap blocks never move. Callers
//     still bracket direct access to the bytes with them.
//
// Usage
//   #include "util/MemoryBlock.h"
//   MemoryBlock *block = NewBlock(n);
//   if (!block) return nullptr;
//   LockBlock(block);
//   memcpy(BlockBytes(block), source, BlockSize(block));
//   UnlockBlock(block);
//   DisposeBlock(block);
#pragma once

#include <cstddef>
#include <cstdint>

struct MemoryBlock {
  uint8_t *bytes;
  uint32_t size;
};
static_assert(sizeof(MemoryBlock) == 8, "a memory block is two 32-bit words");
static_assert(offsetof(MemoryBlock, bytes) == 0 && offsetof(MemoryBlock, size) == 4, "pointer, then size");

MemoryBlock *NewBlock(uint32_t size);
uint32_t BlockSize(const MemoryBlock *block);
uint8_t *BlockBytes(MemoryBlock *block);
void DisposeBlock(MemoryBlock *block);
void LockBlock(MemoryBlock *block);
void UnlockBlock(MemoryBlock *block);
