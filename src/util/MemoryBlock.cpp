#include "util/MemoryBlock.h"

#include <cstdlib>

MemoryBlock *NewBlock(uint32_t size) {
  auto *block = static_cast<MemoryBlock *>(std::malloc(sizeof(MemoryBlock)));
  if (!block) return nullptr;
  // malloc(0) may answer null; one spare byte keeps an empty block distinct
  // from a failed one.
  block->bytes = static_cast<uint8_t *>(std::malloc(size ? size : 1));
  if (!block->bytes) {
    // A record without its bytes would look usable to the caller.
    std::free(block);
    return nullptr;
  }
  block->size = size;
  return block;
}

uint32_t BlockSize(const MemoryBlock *block) { return block ? block->size : 0; }

uint8_t *BlockBytes(MemoryBlock *block) { return block ? block->bytes : nullptr; }

void DisposeBlock(MemoryBlock *block) {
  if (!block) return;
  std::free(block->bytes);
  std::free(block);
}

void LockBlock(MemoryBlock *) {}

void UnlockBlock(MemoryBlock *) {}
