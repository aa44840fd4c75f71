// The definition records of Vector3D, Quaternion and Bounds3D as the host
// reads them: member order, declarations, accessors and parameter words.
#include "math_support.h"

#include <vector>

using namespace mathtest;

namespace {
constexpr uint32_t kHostAccess = 0xFFFFFFFFu;

struct PropertyRow {
  const char *name, *type;
  uint32_t param;
  bool hostGetter, writable, hostSetter;
};

struct MethodRow {
  const char *declaration;
  bool assignable;
};

struct ClassRow {
  const char *name;
  bool constructor;
  std::vector<PropertyRow> properties;
  std::vector<MethodRow> methods;
};

const ClassRow kClasses[] = {
    {"Vector3D",
     false,
     {{"Z", "Double", 8, false, true, false},
      {"Y", "Double", 4, false, true, false},
      {"X", "Double", 0, false, true, false}},
     {{"Vector3D()", false},
      {"Vector3D(x As Double, y as Double, z As Double)", false},
      {"Vector3D(vector As Vector3D)", false},
      {"Copy(vector As Vector3D)", false},
      {"Length() as Double", true},
      {"LenSquared() as Double", true},
      {"Normalize()", false},
      {"Cross(vector as Vector3D) as Vector3D", false},
      {"Dot(vector as Vector3D) as Double", false},
      {"Plus(vector as Vector3D) as Vector3D", false},
      {"Minus(vector as Vector3D) as Vector3D", false},
      {"Times(scalar as Double) as Vector3D", false},
      {"Add(vector as Vector3D)", false},
      {"Subtract(vector as Vector3D)", false},
      {"MultiplyBy(scalar as Double)", false}}},
    {"Quaternion",
     true,
     {{"Z", "Double", 12, false, true, false},
      {"Y", "Double", 8, false, true, false},
      {"X", "Double", 4, false, true, false},
      {"W", "Double", 0, false, true, false}},
     {{"Normalize()", false},
      {"Invert()", false},
      {"Inverse() as Quaternion", false},
      {"Times(quat as Quaternion) as Quaternion", false},
      {"MultiplyBy(quat as Quaternion)", false},
      {"SetRotateAboutAxis(axisX as Double, axisY as Double, axisZ as Double, radians as Double)", false},
      {"SetBetween(quat1 as Quaternion, quat2 as Quaternion, position as Double)", false},
      {"Transform(vec as Vector3D) as Vector3D", false}}},
    {"Bounds3D",
     false,
     {{"Type", "Integer", 0, true, true, true},
      {"Center", "Vector3D", 32, false, false, false},
      {"Radius", "Double", 44, false, false, false},
      {"Minimum", "Vector3D", 4, false, false, false},
      {"Maximum", "Vector3D", 16, false, false, false}},
     {{"Bounds3D(center as Vector3D, radius as Double)", false},
      {"Bounds3D(minPoint as Vector3D, maxPoint as Vector3D)", false},
      {"Intersects(other as Bounds3D) as Boolean", false},
      {"ContainsPoint(pt as Vector3D) as Boolean", false},
      {"LineIntersection(pt1 as Vector3D, pt2 as Vector3D) as Vector3D", false},
      {"LineSegmentIntersection(pt1 as Vector3D, pt2 as Vector3D) as Vector3D", false}}},
};

std::string Text(uint32_t word) {
  return word ? reinterpret_cast<const char *>(static_cast<uintptr_t>(word)) : "(null)";
}
} // namespace

TEST_F(MathTest, RecordsListMembersInOrderWithTheirAccessors) {
  for (const ClassRow &c : kClasses) {
    SCOPED_TRACE(c.name);
    const uint32_t *record = h.record(c.name);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record[5] != 0, c.constructor);
    EXPECT_EQ(record[8], c.properties.size());
    const auto *property = reinterpret_cast<const uint32_t *>(static_cast<uintptr_t>(record[7]));
    for (size_t i = 0; i < c.properties.size() && i < record[8]; ++i, property += 10) {
      const PropertyRow &expected = c.properties[i];
      SCOPED_TRACE(expected.name);
      EXPECT_EQ(property[0], 0u); // no group label
      EXPECT_EQ(Text(property[1]), expected.name);
      EXPECT_EQ(Text(property[2]), expected.type);
      EXPECT_EQ(property[3], 0u); // flags
      EXPECT_EQ(property[4] == kHostAccess, expected.hostGetter);
      EXPECT_NE(property[4], 0u);
      EXPECT_EQ(property[5] != 0, expected.writable);
      EXPECT_EQ(property[5] == kHostAccess, expected.hostSetter);
      EXPECT_EQ(property[6], expected.param);
    }
    const auto methods = h.methodRecords(c.name);
    ASSERT_EQ(methods.size(), c.methods.size());
    for (size_t i = 0; i < methods.size(); ++i) {
      EXPECT_EQ(methods[i].declaration, c.methods[i].declaration);
      EXPECT_EQ(methods[i].setter != 0, c.methods[i].assignable) << methods[i].declaration;
    }
  }
}
