// Tessellate.h: turning the data of geometry kinds into Meshes.
//
// Each function appends to `mesh` (vertices, triangles, faces, lines,
// outline) in the geometry's local coordinates. Triangles wind
// counter-clockwise seen from the front; curved surfaces get outward unit
// normals and u, v in [0, 1]. Values given per vertex or per face are
// copied into the mesh; callers pass empty vectors for none.
#pragma once

#include "Mesh.h"

#include <vector>

namespace q3::tess {

// Around and along segments of curved surfaces.
constexpr uint32_t kSegmentsAround = 32;
constexpr uint32_t kSegmentsAlong = 16;

// Adds the vertices; returns the index of the first.
uint32_t addVertices(Mesh &mesh, const std::vector<TQ3Point3D> &points, const std::vector<AttributeValues> &values);

// Triangulates one planar face made of contours of vertex indices (the
// first the outer boundary, the others holes, filled even-odd) and adds its
// outline. The face winds like its outer contour. False when it has fewer
// than three usable vertices (nothing is added then).
bool addFace(Mesh &mesh, const std::vector<std::vector<uint32_t>> &contours, uint32_t face);

// 6 faces: 0 at the tip of `orientation`, 1 through `origin`, 2 and 3 for
// majorAxis, 4 and 5 for minorAxis. faceValues: empty or 6.
void box(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D orientation, TQ3Vector3D majorAxis, TQ3Vector3D minorAxis,
         const std::vector<AttributeValues> &faceValues);
void ellipsoid(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D orientation, TQ3Vector3D majorRadius,
               TQ3Vector3D minorRadius);
// caps: 1 top, 2 bottom. Face 0 is the side, 1 the bottom, 2 the top.
void cylinder(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D orientation, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius,
              uint32_t caps, const AttributeValues &bottom, const AttributeValues &top);
// The apex at origin + orientation; caps: 2 bottom.
void cone(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D orientation, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius,
          uint32_t caps, const AttributeValues &bottom);
// Faces the direction majorRadius x minorRadius.
void disk(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius);
// The tube's centre runs along origin + major cos + minor sin; its cross
// section spans `orientation` and ratio x |orientation| outwards.
void torus(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D orientation, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius,
           float ratio);
// A closed loop of lines.
void ellipse(Mesh &mesh, TQ3Point3D origin, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius);

} // namespace q3::tess
