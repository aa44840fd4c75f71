#include "util/ByteOrder.h"

void ReverseBytes(void *buffer, uint32_t n) {
  auto *bytes = static_cast<unsigned char *>(buffer);
  for (uint32_t i = 0; i < n / 2; ++i) {
    const unsigned char low = bytes[i];
    bytes[i] = bytes[n - 1 - i];
    bytes[n - 1 - i] = low;
  }
}

uint32_t SwapWord32(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

uint16_t SwapWord16(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }
