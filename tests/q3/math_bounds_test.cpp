// Bounding boxes and spheres: strided point arrays, empty volumes, unions,
// and spheres that are minimal yet hold every point in single precision.
#include "math_support.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace mathtest;

namespace {

::testing::AssertionResult holdsAll(const TQ3BoundingSphere &s, const std::vector<TQ3Point3D> &points) {
  for (size_t i = 0; i < points.size(); ++i) {
    const double dx = double(points[i].x) - s.origin.x, dy = double(points[i].y) - s.origin.y,
                 dz = double(points[i].z) - s.origin.z;
    if (std::sqrt(dx * dx + dy * dy + dz * dz) > s.radius)
      return ::testing::AssertionFailure() << "point " << i << " lies outside the sphere";
  }
  return ::testing::AssertionSuccess();
}

TQ3BoundingSphere sphereOf(const std::vector<TQ3Point3D> &points) {
  TQ3BoundingSphere s{{9, 9, 9}, 9, kQ3True};
  EXPECT_EQ(Q3BoundingSphere_SetFromPoints3D(&s, points.data(), TQ3Uns32(points.size()), sizeof(TQ3Point3D)), &s);
  return s;
}

// Deterministic points for the larger fixtures.
struct Lcg {
  uint32_t state = 12345;
  float next() { // in [-1, 1)
    state = state * 1664525u + 1013904223u;
    return float(state >> 8) / float(1u << 23) - 1.0f;
  }
};

TEST(MathBounds, BoxFromPaddedPoints) {
  struct Padded {
    TQ3Point3D p;
    float junk;
  };
  // The junk would widen the box if the stride were ignored.
  const Padded points[] = {{{1, -2, 3}, -1000}, {{-4, 5, 0.5f}, 1000}, {{2, 0, -6}, 1000}};
  TQ3BoundingBox box{{9, 9, 9}, {9, 9, 9}, kQ3True};
  EXPECT_EQ(Q3BoundingBox_SetFromPoints3D(&box, &points[0].p, 3, sizeof(Padded)), &box);
  EXPECT_EQ(box.isEmpty, kQ3False);
  EXPECT_TRUE(near3(box.min, -4, -2, -6, 0));
  EXPECT_TRUE(near3(box.max, 2, 5, 3, 0));

  const TQ3RationalPoint4D rational[] = {{2, 4, 6, 2}, {-3, 0, 9, 1}, {1, 1, 1, 0.5f}};
  Q3BoundingBox_SetFromRationalPoints4D(&box, rational, 3, sizeof(TQ3RationalPoint4D));
  EXPECT_TRUE(near3(box.min, -3, 0, 2, 0));
  EXPECT_TRUE(near3(box.max, 2, 2, 9, 0));
}

TEST(MathBounds, NoPointsGiveAnEmptyZeroedVolume) {
  TQ3BoundingBox box{{9, 9, 9}, {9, 9, 9}, kQ3False};
  TQ3BoundingSphere sphere{{9, 9, 9}, 9, kQ3False};
  const TQ3BoundingBox emptyBox{{0, 0, 0}, {0, 0, 0}, kQ3True};
  const TQ3BoundingSphere emptySphere{{0, 0, 0}, 0, kQ3True};
  EXPECT_EQ(Q3BoundingBox_SetFromPoints3D(&box, nullptr, 0, sizeof(TQ3Point3D)), &box);
  EXPECT_TRUE(sameBits(box, emptyBox));
  EXPECT_EQ(Q3BoundingSphere_SetFromPoints3D(&sphere, nullptr, 0, sizeof(TQ3Point3D)), &sphere);
  EXPECT_TRUE(sameBits(sphere, emptySphere));

  // Points that cannot be bounded are left out; only those left make an empty volume.
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const TQ3Point3D bad[] = {{nan, 0, 0}, {0, inf, 0}, {1, 2, 3}, {0, 0, -inf}};
  Q3BoundingBox_SetFromPoints3D(&box, bad, 2, sizeof(TQ3Point3D));
  EXPECT_TRUE(sameBits(box, emptyBox));
  Q3BoundingSphere_SetFromPoints3D(&sphere, bad, 2, sizeof(TQ3Point3D));
  EXPECT_TRUE(sameBits(sphere, emptySphere));
  Q3BoundingBox_SetFromPoints3D(&box, bad, 4, sizeof(TQ3Point3D));
  EXPECT_TRUE(near3(box.min, 1, 2, 3, 0));
  EXPECT_TRUE(near3(box.max, 1, 2, 3, 0));
  Q3BoundingSphere_SetFromPoints3D(&sphere, bad, 4, sizeof(TQ3Point3D));
  EXPECT_TRUE(near3(sphere.origin, 1, 2, 3, 0));
  EXPECT_EQ(sphere.radius, 0.0f);

  Q3BoundingBox_Reset(&box);
  EXPECT_TRUE(sameBits(box, emptyBox));
  Q3BoundingSphere_Reset(&sphere);
  EXPECT_TRUE(sameBits(sphere, emptySphere));
}

TEST(MathBounds, ShortStridesAndNullArraysAreRefused) {
  clearErrors();
  const TQ3Point3D points[2] = {{1, 2, 3}, {4, 5, 6}};
  TQ3BoundingBox box{{9, 9, 9}, {9, 9, 9}, kQ3False};
  const TQ3BoundingBox keepBox = box;
  TQ3BoundingSphere sphere{{9, 9, 9}, 9, kQ3False};
  const TQ3BoundingSphere keepSphere = sphere;
  EXPECT_EQ(Q3BoundingBox_SetFromPoints3D(&box, points, 2, 4), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorParameterOutOfRange);
  EXPECT_EQ(Q3BoundingSphere_SetFromPoints3D(&sphere, points, 2, 0), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorParameterOutOfRange);
  EXPECT_EQ(Q3BoundingSphere_SetFromPoints3D(&sphere, nullptr, 2, 12), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3BoundingBox_Union(&box, nullptr, &box), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_TRUE(sameBits(box, keepBox));
  EXPECT_TRUE(sameBits(sphere, keepSphere));
}

TEST(MathBounds, BoxUnionsIgnoreEmptyOperands) {
  const TQ3BoundingBox a{{0, 0, 0}, {1, 1, 1}, kQ3False}, b{{-1, 0.5f, 2}, {0.5f, 3, 4}, kQ3False};
  // An empty box's fields are no corner: they must not leak into the union.
  const TQ3BoundingBox empty{{-50, -50, -50}, {50, 50, 50}, kQ3True};
  TQ3BoundingBox r;
  EXPECT_EQ(Q3BoundingBox_Union(&a, &b, &r), &r);
  EXPECT_TRUE(near3(r.min, -1, 0, 0, 0));
  EXPECT_TRUE(near3(r.max, 1, 3, 4, 0));
  EXPECT_EQ(r.isEmpty, kQ3False);
  Q3BoundingBox_Union(&a, &empty, &r);
  EXPECT_TRUE(sameBits(r, a));
  Q3BoundingBox_Union(&empty, &b, &r);
  EXPECT_TRUE(sameBits(r, b));
  Q3BoundingBox_Union(&empty, &empty, &r);
  EXPECT_EQ(r.isEmpty, kQ3True);
  EXPECT_TRUE(near3(r.min, 0, 0, 0, 0));

  const TQ3Point3D p{2, -1, 0.5f};
  Q3BoundingBox_UnionPoint3D(&empty, &p, &r);
  EXPECT_EQ(r.isEmpty, kQ3False);
  EXPECT_TRUE(near3(r.min, p, 0));
  EXPECT_TRUE(near3(r.max, p, 0));
  TQ3BoundingBox self = a;
  Q3BoundingBox_UnionPoint3D(&self, &p, &self);
  EXPECT_TRUE(near3(self.min, 0, -1, 0, 0));
  EXPECT_TRUE(near3(self.max, 2, 1, 1, 0));
  const TQ3RationalPoint4D h{4, 4, 4, 4};
  Q3BoundingBox_UnionRationalPoint4D(&empty, &h, &r);
  EXPECT_TRUE(near3(r.min, 1, 1, 1, 0));
  self = a;
  Q3BoundingBox_Union(&self, &b, &self);
  EXPECT_TRUE(near3(self.min, -1, 0, 0, 0));
}

TEST(MathBounds, SpheresFromPointsAreMinimal) {
  const float r3 = std::sqrt(3.0f), h = std::sqrt(3.0f) / 2;
  const struct {
    const char *name;
    std::vector<TQ3Point3D> points;
    TQ3Point3D centre;
    float radius;
  } cases[] = {
      {"one point", {{1, 2, 3}}, {1, 2, 3}, 0},
      {"repeated point", {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}, {1, 2, 3}, 0},
      {"two points", {{-1, 0, 0}, {3, 0, 0}}, {1, 0, 0}, 2},
      {"collinear", {{0, 0, 0}, {1, 1, 1}, {4, 4, 4}, {2, 2, 2}}, {2, 2, 2}, 2 * r3},
      {"equilateral triangle", {{1, 0, 0}, {-0.5f, h, 0}, {-0.5f, -h, 0}}, {0, 0, 0}, 1},
      {"obtuse triangle", {{0, 0, 0}, {4, 0, 0}, {1, 1, 0}}, {2, 0, 0}, 2},
      {"square", {{1, 1, 5}, {-1, 1, 5}, {-1, -1, 5}, {1, -1, 5}}, {0, 0, 5}, std::sqrt(2.0f)},
      {"regular tetrahedron", {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}, {0, 0, 0}, r3},
      {"cube corners and centre",
       {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}, {0.5f, 0.5f, 0.5f}},
       {0.5f, 0.5f, 0.5f},
       h},
      // Neither the box centre nor the mean of the points is the answer here.
      {"lopsided",
       {{-1, 0, 0}, {1, 0, 0}, {0.6f, 0.6f, 0}, {0.7f, 0.5f, 0.1f}, {0.5f, 0.7f, -0.2f}, {0.8f, 0.55f, 0}},
       {0, 0, 0},
       1},
  };
  for (const auto &c : cases) {
    const TQ3BoundingSphere s = sphereOf(c.points);
    EXPECT_EQ(s.isEmpty, kQ3False) << c.name;
    EXPECT_TRUE(near3(s.origin, c.centre, 2e-6)) << c.name;
    EXPECT_NEAR(s.radius, c.radius, 2e-6) << c.name;
    EXPECT_TRUE(holdsAll(s, c.points)) << c.name;
  }
}

TEST(MathBounds, LargeSpheresHoldEveryPoint) {
  // Points on a sphere of radius 5 about (1, 2, 3) in every direction, plus
  // points inside: the answer is that sphere.
  Lcg lcg;
  std::vector<TQ3Point3D> points;
  for (int i = 0; i < 20000; ++i) {
    double x = lcg.next(), y = lcg.next(), z = lcg.next();
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len < 1e-3) continue;
    const double r = (i % 3 == 0) ? 5.0 * std::fabs(lcg.next()) : 5.0;
    points.push_back({float(1 + x / len * r), float(2 + y / len * r), float(3 + z / len * r)});
  }
  const TQ3BoundingSphere s = sphereOf(points);
  EXPECT_TRUE(holdsAll(s, points));
  EXPECT_TRUE(near3(s.origin, 1, 2, 3, 1e-3));
  EXPECT_NEAR(s.radius, 5.0, 1e-4);

