#include <gtest/gtest.h>
#include <windows.h>

#include "host/DebugOutput.h"

TEST(DebugOutput, CapturesEachTextInOrder) {
  {
    host::DebugOutput capture;
    OutputDebugStringA("Quesa Error: -28479 in View3D:123\n");
    OutputDebugStringA("second\n");
    EXPECT_EQ(capture.text(), "Quesa Error: -28479 in View3D:123\nsecond\n");
    EXPECT_THROW(host::DebugOutput another, std::logic_error);
    capture.clear();
    OutputDebugStringA("");
    EXPECT_EQ(capture.text(), "");
  }
  // Without a capture the text goes nowhere and nothing breaks.
  OutputDebugStringA("unheard\n");
  host::DebugOutput later;
  EXPECT_EQ(later.text(), "");
}
