// Geometry.cpp: the geometry base, TriMesh, and their public calls.
#include "Geometry.h"

#include "Q3Math.h"
#include "Submit.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace q3 {

const Mesh &Geometry::mesh() const {
  mesh_.geometry = set_ ? set_->values() : AttributeValues{};
  return mesh_;
}

void Geometry::submit(SubmitTarget &target) const { target.geometry(*this, mesh()); }

uint32_t triMeshValueFloats(TQ3AttributeType type) {
  switch (type) {
  case kQ3AttributeTypeSurfaceUV:
  case kQ3AttributeTypeShadingUV: return 2;
  case kQ3AttributeTypeNormal:
  case kQ3AttributeTypeDiffuseColor:
  case kQ3AttributeTypeSpecularColor:
  case kQ3AttributeTypeTransparencyColor: return 3;
  case kQ3AttributeTypeAmbientCoefficient:
  case kQ3AttributeTypeSpecularControl: return 1;
  default: return 0;
  }
}

void applyAttributeValue(AttributeValues &v, TQ3AttributeType type, const float *f) {
  switch (type) {
  case kQ3AttributeTypeSurfaceUV:
  case kQ3AttributeTypeShadingUV:
    v.uv = {f[0], f[1]};
    v.mask |= AttributeValues::kUV;
    break;
  case kQ3AttributeTypeNormal: {
    // Files carry zero-length normals; leaving them out lets the renderer
    // use the face's own normal instead of a NaN.
    const double len = std::sqrt(double(f[0]) * f[0] + double(f[1]) * f[1] + double(f[2]) * f[2]);
    if (!(len > 1e-12) || !std::isfinite(len)) break;
    v.normal = {float(f[0] / len), float(f[1] / len), float(f[2] / len)};
    v.mask |= AttributeValues::kNormal;
    break;
  }
  case kQ3AttributeTypeDiffuseColor:
    v.diffuse = {f[0], f[1], f[2]};
    v.mask |= AttributeValues::kDiffuse;
    break;
  case kQ3AttributeTypeSpecularColor:
    v.specular = {f[0], f[1], f[2]};
    v.mask |= AttributeValues::kSpecular;
    break;
  case kQ3AttributeTypeTransparencyColor:
    v.transparency = {f[0], f[1], f[2]};
    v.mask |= AttributeValues::kTransparency;
    break;
  case kQ3AttributeTypeAmbientCoefficient:
    v.ambientCoefficient = f[0];
    v.mask |= AttributeValues::kAmbientCoefficient;
    break;
  case kQ3AttributeTypeSpecularControl:
    v.specularControl = f[0];
    v.mask |= AttributeValues::kSpecularControl;
    break;
  default: break;
  }
}

namespace {
bool validArrays(const std::vector<TriMeshArray> &arrays, size_t count) {
  for (const TriMeshArray &a : arrays) {
    const uint32_t n = triMeshValueFloats(a.type);
    if (n == 0 || a.values.size() != count * n || (!a.use.empty() && a.use.size() != count)) return false;
  }
  return true;
}

void applyArrays(const std::vector<TriMeshArray> &arrays, size_t index, AttributeValues &v) {
  for (const TriMeshArray &a : arrays) {
    if (!a.use.empty() && !a.use[index]) continue;
    const uint32_t n = triMeshValueFloats(a.type);
    applyAttributeValue(v, a.type, &a.values[index * n]);
  }
}

Mesh meshOf(const TriMeshContent &c) {
  Mesh m;
  m.vertices.resize(c.points.size());
  for (size_t i = 0; i < c.points.size(); ++i) {
    m.vertices[i].point = c.points[i];
    applyArrays(c.vertexArrays, i, m.vertices[i].attributes);
  }
  const bool perTriangle = !c.triangleArrays.empty();
  m.faces.resize(perTriangle ? c.triangles.size() : 1);
  m.triangles.resize(c.triangles.size());
  for (size_t i = 0; i < c.triangles.size(); ++i) {
    const auto &t = c.triangles[i].pointIndices;
    m.triangles[i] = {{t[0], t[1], t[2]}, perTriangle ? uint32_t(i) : 0u};
    if (perTriangle) applyArrays(c.triangleArrays, i, m.faces[i]);
  }
  return m;
}
} // namespace

