// Every object kind the reader makes, stated once and read from text, from
// big-endian binary and from little-endian binary: the three must give the
// same object, and that object must be right.
#include "core_support.h"
#include "reader_support.h"

#include <cmath>
#include <functional>

namespace {
using namespace mf;
using ReaderKinds = Q3Session;

struct Encoded {
  const char *name;
  std::vector<uint8_t> (*encode)(const std::vector<Obj> &);
};
const Encoded encodings[] = {
    {"text", [](const std::vector<Obj> &o) { return text(o); }},
    {"binary", [](const std::vector<Obj> &o) { return Binary(false).file(o); }},
    {"binary little-endian", [](const std::vector<Obj> &o) { return Binary(true).file(o); }},
};

// What a geometry looks like: type, counts and every vertex.
std::string describe(TQ3Object o) {
  std::string d = std::to_string(Q3Object_GetLeafType(o));
  TQ3GeometryMeshInfo info;
  if (Q3Geometry_GetMeshInfo(o, &info) != kQ3Success) return d;
  Q3Error_Get(nullptr);
  d += " v" + std::to_string(info.numVertices) + " t" + std::to_string(info.numTriangles) + " f" +
       std::to_string(info.numFaces) + " l" + std::to_string(info.numLines) + " p" + std::to_string(info.numPoints);
  for (TQ3Uns32 k = 0; k < info.numVertices; ++k) {
    TQ3Point3D p;
    TQ3GeometryMeshValues v;
    Q3Geometry_GetMeshVertex(o, k, &p, &v);
    d += " (" + number(p.x) + "," + number(p.y) + "," + number(p.z) + "/" + std::to_string(v.mask) + ")";
  }
  for (TQ3Uns32 k = 0; k < info.numFaces; ++k) {
    TQ3GeometryMeshValues v;
    Q3Geometry_GetMeshFace(o, k, &v);
    d += " [" + std::to_string(v.mask) + " " + number(v.diffuse.r) + "]";
  }
  return d;
}

struct Kind {
  const char *name;
  TQ3ObjectType leaf;
  std::vector<Obj> objects;
  std::function<void(TQ3Object)> check;
};

TQ3GeometryMeshInfo infoOf(TQ3Object o) {
  TQ3GeometryMeshInfo info{};
  EXPECT_EQ(Q3Geometry_GetMeshInfo(o, &info), kQ3Success);
  return info;
}

// Every triangle winds counter-clockwise around the outward direction from `centre`.
void expectOutward(TQ3Object o, TQ3Point3D centre) {
  const TQ3GeometryMeshInfo info = infoOf(o);
  int wrong = 0;
  for (TQ3Uns32 t = 0; t < info.numTriangles; ++t) {
    TQ3Uns32 v[3];
    Q3Geometry_GetMeshTriangle(o, t, v, nullptr);
    TQ3Point3D p[3];
    TQ3GeometryMeshValues n{};
    for (int k = 0; k < 3; ++k) Q3Geometry_GetMeshVertex(o, v[k], &p[k], k == 0 ? &n : nullptr);
    TQ3Vector3D e1, e2, c, out;
    Q3Point3D_Subtract(&p[1], &p[0], &e1);
    Q3Point3D_Subtract(&p[2], &p[0], &e2);
    Q3Vector3D_Cross(&e1, &e2, &c);
    Q3Point3D_Subtract(&p[0], &centre, &out);
    if (Q3Vector3D_Length(&c) < 1e-6f) continue; // pole slivers
    if (Q3Vector3D_Dot(&c, &out) < 0) ++wrong;
    if ((n.mask & kQ3MeshValueNormal) && Q3Vector3D_Dot(&n.normal, &out) < -1e-4f) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

const std::vector<Obj> triMesh = {container({
    obj("TriMesh", "tmsh",
        join({{u(2), u(1), u(0), u(0), u(4), u(2)},
              {idx(0, 1), idx(1, 1), idx(2, 1), idx(2, 1), idx(1, 1), idx(3, 1)},
              point(0, 0, 0),
              point(1, 0, 0),
              point(0, 1, 0),
              point(1, 1, 0),
              point(0, 0, 0),
              point(1, 1, 0),
              {w("False", 0)}})),
    obj("AttributeArray", "atar", join({{i(5), u(0), u(0), u(0), u(0)}, point(1, 0, 0), point(0, 1, 0)})),
    obj("AttributeArray", "atar",
        join({{i(3), u(0), u(2), u(0), u(0)}, point(0, 0, 1), point(0, 0, 2), point(0, 0, 0), point(0, 0, 1)})),
    obj("AttributeArray", "atar", {i(2), u(0), u(2), u(1), u(0), f(0), f(0), f(1), f(0), f(0), f(1), f(1), f(1)}),
    container({obj("AttributeSet", "attr"), obj("DiffuseColor", "kdif", point(0.25, 0.5, 0.75))}),
})};

const std::vector<Kind> &kinds() {
  static const std::vector<Kind> table = {
      {"TriMesh", kQ3GeometryTypeTriMesh, triMesh,
       [](TQ3Object o) {
         TQ3TriMeshData d;
         ASSERT_EQ(Q3TriMesh_GetData(o, &d), kQ3Success);
         EXPECT_EQ(d.numTriangles, 2u);
         EXPECT_EQ(d.numPoints, 4u);
         EXPECT_EQ(d.triangles[1].pointIndices[2], 3u);
         EXPECT_EQ(d.numTriangleAttributeTypes, 1u);
         EXPECT_EQ(d.numVertexAttributeTypes, 2u);
         EXPECT_FLOAT_EQ(d.bBox.max.x, 1.0f);
         ASSERT_NE(d.triMeshAttributeSet, nullptr);
         TQ3ColorRGB c;
         EXPECT_EQ(Q3AttributeSet_Get(d.triMeshAttributeSet, kQ3AttributeTypeDiffuseColor, &c), kQ3Success);
         EXPECT_FLOAT_EQ(c.b, 0.75f);
         Q3TriMesh_EmptyData(&d);
         // Normals are unit length; the zero normal of vertex 2 is left out.
         TQ3GeometryMeshValues v;
         Q3Geometry_GetMeshVertex(o, 1, nullptr, &v);
         EXPECT_FLOAT_EQ(v.normal.z, 1.0f);
         EXPECT_EQ(v.mask, kQ3MeshValueNormal | kQ3MeshValueUV);
         Q3Geometry_GetMeshVertex(o, 2, nullptr, &v);
         EXPECT_EQ(v.mask, kQ3MeshValueUV);
         EXPECT_FLOAT_EQ(v.uv.v, 1.0f);
         Q3Geometry_GetMeshFace(o, 1, &v);
         EXPECT_EQ(v.mask, kQ3MeshValueDiffuse);
         EXPECT_FLOAT_EQ(v.diffuse.g, 1.0f);
         Q3Geometry_GetMeshFace(o, kQ3ArrayIndexNULL, &v);
         EXPECT_FLOAT_EQ(v.diffuse.r, 0.25f);
       }},
      {"Triangle",
       kQ3GeometryTypeTriangle,
       {container(
           {obj("Triangle", "trng", join({point(0, 0, 0), point(1, 0, 0), point(0, 1, 0)})),
            container({obj("VertexAttributeSetList", "vasl", {u(3), w("Exclude", 1), u(1), idx(1, 1)}),
                       container({obj("AttributeSet", "attr"), obj("DiffuseColor", "kdif", point(1, 0, 0))}),
                       container({obj("AttributeSet", "attr"), obj("DiffuseColor", "kdif", point(0, 0, 1))})})})},
       [](TQ3Object o) {
         EXPECT_EQ(infoOf(o).numTriangles, 1u);
         TQ3GeometryMeshValues v;
         Q3Geometry_GetMeshVertex(o, 0, nullptr, &v);
         EXPECT_FLOAT_EQ(v.diffuse.r, 1.0f);
         Q3Geometry_GetMeshVertex(o, 1, nullptr, &v);
         EXPECT_EQ(v.mask, 0u); // excluded from the list
         Q3Geometry_GetMeshVertex(o, 2, nullptr, &v);
         EXPECT_FLOAT_EQ(v.diffuse.b, 1.0f);
       }},
      {"Polygon",
       kQ3GeometryTypePolygon,
       {obj("Polygon", "plyg",
            join({{u(5)}, point(0, 0, 0), point(2, 0, 0), point(2, 2, 0), point(1, 1, 0), point(0, 2, 0)}))},
       [](TQ3Object o) {
         EXPECT_EQ(infoOf(o).numTriangles, 3u);
         expectOutward(o, {1, 1, -1}); // counter-clockwise seen from +z
       }},
      {"GeneralPolygon with a hole",
       kQ3GeometryTypeGeneralPolygon,
       {obj("GeneralPolygon", "gpgn",
            join({{u(2), u(4)},
                  point(0, 0, 0),
                  point(4, 0, 0),
                  point(4, 4, 0),
                  point(0, 4, 0),
                  {u(4)},
                  point(1, 1, 0),
                  point(1, 3, 0),
                  point(3, 3, 0),
                  point(3, 1, 0)}))},
       [](TQ3Object o) {
         // A square ring: 8 triangles, none covering the hole's centre.
         EXPECT_EQ(infoOf(o).numTriangles, 8u);
         expectOutward(o, {2, 2, -1});
       }},
      {"Line",
       kQ3GeometryTypeLine,
       {obj("Line", "line", join({point(0, 0, 0), point(1, 2, 3)}))},
       [](TQ3Object o) { EXPECT_EQ(infoOf(o).numLines, 1u); }},
      {"PolyLine",
       kQ3GeometryTypePolyLine,
       {obj("PolyLine", "plin", join({{u(3)}, point(0, 0, 0), point(1, 0, 0), point(1, 1, 0)}))},
       [](TQ3Object o) { EXPECT_EQ(infoOf(o).numLines, 2u); }},
      {"Point",
       kQ3GeometryTypePoint,
       {obj("Point", "pnt ", point(1, 2, 3))},
       [](TQ3Object o) { EXPECT_EQ(infoOf(o).numPoints, 1u); }},
      {"Box",
       kQ3GeometryTypeBox,
       {container(
           {obj("Box", "box ", join({point(0, 0, 2), point(1, 0, 0), point(0, 1, 0), point(0, 0, 0)})),
            container({obj("FaceAttributeSetList", "fasl", {u(6), w("Include", 0), u(1), idx(2, 4)}),
                       container({obj("AttributeSet", "attr"), obj("DiffuseColor", "kdif", point(0, 1, 0))})})})},
       [](TQ3Object o) {
         const TQ3GeometryMeshInfo info = infoOf(o);
         EXPECT_EQ(info.numTriangles, 12u);
         EXPECT_EQ(info.numFaces, 6u);
         EXPECT_FLOAT_EQ(info.bounds.max.z, 2.0f);
         expectOutward(o, {0.5f, 0.5f, 1});
         TQ3GeometryMeshValues v;
         Q3Geometry_GetMeshFace(o, 2, &v); // the face at the tip of the major axis
         EXPECT_FLOAT_EQ(v.diffuse.g, 1.0f);
       }},
      {"Box with defaults",
       kQ3GeometryTypeBox,
       {obj("Box", "box ")},
       [](TQ3Object o) { EXPECT_FLOAT_EQ(infoOf(o).bounds.max.y, 1.0f); }},
      {"Ellipsoid",
       kQ3GeometryTypeEllipsoid,
       {obj("Ellipsoid", "elpd",
            join({point(0, 0, 1), point(2, 0, 0), point(0, 1, 0), point(5, 0, 0), {f(0), f(1), f(0), f(1)}}))},
       [](TQ3Object o) {
         const TQ3GeometryMeshInfo info = infoOf(o);
         EXPECT_NEAR(info.bounds.max.x, 7.0f, 1e-4);
         EXPECT_NEAR(info.bounds.min.z, -1.0f, 1e-4);
         expectOutward(o, {5, 0, 0});
       }},
      {"Left-handed ellipsoid",
       kQ3GeometryTypeEllipsoid,
       {obj("Ellipsoid", "elpd", join({point(0, 0, -1), point(1, 0, 0), point(0, 1, 0), point(0, 0, 0)}))},
       [](TQ3Object o) {
         expectOutward(o, {0, 0, 0});
       }},
      {"Cylinder with caps",
       kQ3GeometryTypeCylinder,
       {container({obj("Cylinder", "cyln", join({point(0, 2, 0), point(1, 0, 0), point(0, 0, 1), point(0, 0, 0)})),
                   obj("Caps", "caps", {w("Top|Bottom", 3)})})},
       [](TQ3Object o) {
         EXPECT_NEAR(infoOf(o).bounds.max.y, 2.0f, 1e-5);
         expectOutward(o, {0, 1, 0});
       }},
      {"Cone",
       kQ3GeometryTypeCone,
       {container({obj("Cone", "cone", join({point(0, 0, 1), point(1, 0, 0), point(0, 1, 0), point(0, 0, 0)})),
                   obj("Caps", "caps", {w("Bottom", 2)})})},
       [](TQ3Object o) {
         expectOutward(o, {0, 0, 0.25f});
       }},
      {"Disk",
       kQ3GeometryTypeDisk,
       {obj("Disk", "disk", join({point(1, 0, 0), point(0, 1, 0), point(0, 0, 0), {f(0), f(1), f(0), f(1)}}))},
       [](TQ3Object o) {
         expectOutward(o, {0, 0, -1});
       }},
      {"Torus",
       kQ3GeometryTypeTorus,
       {obj(
           "Torus", "tors",
           join({point(0, 0, 0.5), point(2, 0, 0), point(0, 2, 0), point(0, 0, 0), {f(1)}, {f(0), f(1), f(0), f(1)}}))},
       [](TQ3Object o) { EXPECT_NEAR(infoOf(o).bounds.max.x, 2.5f, 1e-4); }},
      {"Ellipse",
       kQ3GeometryTypeEllipse,
       {obj("Ellipse", "elps", join({point(2, 0, 0), point(0, 1, 0), point(0, 0, 0), {f(0), f(1)}}))},
       [](TQ3Object o) { EXPECT_GT(infoOf(o).numLines, 8u); }},
      {"TriGrid",
       kQ3GeometryTypeTriGrid,
       {obj("TriGrid", "trig",
            join({{u(2), u(3)},
                  point(0, 0, 0),
                  point(1, 0, 0),
                  point(2, 0, 0),
                  point(0, 1, 0),
                  point(1, 1, 0),
                  point(2, 1, 0)}))},
       [](TQ3Object o) {
         EXPECT_EQ(infoOf(o).numTriangles, 4u);
         EXPECT_EQ(infoOf(o).numFaces, 4u);
       }},
      {"Mesh",
       kQ3GeometryTypeMesh,
       {obj("Mesh", "mesh",
            join({{u(5)},
                  point(0, 0, 0),
                  point(1, 0, 0),
                  point(1, 1, 0),
                  point(0, 1, 0),
                  point(2, 0, 0),
                  {u(2), u(0)},
                  {i(4), u(0), u(1), u(2), u(3)},
                  {i(3), u(1), u(4), u(2)}}))},
       [](TQ3Object o) {
         EXPECT_EQ(infoOf(o).numTriangles, 3u);
         EXPECT_EQ(infoOf(o).numFaces, 2u);
       }},
  };
  return table;
}

TEST_F(ReaderKinds, EachGeometryReadsAlikeFromEveryEncoding) {
  for (const Kind &kind : kinds()) {
    std::string first;
    for (const Encoded &e : encodings) {
      SCOPED_TRACE(std::string(kind.name) + " from " + e.name);
      auto objects = readAll(e.encode(kind.objects));
      EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
      ASSERT_EQ(objects.size(), 1u);
      EXPECT_EQ(Q3Object_GetLeafType(objects[0]), kind.leaf);
      const std::string d = describe(objects[0]);
      if (first.empty())
        first = d;
      else
        EXPECT_EQ(d, first);
      kind.check(objects[0]);
      disposeAll(objects);
    }
  }
}

// Objects that are not geometries: read back and asked through their own calls.
TEST_F(ReaderKinds, TransformsStylesAndShadersReadAlike) {
  const std::vector<Obj> file = {
      obj("Translate", "trns", point(1, 2, 3)),
      obj("Scale", "scal", point(2, 2, 2)),
      obj("Rotate", "rott", {w("Z", 2), f(1.5)}),
      obj("RotateAboutPoint", "rtap", join({{w("X", 0), f(0.5)}, point(1, 0, 0)})),
      obj("RotateAboutAxis", "rtaa", join({point(0, 0, 0), point(0, 1, 0), {f(0.25)}})),
      obj("Quaternion", "qtrn", {f(1), f(0), f(0), f(0)}),
      obj("Matrix", "mtrx",
          {f(1), f(0), f(0), f(0), f(0), f(1), f(0), f(0), f(0), f(0), f(1), f(0), f(7), f(8), f(9), f(1)}),
      obj("BackfacingStyle", "bckf", {w("Flipped", 2)}),
      obj("InterpolationStyle", "intp", {w("Vertex", 1)}),
      obj("FillStyle", "fist", {w("Edges", 1)}),
      obj("OrientationStyle", "ornt", {w("Clockwise", 1)}),
      obj("PickIDStyle", "pkid", {u(42)}),
      obj("FogStyle", "fogg", {w("On", 1), w("Exponential", 1), f(1), f(10), f(0.5), f(1), f(0.5), f(0.5), f(0.5)}),
      obj("PhongIllumination", "phil"),
      obj("NULLIllumination", "nuil"),
  };
  const TQ3ObjectType leaves[] = {kQ3TransformTypeTranslate,
                                  kQ3TransformTypeScale,
                                  kQ3TransformTypeRotate,
                                  kQ3TransformTypeRotateAboutPoint,
                                  kQ3TransformTypeRotateAboutAxis,
                                  kQ3TransformTypeQuaternion,
                                  kQ3TransformTypeMatrix,
                                  kQ3StyleTypeBackfacing,
                                  kQ3StyleTypeInterpolation,
                                  kQ3StyleTypeFill,
                                  kQ3StyleTypeOrientation,
                                  kQ3StyleTypePickID,
                                  kQ3StyleTypeFog,
                                  kQ3IlluminationTypePhong,
                                  kQ3IlluminationTypeNULL};
  for (const Encoded &e : encodings) {
    SCOPED_TRACE(e.name);
    auto objects = readAll(e.encode(file));
    EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
    ASSERT_EQ(objects.size(), std::size(leaves));
    for (size_t k = 0; k < objects.size(); ++k) EXPECT_EQ(Q3Object_GetLeafType(objects[k]), leaves[k]) << k;
    TQ3Matrix4x4 m;
    Q3Transform_GetMatrix(objects[0], &m);
    EXPECT_FLOAT_EQ(m.value[3][2], 3.0f);
    Q3Transform_GetMatrix(objects[6], &m);
    EXPECT_FLOAT_EQ(m.value[3][1], 8.0f);
    TQ3BackfacingStyle back;
    Q3BackfacingStyle_Get(objects[7], &back);
    EXPECT_EQ(back, kQ3BackfacingStyleFlip);
    TQ3OrientationStyle orient;
    Q3OrientationStyle_Get(objects[10], &orient);
    EXPECT_EQ(orient, kQ3OrientationStyleClockwise);
    TQ3Uns32 id;
    Q3PickIDStyle_Get(objects[11], &id);
    EXPECT_EQ(id, 42u);
    TQ3FogStyleData fog;
    Q3FogStyle_GetData(objects[12], &fog);
    EXPECT_EQ(fog.mode, kQ3FogModeExponential);
    EXPECT_FLOAT_EQ(fog.fogEnd, 10.0f);
    disposeAll(objects);
  }
}

} // namespace
