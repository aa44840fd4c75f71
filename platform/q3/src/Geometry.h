// Geometry.h: geometry objects, as the engine sees them.
//
// Every geometry is a Shape whose submit() hands the view its tessellation:
// target.geometry(*this, mesh()). mesh() is a Mesh (Mesh.h) in local
// coordinates; its `geometry` member is refreshed from the geometry's
// attribute set on every call, so editing the set shows at once. The
// tessellation itself is made once (geometries do not change after
// creation); it is never rebuilt while a view holds the reference.
// - TriMesh keeps its data (points, triangles, edges, attribute arrays) for
//   Q3TriMesh_GetData.
// - TessellatedGeometry is every other kind: the reader builds its Mesh with
//   Tessellate.h and gives it the kind's leaf type.
#pragma once

#include "Attribute.h"
#include "Mesh.h"
#include "Object.h"
#include "Q3Geometry.h"

#include <vector>

namespace q3 {

class Geometry : public Shape {
public:
  const Mesh &mesh() const;
  AttributeSet *attributeSet() const { return set_.get(); }
  void setAttributeSet(Ref<AttributeSet> set) {
    set_ = std::move(set);
    edited();
  }
  void submit(SubmitTarget &target) const override;

protected:
  Geometry(const TypeInfo &leaf, Mesh tessellation) : Shape(leaf), mesh_(std::move(tessellation)) {}

private:
  Ref<AttributeSet> set_;
  mutable Mesh mesh_;
};

class TessellatedGeometry : public Geometry {
public:
  TessellatedGeometry(const TypeInfo &leaf, Mesh mesh) : Geometry(leaf, std::move(mesh)) {}
};

// One attribute array of a TriMesh: `floats` values per element.
struct TriMeshArray {
  TQ3AttributeType type = kQ3AttributeTypeNone;
  std::vector<float> values;
  std::vector<uint8_t> use; // empty: every element has a value
};

struct TriMeshContent {
  std::vector<TQ3TriMeshTriangleData> triangles;
  std::vector<TQ3TriMeshEdgeData> edges;
  std::vector<TQ3Point3D> points;
  std::vector<TriMeshArray> triangleArrays, edgeArrays, vertexArrays;
};

class TriMesh : public Geometry {
public:
  explicit TriMesh(TriMeshContent content);
  const TriMeshContent &content() const { return content_; }

private:
  TriMeshContent content_;
};

// Floats per element of an attribute type in a TriMesh array, 0 for types
// a TriMesh does not carry per element.
uint32_t triMeshValueFloats(TQ3AttributeType type);
// Puts one element's value (`triMeshValueFloats(type)` floats) into v.
void applyAttributeValue(AttributeValues &v, TQ3AttributeType type, const float *value);
// Checks a TriMesh's content: indices within the counts, finite points,
// arrays of the right length. Posts kQ3ErrorInvalidParameter and answers false.
bool validTriMesh(const TriMeshContent &content);

} // namespace q3