bool validTriMesh(const TriMeshContent &c) {
  const size_t np = c.points.size(), nt = c.triangles.size();
  bool ok =
      validArrays(c.vertexArrays, np) && validArrays(c.triangleArrays, nt) && validArrays(c.edgeArrays, c.edges.size());
  for (const auto &p : c.points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) ok = false;
  for (const auto &t : c.triangles)
    for (TQ3Uns32 i : t.pointIndices)
      if (i >= np) ok = false;
  for (const auto &e : c.edges) {
    if (e.pointIndices[0] >= np || e.pointIndices[1] >= np) ok = false;
    for (TQ3Uns32 t : e.triangleIndices)
      if (t != kQ3ArrayIndexNULL && t >= nt) ok = false;
  }
  if (!ok) postError(kQ3ErrorInvalidParameter);
  return ok;
}

TriMesh::TriMesh(TriMeshContent content) : Geometry(type::TriMesh, meshOf(content)), content_(std::move(content)) {}

} // namespace q3

namespace {
using q3::TriMeshArray;

bool copyArrays(const TQ3TriMeshAttributeData *in, TQ3Uns32 n, size_t count, std::vector<TriMeshArray> &out) {
  if (n && !in) {
    q3::postError(kQ3ErrorNULLParameter);
    return false;
  }
  for (TQ3Uns32 i = 0; i < n; ++i) {
    const uint32_t floats = q3::triMeshValueFloats(in[i].attributeType);
    if (floats == 0) {
      q3::postError(kQ3ErrorAttributeInvalidType);
      return false;
    }
    if (count && !in[i].data) {
      q3::postError(kQ3ErrorNULLParameter);
      return false;
    }
    TriMeshArray a;
    a.type = in[i].attributeType;
    const float *values = static_cast<const float *>(in[i].data);
    a.values.assign(values, values + count * floats);
    if (in[i].attributeUseArray) a.use.assign(in[i].attributeUseArray, in[i].attributeUseArray + count);
    out.push_back(std::move(a));
  }
  return true;
}

TQ3TriMeshAttributeData *exportArrays(const std::vector<TriMeshArray> &arrays, size_t count) {
  if (arrays.empty()) return nullptr;
  auto *out = static_cast<TQ3TriMeshAttributeData *>(std::calloc(arrays.size(), sizeof(TQ3TriMeshAttributeData)));
  if (!out) return nullptr;
  for (size_t i = 0; i < arrays.size(); ++i) {
    out[i].attributeType = arrays[i].type;
    if (!arrays[i].values.empty()) {
      out[i].data = std::malloc(arrays[i].values.size() * sizeof(float));
      if (out[i].data) std::memcpy(out[i].data, arrays[i].values.data(), arrays[i].values.size() * sizeof(float));
    }
    if (!arrays[i].use.empty()) {
      out[i].attributeUseArray = static_cast<char *>(std::malloc(count));
      if (out[i].attributeUseArray) std::memcpy(out[i].attributeUseArray, arrays[i].use.data(), count);
    }
  }
  return out;
}

template <class T> T *exportVector(const std::vector<T> &v) {
  if (v.empty()) return nullptr;
  T *out = static_cast<T *>(std::malloc(v.size() * sizeof(T)));
  if (out) std::memcpy(out, v.data(), v.size() * sizeof(T));
  return out;
}

void freeArrays(TQ3TriMeshAttributeData *a, TQ3Uns32 n) {
  if (!a) return;
  for (TQ3Uns32 i = 0; i < n; ++i) {
    std::free(a[i].data);
    std::free(a[i].attributeUseArray);
  }
  std::free(a);
}

const q3::Mesh *meshOfGeometry(TQ3GeometryObject geometry) {
  const q3::Geometry *g = q3::validate<q3::Geometry>(geometry);
  return g ? &g->mesh() : nullptr;
}

void exportValues(const q3::AttributeValues &v, TQ3GeometryMeshValues &out) {
  out = {};
  if (v.has(q3::AttributeValues::kNormal)) out.mask |= kQ3MeshValueNormal, out.normal = v.normal;
  if (v.has(q3::AttributeValues::kUV)) out.mask |= kQ3MeshValueUV, out.uv = v.uv;
  if (v.has(q3::AttributeValues::kDiffuse)) out.mask |= kQ3MeshValueDiffuse, out.diffuse = v.diffuse;
  if (v.has(q3::AttributeValues::kTransparency))
    out.mask |= kQ3MeshValueTransparency, out.transparency = v.transparency;
}
} // namespace

