// Mesh.h: what a geometry looks like to the renderer, picker and bounder.
//
// Every geometry (trimesh, polygon, box, ellipsoid, ...) turns itself into a
// Mesh in its local coordinates: vertices, triangles (front faces wind
// counter-clockwise seen from the viewer), lines and points, with attribute
// values resolved at geometry, face and vertex level. A view consumes only
// Meshes, so a new geometry kind needs no change in rendering, picking or
// bounding. Texture pixels are decoded once into TextureImage.
#pragma once

#include "Q3Base.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace q3 {

// Pixels of a texture decoded to 0xAARRGGBB, row 0 the top row (v = 1).
struct TextureImage {
  uint32_t width = 0, height = 0;
  std::vector<uint32_t> argb;
  bool hasAlpha = false; // some texel is not fully opaque
  bool wrapU = true, wrapV = true; // kQ3ShaderUVBoundaryWrap, else clamp
};

// Attribute values; `mask` tells which are present. Lower levels (vertex
// over face over geometry over the attribute state of the view) win.
struct AttributeValues {
  enum : uint32_t {
    kDiffuse = 1u << 0,
    kSpecular = 1u << 1,
    kSpecularControl = 1u << 2,
    kTransparency = 1u << 3,
    kAmbientCoefficient = 1u << 4,
    kNormal = 1u << 5,
    kUV = 1u << 6,
    kTexture = 1u << 7, // a surface shader with a texture
    kHighlight = 1u << 8,
  };
  uint32_t mask = 0;
  TQ3ColorRGB diffuse{}, specular{}, transparency{};
  float specularControl = 0, ambientCoefficient = 0;
  TQ3Vector3D normal{};
  TQ3Param2D uv{};
  std::shared_ptr<const TextureImage> texture;

  bool has(uint32_t bit) const { return (mask & bit) != 0; }
  // Takes every value `over` has.
  void overlay(const AttributeValues &over);
};

struct MeshVertex {
  TQ3Point3D point{};
  AttributeValues attributes; // normal, uv, colours of this vertex
};

struct MeshTriangle {
  uint32_t vertex[3];
  uint32_t face; // index into Mesh::faces
};

struct MeshLine {
  uint32_t vertex[2];
};

struct Mesh {
  std::vector<MeshVertex> vertices;
  std::vector<MeshTriangle> triangles;
  std::vector<AttributeValues> faces; // per face; a face may span several triangles
  std::vector<MeshLine> lines;        // line and polyline geometry: always drawn as lines
  std::vector<MeshLine> outline;      // edges of the faces for edge fill and wire frame (triangle edges if empty)
  std::vector<uint32_t> points;       // point geometry
  AttributeValues geometry;           // the geometry's own attribute set
  bool empty() const { return triangles.empty() && lines.empty() && points.empty(); }
};

} // namespace q3
