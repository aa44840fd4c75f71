// math_support.h: comparisons and fixtures shared by the q3 math tests.
#pragma once

#include "Q3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace mathtest {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kHalfPi = kPi / 2.0f;

// Single-precision results of double-precision work: a few units in the last
// place of values around 1.
constexpr double kTight = 2e-6;

template <typename A, typename B> bool sameBits(const A &a, const B &b) {
  static_assert(sizeof(A) == sizeof(B));
  return std::memcmp(&a, &b, sizeof(A)) == 0;
}

template <typename P>::testing::AssertionResult near3(const P &actual, double x, double y, double z, double tol) {
  if (std::fabs(actual.x - x) <= tol && std::fabs(actual.y - y) <= tol && std::fabs(actual.z - z) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not (" << x
                                       << ", " << y << ", " << z << ") within " << tol;
}

template <typename P, typename Q>::testing::AssertionResult near3(const P &actual, const Q &want, double tol) {
  return near3(actual, want.x, want.y, want.z, tol);
}

inline ::testing::AssertionResult nearQ(const TQ3Quaternion &q, double w, double x, double y, double z, double tol) {
  if (std::fabs(q.w - w) <= tol && std::fabs(q.x - x) <= tol && std::fabs(q.y - y) <= tol && std::fabs(q.z - z) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "{" << q.w << ", " << q.x << ", " << q.y << ", " << q.z << "} is not {" << w
                                       << ", " << x << ", " << y << ", " << z << "} within " << tol;
}

inline ::testing::AssertionResult nearQ(const TQ3Quaternion &q, const TQ3Quaternion &want, double tol) {
  return nearQ(q, want.w, want.x, want.y, want.z, tol);
}

// Equal as rotations: q and -q turn alike.
inline ::testing::AssertionResult sameRotation(const TQ3Quaternion &q, const TQ3Quaternion &want, double tol) {
  const double sign = (q.w * want.w + q.x * want.x + q.y * want.y + q.z * want.z) < 0 ? -1.0 : 1.0;
  return nearQ(q, sign * want.w, sign * want.x, sign * want.y, sign * want.z, tol);
}

template <typename M>::testing::AssertionResult nearMatrix(const M &a, const M &b, double tol) {
  constexpr int n = sizeof(a.value) / sizeof(a.value[0]);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (!(std::fabs(a.value[i][j] - b.value[i][j]) <= tol))
        return ::testing::AssertionFailure() << "element [" << i << "][" << j << "] is " << a.value[i][j] << ", not "
                                             << b.value[i][j] << " within " << tol;
  return ::testing::AssertionSuccess();
}

inline TQ3Matrix4x4 identity4() {
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetIdentity(&m);
  return m;
}

inline bool hasNaN(const float *f, int n) {
  for (int i = 0; i < n; ++i)
    if (std::isnan(f[i])) return true;
  return false;
}
template <typename T> bool hasNaN(const T &record) {
  return hasNaN(reinterpret_cast<const float *>(&record), sizeof(T) / sizeof(float));
}

// Discards whatever earlier tests left in q3's error record.
inline void clearErrors() { Q3Error_Get(nullptr); }

// The one error posted since the last read (kQ3ErrorNone when there was none).
inline TQ3Error takeError() {
  TQ3Error first = kQ3ErrorNone;
  const TQ3Error latest = Q3Error_Get(&first);
  EXPECT_EQ(first, latest) << "more than one error posted";
  return latest;
}

} // namespace mathtest