Q3_EXTERN_API_C(TQ3GeometryObject) Q3TriMesh_New(const TQ3TriMeshData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d)) return nullptr;
  if ((d->numTriangles && !d->triangles) || (d->numEdges && !d->edges) || (d->numPoints && !d->points)) {
    q3::postError(kQ3ErrorNULLParameter);
    return nullptr;
  }
  q3::Ref<q3::AttributeSet> set;
  if (d->triMeshAttributeSet) {
    q3::AttributeSet *s = q3::validate<q3::AttributeSet>(d->triMeshAttributeSet);
    if (!s) return nullptr;
    set = q3::Ref<q3::AttributeSet>::share(s);
  }
  q3::TriMeshContent c;
  try {
    c.triangles.assign(d->triangles, d->triangles + d->numTriangles);
    c.edges.assign(d->edges, d->edges + d->numEdges);
    c.points.assign(d->points, d->points + d->numPoints);
    if (!copyArrays(d->triangleAttributeTypes, d->numTriangleAttributeTypes, d->numTriangles, c.triangleArrays) ||
        !copyArrays(d->edgeAttributeTypes, d->numEdgeAttributeTypes, d->numEdges, c.edgeArrays) ||
        !copyArrays(d->vertexAttributeTypes, d->numVertexAttributeTypes, d->numPoints, c.vertexArrays))
      return nullptr;
  } catch (const std::bad_alloc &) {
    q3::postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
  if (!q3::validTriMesh(c)) return nullptr;
  q3::TriMesh *mesh = q3::create<q3::TriMesh>(std::move(c));
  if (mesh && set) mesh->setAttributeSet(std::move(set));
  return q3::handleOf(mesh);
}

