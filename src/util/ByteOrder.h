// ByteOrder.h: byte reversal for reading the big-endian data the plugin
// carries (the packed debug-cube model) on little-endian machines.
//
// Contract
//   - ReverseBytes reverses n bytes in place: byte i swaps with byte n-1-i for
//     i below n/2, so an odd n leaves the middle byte where it is and n of 0 or
//     1 changes nothing. A null buffer is allowed when n is 0.
//   - SwapWord32 and SwapWord16 return their argument with its bytes reversed;
//     they do not look at the machine's byte order, so callers decide when a
//     value needs swapping.
//
// Usage
//   #include "util/ByteOrder.h"
//   uint32_t size = SwapWord32(wordReadLittleEndian);   // big-endian field
//   ReverseBytes(buffer, 4);
#pragma once

#include <cstdint>

void ReverseBytes(void *buffer, uint32_t n);
uint32_t SwapWord32(uint32_t value);
uint16_t SwapWord16(uint16_t value);
