// Helpers for scene tests: a host with the plugin loaded, and vector and
// quaternion values read and written the way a script does.
#pragma once

#include <gtest/gtest.h>

#include "host/Host.h"

#include <array>
#include <string>

using host::Counts;
using host::Ref;
using host::Value;

struct Vec {
  double x, y, z;
};

inline Vec vec(const Ref &v) { return {v.get("X").asDouble(), v.get("Y").asDouble(), v.get("Z").asDouble()}; }
inline void setVec(const Ref &v, Vec p) {
  v.set("X", p.x);
  v.set("Y", p.y);
  v.set("Z", p.z);
}
inline Vec position(const Ref &o) { return vec(o.get("Position").asObject()); }
inline void setPosition(const Ref &o, Vec p) { setVec(o.get("Position").asObject(), p); }
inline std::array<double, 4> orientation(const Ref &o) {
  Ref q = o.get("Orientation").asObject();
  return {q.get("W").asDouble(), q.get("X").asDouble(), q.get("Y").asDouble(), q.get("Z").asDouble()};
}
inline void setOrientation(const Ref &o, std::array<double, 4> wxyz) {
  Ref q = o.get("Orientation").asObject();
  q.set("W", wxyz[0]);
  q.set("X", wxyz[1]);
  q.set("Y", wxyz[2]);
  q.set("Z", wxyz[3]);
}

#define EXPECT_VEC_NEAR(actual, ex, ey, ez, tol)                                                                       \
  do {                                                                                                                 \
    const Vec a_ = (actual);                                                                                           \
    EXPECT_NEAR(a_.x, (ex), (tol));                                                                                    \
    EXPECT_NEAR(a_.y, (ey), (tol));                                                                                    \
    EXPECT_NEAR(a_.z, (ez), (tol));                                                                                    \
  } while (0)

// Each test gets a fresh host with the plugin; at the end nothing may be
// left alive and the plugin may not have misused a host service.
class Scene : public ::testing::Test {
protected:
  host::Host h;
  void SetUp() override { h.load(); }
  void TearDown() override {
    EXPECT_EQ(h.counts(), Counts{});
    for (const auto &f : h.faults()) ADD_FAILURE() << "host fault: " << f;
  }
};
