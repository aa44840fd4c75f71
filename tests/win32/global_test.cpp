#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

TEST(Global, MoveableBlockLocksAndZeroFills) {
  HGLOBAL g = GlobalAlloc(GHND, 100);
  ASSERT_NE(g, nullptr);
  EXPECT_GE(GlobalSize(g), 100u);
  auto *p = static_cast<unsigned char *>(GlobalLock(g));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0) << i;
  std::memset(p, 0xAB, 100);
  // Locks nest: the first unlock leaves it locked, the second releases it.
  auto *again = static_cast<unsigned char *>(GlobalLock(g));
  EXPECT_EQ(again, p);
  EXPECT_TRUE(GlobalUnlock(g));
  SetLastError(12345);
  EXPECT_FALSE(GlobalUnlock(g));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  // Unlocking an unlocked block fails with its own error.
  EXPECT_FALSE(GlobalUnlock(g));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  p = static_cast<unsigned char *>(GlobalLock(g));
  EXPECT_EQ(p[99], 0xAB);
  GlobalUnlock(g);
  EXPECT_EQ(GlobalFree(g), nullptr);
}

TEST(Global, FixedBlockLocksToItself) {
  HGLOBAL g = GlobalAlloc(GPTR, 16);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(GlobalLock(g), g);
  EXPECT_EQ(static_cast<unsigned char *>(g)[15], 0);
  GlobalUnlock(g);
  EXPECT_EQ(GlobalFree(g), nullptr);
}
