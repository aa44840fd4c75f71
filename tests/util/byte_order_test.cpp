#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "util/ByteOrder.h"

TEST(ByteOrder, ReverseBytesMirrorsTheBuffer) {
  struct Case {
    std::string before, after;
  };
  const Case cases[] = {
      {"", ""},                // n 0: nothing to touch
      {"a", "a"},              // n 1: unchanged
      {"ab", "ba"},            //
      {"abc", "cba"},          // odd: the middle byte stays
      {"abcde", "edcba"},      //
      {"abcdefgh", "hgfedcba"} //
  };
  for (const Case &c : cases) {
    // One guard byte after the buffer shows nothing past n is touched.
    std::string buffer = c.before + '#';
    ReverseBytes(buffer.data(), static_cast<uint32_t>(c.before.size()));
    EXPECT_EQ(buffer, c.after + '#') << "reversing \"" << c.before << '"';
  }
  ReverseBytes(nullptr, 0);
}

TEST(ByteOrder, SwapWordsReverseTheirBytes) {
  EXPECT_EQ(SwapWord32(0x11223344u), 0x44332211u);
  EXPECT_EQ(SwapWord32(0x80000001u), 0x01000080u);
  EXPECT_EQ(SwapWord16(0x1234), 0x3412);
  EXPECT_EQ(SwapWord16(0xFF00), 0x00FF);

  // Big-endian data read as little-endian words comes back in reading order.
  const unsigned char bytes16[] = {0x33, 0x44};
  uint16_t word16;
  std::memcpy(&word16, bytes16, 2);
  EXPECT_EQ(SwapWord16(word16), 0x3344);

  const unsigned char bytes32[] = {0x00, 0x0C, 0x07, 0x2C}; // 788268, as stored in a packed model
  uint32_t word32;
  std::memcpy(&word32, bytes32, 4);
  EXPECT_EQ(SwapWord32(word32), 788268u);
}
