// What the math class tests share: a host with the plugin loaded that checks,
// after every test, that nothing leaked and no host service was misused, and
// bit-exact views of the data blocks.
#pragma once

#include <gtest/gtest.h>

#include "host/Host.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

namespace host {
inline void PrintTo(const Counts &c, std::ostream *os) {
  *os << "{instances " << c.instances << ", strings " << c.strings << ", pictures " << c.pictures << "}";
}
} // namespace host

namespace mathtest {

using host::Ref;
using host::Value;

inline uint32_t Bits(float f) {
  uint32_t b;
  std::memcpy(&b, &f, 4);
  return b;
}

// Three floats compared bit for bit (so -0, 0 and not-a-number are told apart).
struct Xyz {
  float x, y, z;
  bool operator==(const Xyz &o) const { return Bits(x) == Bits(o.x) && Bits(y) == Bits(o.y) && Bits(z) == Bits(o.z); }
};
inline std::ostream &operator<<(std::ostream &os, const Xyz &v) {
  return os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

struct Wxyz {
  float w, x, y, z;
  bool operator==(const Wxyz &o) const {
    return Bits(w) == Bits(o.w) && Bits(x) == Bits(o.x) && Bits(y) == Bits(o.y) && Bits(z) == Bits(o.z);
  }
};
inline std::ostream &operator<<(std::ostream &os, const Wxyz &q) {
  return os << "(" << q.w << "; " << q.x << ", " << q.y << ", " << q.z << ")";
}

inline Xyz VectorOf(const Ref &v) {
  Xyz r;
  std::memcpy(&r, v.block("Vector3D"), sizeof r);
  return r;
}

inline Wxyz QuaternionOf(const Ref &q) {
  Wxyz r;
  std::memcpy(&r, q.block("Quaternion"), sizeof r);
  return r;
}

inline float F(double d) { return static_cast<float>(d); }

inline std::string Lines(const std::vector<std::string> &v) {
  std::string out;
  for (const auto &s : v) out += s + "\n";
  return out;
}

class MathTest : public ::testing::Test {
protected:
  host::Host h;
  MathTest() { h.load(); }
  void TearDown() override {
    EXPECT_EQ(h.counts(), host::Counts{});
    EXPECT_TRUE(h.faults().empty()) << Lines(h.faults());
  }

  Ref Vec(double x, double y, double z) { return h.New("Vector3D", x, y, z); }
  Ref Quat(float w, float x, float y, float z) {
    Ref q = h.New("Quaternion");
    const Wxyz fields{w, x, y, z};
    std::memcpy(q.block("Quaternion"), &fields, sizeof fields);
    return q;
  }
};

} // namespace mathtest