Q3_EXTERN_API_C(TQ3Status) Q3TriMesh_GetData(TQ3GeometryObject triMesh, TQ3TriMeshData *d) {
  const q3::TriMesh *mesh = q3::validate<q3::TriMesh>(triMesh);
  if (!mesh || !q3::requirePointer(d)) return kQ3Failure;
  const q3::TriMeshContent &c = mesh->content();
  *d = {};
  d->numTriangles = TQ3Uns32(c.triangles.size());
  d->triangles = exportVector(c.triangles);
  d->numEdges = TQ3Uns32(c.edges.size());
  d->edges = exportVector(c.edges);
  d->numPoints = TQ3Uns32(c.points.size());
  d->points = exportVector(c.points);
  d->numTriangleAttributeTypes = TQ3Uns32(c.triangleArrays.size());
  d->triangleAttributeTypes = exportArrays(c.triangleArrays, c.triangles.size());
  d->numEdgeAttributeTypes = TQ3Uns32(c.edgeArrays.size());
  d->edgeAttributeTypes = exportArrays(c.edgeArrays, c.edges.size());
  d->numVertexAttributeTypes = TQ3Uns32(c.vertexArrays.size());
  d->vertexAttributeTypes = exportArrays(c.vertexArrays, c.points.size());
  Q3BoundingBox_SetFromPoints3D(&d->bBox, d->points, d->numPoints, sizeof(TQ3Point3D));
  if (mesh->attributeSet()) {
    mesh->attributeSet()->retain();
    d->triMeshAttributeSet = mesh->attributeSet()->handle();
  }
  // Memory ran out somewhere above: give back what was made rather than a half-filled record.
  const bool complete = (!d->numTriangles || d->triangles) && (!d->numEdges || d->edges) &&
                        (!d->numPoints || d->points) && (!d->numTriangleAttributeTypes || d->triangleAttributeTypes) &&
                        (!d->numEdgeAttributeTypes || d->edgeAttributeTypes) &&
                        (!d->numVertexAttributeTypes || d->vertexAttributeTypes);
  if (!complete) {
    Q3TriMesh_EmptyData(d);
    q3::postError(kQ3ErrorOutOfMemory);
    return kQ3Failure;
  }
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3TriMesh_EmptyData(TQ3TriMeshData *d) {
  if (!q3::requirePointer(d)) return kQ3Failure;
  std::free(d->triangles);
  std::free(d->edges);
  std::free(d->points);
  freeArrays(d->triangleAttributeTypes, d->numTriangleAttributeTypes);
  freeArrays(d->edgeAttributeTypes, d->numEdgeAttributeTypes);
  freeArrays(d->vertexAttributeTypes, d->numVertexAttributeTypes);
  if (d->triMeshAttributeSet && q3::isInitialized()) Q3Object_Dispose(d->triMeshAttributeSet);
  *d = {};
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Geometry_GetType(TQ3GeometryObject geometry) {
  const q3::Geometry *g = q3::validate<q3::Geometry>(geometry);
  return g ? g->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3Geometry_GetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet *attributeSet) {
  const q3::Geometry *g = q3::validate<q3::Geometry>(geometry);
  if (!g || !q3::requirePointer(attributeSet)) return kQ3Failure;
  if (g->attributeSet()) g->attributeSet()->retain();
  *attributeSet = q3::handleOf(g->attributeSet());
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Geometry_SetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet attributeSet) {
  q3::Geometry *g = q3::validate<q3::Geometry>(geometry);
  if (!g) return kQ3Failure;
  q3::Ref<q3::AttributeSet> set;
  if (attributeSet) {
    q3::AttributeSet *s = q3::validate<q3::AttributeSet>(attributeSet);
    if (!s) return kQ3Failure;
    set = q3::Ref<q3::AttributeSet>::share(s);
  }
  g->setAttributeSet(std::move(set));
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Geometry_GetMeshInfo(TQ3GeometryObject geometry, TQ3GeometryMeshInfo *info) {
  const q3::Mesh *m = meshOfGeometry(geometry);
  if (!m || !q3::requirePointer(info)) return kQ3Failure;
  *info = {};
  info->numVertices = TQ3Uns32(m->vertices.size());
  info->numTriangles = TQ3Uns32(m->triangles.size());
  info->numFaces = TQ3Uns32(m->faces.size());
  info->numLines = TQ3Uns32(m->lines.size());
  info->numPoints = TQ3Uns32(m->points.size());
  Q3BoundingBox_Reset(&info->bounds);
  for (const q3::MeshVertex &v : m->vertices) Q3BoundingBox_UnionPoint3D(&info->bounds, &v.point, &info->bounds);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Geometry_GetMeshVertex(TQ3GeometryObject geometry, TQ3Uns32 index, TQ3Point3D *point, TQ3GeometryMeshValues *values) {
  const q3::Mesh *m = meshOfGeometry(geometry);
  if (!m) return kQ3Failure;
  if (index >= m->vertices.size()) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  if (point) *point = m->vertices[index].point;
  if (values) exportValues(m->vertices[index].attributes, *values);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Geometry_GetMeshTriangle(TQ3GeometryObject geometry, TQ3Uns32 index, TQ3Uns32 vertices[3], TQ3Uns32 *face) {
  const q3::Mesh *m = meshOfGeometry(geometry);
  if (!m) return kQ3Failure;
  if (index >= m->triangles.size()) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  if (vertices)
    for (int i = 0; i < 3; ++i) vertices[i] = m->triangles[index].vertex[i];
  if (face) *face = m->triangles[index].face;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Geometry_GetMeshFace(TQ3GeometryObject geometry, TQ3Uns32 index, TQ3GeometryMeshValues *values) {
  const q3::Mesh *m = meshOfGeometry(geometry);
  if (!m || !q3::requirePointer(values)) return kQ3Failure;
  if (index == kQ3ArrayIndexNULL) {
    exportValues(m->geometry, *values);
    return kQ3Success;
  }
  if (index >= m->faces.size()) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  exportValues(m->faces[index], *values);
  return kQ3Success;
}
