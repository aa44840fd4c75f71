// core_support.h: shared helpers of the q3 core tests.
#pragma once

#include "Q3.h"

#include <gtest/gtest.h>

#include <cstdint>

// Reads and clears q3's error record, and checks that exactly one error was
// posted since the last read (the oldest unread one equals the latest).
inline TQ3Error takeOnlyError() {
  TQ3Error first = kQ3ErrorNone;
  const TQ3Error latest = Q3Error_Get(&first);
  EXPECT_EQ(first, latest) << "more than one error posted";
  return latest;
}

inline TQ3Object fakeReference(std::uintptr_t bits) { return reinterpret_cast<TQ3Object>(bits); }

// Each test runs with q3 initialised once and nothing pending in the error
// record; objects a test leaves behind go with the final Q3Exit.
class Q3Session : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(Q3IsInitialized(), kQ3False) << "an earlier test left q3 initialised";
    ASSERT_EQ(Q3Initialize(), kQ3Success);
    Q3Error_Get(nullptr);
  }
  void TearDown() override { EXPECT_EQ(Q3Exit(), kQ3Success); }
};