  // Far from the origin the rounding of the centre matters: the radius is
  // measured from the stored centre and rounded up.
  std::vector<TQ3Point3D> far;
  for (int i = 0; i < 500; ++i)
    far.push_back({1e6f + lcg.next() * 0.3f, -3e5f + lcg.next() * 0.7f, 12345.678f + lcg.next() * 0.1f});
  EXPECT_TRUE(holdsAll(sphereOf(far), far));
}

TEST(MathBounds, SphereUnions) {
  const TQ3BoundingSphere a{{0, 0, 0}, 1, kQ3False}, b{{4, 0, 0}, 1, kQ3False}, inside{{0.2f, 0, 0}, 0.5f, kQ3False};
  const TQ3BoundingSphere empty{{100, 100, 100}, 100, kQ3True};
  TQ3BoundingSphere r;
  EXPECT_EQ(Q3BoundingSphere_Union(&a, &b, &r), &r);
  EXPECT_TRUE(near3(r.origin, 2, 0, 0, 1e-6));
  EXPECT_NEAR(r.radius, 3, 1e-6);
  EXPECT_GE(r.radius, 3.0f);
  Q3BoundingSphere_Union(&inside, &a, &r);
  EXPECT_TRUE(sameBits(r, a));
  Q3BoundingSphere_Union(&a, &empty, &r);
  EXPECT_TRUE(sameBits(r, a));
  Q3BoundingSphere_Union(&empty, &b, &r);
  EXPECT_TRUE(sameBits(r, b));
  Q3BoundingSphere_Union(&empty, &empty, &r);
  EXPECT_EQ(r.isEmpty, kQ3True);
  EXPECT_EQ(r.radius, 0.0f);

  TQ3BoundingSphere self = a;
  Q3BoundingSphere_Union(&self, &b, &self);
  EXPECT_TRUE(near3(self.origin, 2, 0, 0, 1e-6));
  self = b;
  Q3BoundingSphere_Union(&a, &self, &self);
  EXPECT_TRUE(near3(self.origin, 2, 0, 0, 1e-6));

  const TQ3Point3D outside{3, 0, 0}, within{0.5f, 0.5f, 0};
  Q3BoundingSphere_UnionPoint3D(&a, &outside, &r);
  EXPECT_TRUE(near3(r.origin, 1, 0, 0, 1e-6));
  EXPECT_NEAR(r.radius, 2, 1e-6);
  EXPECT_TRUE(holdsAll(r, {outside, {-1, 0, 0}}));
  Q3BoundingSphere_UnionPoint3D(&a, &within, &r);
  EXPECT_TRUE(sameBits(r, a));
  Q3BoundingSphere_UnionPoint3D(&empty, &outside, &r);
  EXPECT_EQ(r.isEmpty, kQ3False);
  EXPECT_TRUE(near3(r.origin, outside, 0));
  EXPECT_EQ(r.radius, 0.0f);
  self = a;
  Q3BoundingSphere_UnionPoint3D(&self, &outside, &self);
  EXPECT_TRUE(near3(self.origin, 1, 0, 0, 1e-6));
  const TQ3RationalPoint4D h{6, 0, 0, 2};
  Q3BoundingSphere_UnionRationalPoint4D(&a, &h, &r);
  EXPECT_TRUE(near3(r.origin, 1, 0, 0, 1e-6));

  const TQ3RationalPoint4D rational[] = {{2, 0, 0, 2}, {-6, 0, 0, 2}};
  Q3BoundingSphere_SetFromRationalPoints4D(&r, rational, 2, sizeof(TQ3RationalPoint4D));
  EXPECT_TRUE(near3(r.origin, -1, 0, 0, 1e-6));
  EXPECT_NEAR(r.radius, 2, 1e-6);
}

TEST(MathBounds, SetAndCopyKeepTheFieldsAsGiven) {
  const TQ3Point3D lo{3, 2, 1}, hi{0, 0, 0};
  TQ3BoundingBox box, copy;
  EXPECT_EQ(Q3BoundingBox_Set(&box, &lo, &hi, kQ3False), &box);
  EXPECT_TRUE(near3(box.min, lo, 0)) << "corners are stored as given, not sorted";
  EXPECT_EQ(Q3BoundingBox_Copy(&box, &copy), &copy);
  EXPECT_TRUE(sameBits(copy, box));
  TQ3BoundingSphere s, sc;
  Q3BoundingSphere_Set(&s, &lo, 2.5f, kQ3False);
  Q3BoundingSphere_Copy(&s, &sc);
  EXPECT_TRUE(sameBits(sc, s));
  EXPECT_EQ(sc.radius, 2.5f);
}

} // namespace
