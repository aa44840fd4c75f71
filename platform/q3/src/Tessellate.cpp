// Tessellate.cpp: polygons by ear clipping, curved surfaces by parameter grids.
#include "Tessellate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace q3::tess {
namespace {
constexpr double kPi = 3.14159265358979323846;

struct V3 {
  double x, y, z;
};
V3 v3(const TQ3Point3D &p) { return {p.x, p.y, p.z}; }
V3 v3(const TQ3Vector3D &p) { return {p.x, p.y, p.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(V3 a) { return std::sqrt(dot(a, a)); }
V3 unit(V3 a) {
  const double l = length(a);
  return l > 0 ? a * (1.0 / l) : V3{0, 0, 0};
}
TQ3Point3D point(V3 a) { return {float(a.x), float(a.y), float(a.z)}; }
TQ3Vector3D vector(V3 a) { return {float(a.x), float(a.y), float(a.z)}; }

uint32_t addVertex(Mesh &mesh, V3 p, V3 normal, double u, double v) {
  MeshVertex vx;
  vx.point = point(p);
  const V3 n = unit(normal);
  if (length(n) > 0) {
    vx.attributes.normal = vector(n);
    vx.attributes.mask |= AttributeValues::kNormal;
  }
  vx.attributes.uv = {float(u), float(v)};
  vx.attributes.mask |= AttributeValues::kUV;
  mesh.vertices.push_back(vx);
  return uint32_t(mesh.vertices.size() - 1);
}

// Makes triangles from `first` on wind counter-clockwise around their
// vertices' normals, whatever the handedness of the axes they came from.
void windByNormals(Mesh &mesh, size_t first) {
  for (size_t i = first; i < mesh.triangles.size(); ++i) {
    MeshTriangle &t = mesh.triangles[i];
    const V3 a = v3(mesh.vertices[t.vertex[0]].point), b = v3(mesh.vertices[t.vertex[1]].point),
             c = v3(mesh.vertices[t.vertex[2]].point);
    V3 n{0, 0, 0};
    for (uint32_t k : t.vertex) n = n + v3(mesh.vertices[k].attributes.normal);
    if (dot(cross(b - a, c - a), n) < 0) std::swap(t.vertex[1], t.vertex[2]);
  }
}

uint32_t newFace(Mesh &mesh, const AttributeValues &values = {}) {
  mesh.faces.push_back(values);
  return uint32_t(mesh.faces.size() - 1);
}

// A (su+1) x (sv+1) grid of P(u, v) with normals N(u, v), u and v in [0, 1].
template <class P, class N> void grid(Mesh &mesh, uint32_t su, uint32_t sv, uint32_t face, P position, N normal) {
  const uint32_t base = uint32_t(mesh.vertices.size());
  const size_t firstTriangle = mesh.triangles.size();
  for (uint32_t j = 0; j <= sv; ++j)
    for (uint32_t i = 0; i <= su; ++i) {
      const double u = double(i) / su, v = double(j) / sv;
      addVertex(mesh, position(u, v), normal(u, v), u, v);
    }
  for (uint32_t j = 0; j < sv; ++j)
    for (uint32_t i = 0; i < su; ++i) {
      const uint32_t a = base + j * (su + 1) + i, b = a + 1, c = a + su + 1, d = c + 1;
      mesh.triangles.push_back({{a, b, d}, face});
      mesh.triangles.push_back({{a, d, c}, face});
    }
  windByNormals(mesh, firstTriangle);
}

// A flat cap: a fan around centre in the plane of a and b, facing `normal`.
void cap(Mesh &mesh, V3 centre, V3 a, V3 b, V3 normal, uint32_t face) {
  const size_t firstTriangle = mesh.triangles.size();
  const uint32_t c = addVertex(mesh, centre, normal, 0.5, 0.5);
  for (uint32_t i = 0; i <= kSegmentsAround; ++i) {
    const double phi = 2 * kPi * i / kSegmentsAround;
    addVertex(mesh, centre + a * std::cos(phi) + b * std::sin(phi), normal, 0.5 + 0.5 * std::cos(phi),
              0.5 + 0.5 * std::sin(phi));
  }
  for (uint32_t i = 0; i < kSegmentsAround; ++i) mesh.triangles.push_back({{c, c + 1 + i, c + 2 + i}, face});
  windByNormals(mesh, firstTriangle);
}

double handedness(V3 a, V3 b, V3 c) { return dot(a, cross(b, c)) < 0 ? -1.0 : 1.0; }

// Polygon triangulation in the plane.
struct P2 {
  double x, y;
};
double cross2(P2 o, P2 a, P2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }
double area2(const std::vector<P2> &pts, const std::vector<uint32_t> &ring) {
  double s = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const P2 a = pts[ring[i]], b = pts[ring[(i + 1) % ring.size()]];
    s += a.x * b.y - b.x * a.y;
  }
  return s;
}
bool segmentsCross(P2 a, P2 b, P2 c, P2 d) {
  const double d1 = cross2(a, b, c), d2 = cross2(a, b, d), d3 = cross2(c, d, a), d4 = cross2(c, d, b);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}
bool inTriangle(P2 p, P2 a, P2 b, P2 c) { return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0; }

// Above this size ear clipping (quadratic or worse) would stall on hostile
// input; such faces are fanned instead.
constexpr size_t kMaxClippedVertices = 2000;

// Joins each hole into the outer ring through a bridge that crosses no edge.
std::vector<uint32_t> bridgeHoles(const std::vector<P2> &pts, std::vector<uint32_t> outer,
                                  std::vector<std::vector<uint32_t>> holes) {
  std::sort(holes.begin(), holes.end(), [&](const auto &h1, const auto &h2) {
    auto maxX = [&](const auto &h) {
      double m = -HUGE_VAL;
      for (uint32_t i : h) m = std::max(m, pts[i].x);
      return m;
    };
    return maxX(h1) > maxX(h2);
  });
  for (auto &hole : holes) {
    size_t m = 0;
    for (size_t i = 1; i < hole.size(); ++i)
      if (pts[hole[i]].x > pts[hole[m]].x) m = i;
    const P2 hp = pts[hole[m]];
    size_t best = outer.size();
    double bestDist = HUGE_VAL;
    for (size_t i = 0; i < outer.size(); ++i) {
      const P2 op = pts[outer[i]];
      const double dist = (op.x - hp.x) * (op.x - hp.x) + (op.y - hp.y) * (op.y - hp.y);
      if (dist >= bestDist) continue;
      bool clear = true;
      auto check = [&](const std::vector<uint32_t> &ring) {
        for (size_t k = 0; k < ring.size() && clear; ++k)
          if (segmentsCross(hp, op, pts[ring[k]], pts[ring[(k + 1) % ring.size()]])) clear = false;
      };
      check(outer);
      for (const auto &h : holes) check(h);
      if (clear) best = i, bestDist = dist;
    }
    if (best == outer.size()) continue; // no clear bridge: the hole is dropped
    std::vector<uint32_t> joined(outer.begin(), outer.begin() + best + 1);
    for (size_t k = 0; k <= hole.size(); ++k) joined.push_back(hole[(m + k) % hole.size()]);
    joined.insert(joined.end(), outer.begin() + best, outer.end());
    outer = std::move(joined);
  }
  return outer;
}

void earClip(const std::vector<P2> &pts, std::vector<uint32_t> ring, std::vector<std::array<uint32_t, 3>> &out) {
  if (ring.size() > kMaxClippedVertices) {
    for (size_t i = 1; i + 1 < ring.size(); ++i) out.push_back({ring[0], ring[i], ring[i + 1]});
    return;
  }
  while (ring.size() > 3) {
    const size_t n = ring.size();
    size_t ear = n;
    for (size_t i = 0; i < n && ear == n; ++i) {
      const uint32_t a = ring[(i + n - 1) % n], b = ring[i], c = ring[(i + 1) % n];
      if (cross2(pts[a], pts[b], pts[c]) <= 0) continue; // reflex or flat
      bool empty = true;
      for (size_t k = 0; k < n && empty; ++k) {
        const uint32_t p = ring[k];
        if (p == a || p == b || p == c) continue;
        if (inTriangle(pts[p], pts[a], pts[b], pts[c])) empty = false;
      }
      if (empty) ear = i;
    }
    if (ear == n) ear = 0; // only degenerate corners remain: clip anyway so the loop ends
    out.push_back({ring[(ear + n - 1) % n], ring[ear], ring[(ear + 1) % n]});
    ring.erase(ring.begin() + ear);
  }
  if (ring.size() == 3) out.push_back({ring[0], ring[1], ring[2]});
}
} // namespace

uint32_t addVertices(Mesh &mesh, const std::vector<TQ3Point3D> &points, const std::vector<AttributeValues> &values) {
  const uint32_t first = uint32_t(mesh.vertices.size());
  for (size_t i = 0; i < points.size(); ++i) {
    MeshVertex v;
    v.point = points[i];
    if (i < values.size()) v.attributes = values[i];
    mesh.vertices.push_back(std::move(v));
  }
  return first;
}

bool addFace(Mesh &mesh, const std::vector<std::vector<uint32_t>> &contours, uint32_t face) {
  if (contours.empty()) return false;
  // Drop repeated corners; they make zero-area ears.
  std::vector<std::vector<uint32_t>> rings;
  for (const auto &c : contours) {
    std::vector<uint32_t> r;
    for (uint32_t i : c)
      if (r.empty() || std::memcmp(&mesh.vertices[r.back()].point, &mesh.vertices[i].point, sizeof(TQ3Point3D)))
        r.push_back(i);
    while (r.size() > 1 &&
           !std::memcmp(&mesh.vertices[r.front()].point, &mesh.vertices[r.back()].point, sizeof(TQ3Point3D)))
      r.pop_back();
    if (r.size() >= 3)
      rings.push_back(std::move(r));
    else if (rings.empty())
      return false; // no usable outer boundary
  }
  if (rings.empty()) return false;
  for (const auto &r : rings)
    for (size_t i = 0; i < r.size(); ++i) mesh.outline.push_back({{r[i], r[(i + 1) % r.size()]}});

  // Newell normal of the outer ring; project on the plane it faces most.
  V3 n{0, 0, 0};
  const auto &outer = rings[0];
  for (size_t i = 0; i < outer.size(); ++i) {
    const V3 a = v3(mesh.vertices[outer[i]].point), b = v3(mesh.vertices[outer[(i + 1) % outer.size()]].point);
    n = n + V3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
  }
  const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  if (!(ax + ay + az > 0)) return true; // collinear: only the outline remains
  std::vector<P2> pts(mesh.vertices.size());
  for (const auto &r : rings)
    for (uint32_t i : r) {
      const V3 p = v3(mesh.vertices[i].point);
      P2 q = az >= ax && az >= ay ? P2{p.x, p.y} : ax >= ay ? P2{p.y, p.z} : P2{p.z, p.x};
      const double side = az >= ax && az >= ay ? n.z : ax >= ay ? n.x : n.y;
      if (side < 0) q.x = -q.x; // the outer ring runs counter-clockwise in the plane
      pts[i] = q;
    }
  std::vector<std::vector<uint32_t>> holes(rings.begin() + 1, rings.end());
  for (auto &h : holes)
    if (area2(pts, h) > 0) std::reverse(h.begin(), h.end());
  std::vector<uint32_t> ring = outer;
  if (area2(pts, ring) < 0) std::reverse(ring.begin(), ring.end());
  if (!holes.empty()) ring = bridgeHoles(pts, ring, holes);
  std::vector<std::array<uint32_t, 3>> tris;
  earClip(pts, ring, tris);
  for (const auto &t : tris) mesh.triangles.push_back({{t[0], t[1], t[2]}, face});
  return true;
}

void box(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D orientation, TQ3Vector3D majorAxis, TQ3Vector3D minorAxis,
         const std::vector<AttributeValues> &faceValues) {
  const V3 o = v3(originP), c = v3(orientation), a = v3(majorAxis), b = v3(minorAxis);
  const V3 centre = o + (a + b + c) * 0.5;
  struct Side {
    V3 base, e1, e2;
  };
  const Side sides[6] = {{o + c, a, b}, {o, a, b}, {o + a, c, b}, {o, c, b}, {o + b, c, a}, {o, c, a}};
  for (int s = 0; s < 6; ++s) {
    const uint32_t face = newFace(mesh, s < int(faceValues.size()) ? faceValues[s] : AttributeValues{});
    const Side &side = sides[s];
    V3 normal = unit(cross(side.e1, side.e2));
    if (dot(side.base + (side.e1 + side.e2) * 0.5 - centre, normal) < 0) normal = normal * -1.0;
    const size_t firstTriangle = mesh.triangles.size();
    const uint32_t v0 = addVertex(mesh, side.base, normal, 0, 0);
    addVertex(mesh, side.base + side.e1, normal, 1, 0);
    addVertex(mesh, side.base + side.e1 + side.e2, normal, 1, 1);
    addVertex(mesh, side.base + side.e2, normal, 0, 1);
    mesh.triangles.push_back({{v0, v0 + 1, v0 + 2}, face});
    mesh.triangles.push_back({{v0, v0 + 2, v0 + 3}, face});
    for (uint32_t k = 0; k < 4; ++k) mesh.outline.push_back({{v0 + k, v0 + (k + 1) % 4}});
    windByNormals(mesh, firstTriangle);
  }
}

void ellipsoid(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D orientation, TQ3Vector3D majorRadius,
               TQ3Vector3D minorRadius) {
  const V3 o = v3(originP), c = v3(orientation), a = v3(majorRadius), b = v3(minorRadius);
  const double h = handedness(a, b, c);
  const V3 na = cross(b, c) * h, nb = cross(c, a) * h, nc = cross(a, b) * h;
  const uint32_t face = newFace(mesh);
  grid(
      mesh, kSegmentsAround, kSegmentsAlong, face,
      [&](double u, double v) {
        const double t = kPi * v, p = 2 * kPi * u;
        return o + a * (std::sin(t) * std::cos(p)) + b * (std::sin(t) * std::sin(p)) + c * -std::cos(t);
      },
      [&](double u, double v) {
        // At the poles the sphere normal is the axis itself.
        const double t = kPi * v, p = 2 * kPi * u;
        return na * (std::sin(t) * std::cos(p)) + nb * (std::sin(t) * std::sin(p)) + nc * -std::cos(t);
      });
}

void cylinder(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D orientation, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius,
              uint32_t caps, const AttributeValues &bottom, const AttributeValues &top) {
  const V3 o = v3(originP), c = v3(orientation), a = v3(majorRadius), b = v3(minorRadius);
  const double h = handedness(a, b, c);
  const V3 na = cross(b, c) * h, nb = cross(c, a) * h, up = cross(a, b) * h;
  const uint32_t side = newFace(mesh), bottomFace = newFace(mesh, bottom), topFace = newFace(mesh, top);
  grid(
      mesh, kSegmentsAround, 1, side,
      [&](double u, double v) { return o + c * v + a * std::cos(2 * kPi * u) + b * std::sin(2 * kPi * u); },
      [&](double u, double) { return na * std::cos(2 * kPi * u) + nb * std::sin(2 * kPi * u); });
  if (caps & 2) cap(mesh, o, a, b, up * -1.0, bottomFace);
  if (caps & 1) cap(mesh, o + c, a, b, up, topFace);
}

void cone(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D orientation, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius,
          uint32_t caps, const AttributeValues &bottom) {
  const V3 o = v3(originP), c = v3(orientation), a = v3(majorRadius), b = v3(minorRadius);
  const double h = handedness(a, b, c);
  const uint32_t side = newFace(mesh), bottomFace = newFace(mesh, bottom);
  grid(
      mesh, kSegmentsAround, kSegmentsAlong / 2, side,
      [&](double u, double v) { return o + c * v + (a * std::cos(2 * kPi * u) + b * std::sin(2 * kPi * u)) * (1 - v); },
      [&](double u, double) {
        // The same for every v along one line of the cone, the apex included.
        const double p = 2 * kPi * u;
        const V3 radial = a * std::cos(p) + b * std::sin(p), around = a * -std::sin(p) + b * std::cos(p);
        V3 n = cross(around, c - radial);
        return dot(n, radial) < 0 ? n * -1.0 : n;
      });
  if (caps & 2) cap(mesh, o, a, b, cross(a, b) * -h, bottomFace);
}

void disk(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius) {
  const V3 a = v3(majorRadius), b = v3(minorRadius);
  cap(mesh, v3(originP), a, b, cross(a, b), newFace(mesh));
}

void torus(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D orientation, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius,
           float ratio) {
  const V3 o = v3(originP), c = v3(orientation), a = v3(majorRadius), b = v3(minorRadius);
  const double r = ratio > 0 && std::isfinite(ratio) ? ratio : 1.0;
  const double tube = length(c) * r;
  const V3 cHat = unit(c);
  grid(
      mesh, kSegmentsAround, kSegmentsAlong, newFace(mesh),
      [&](double u, double v) {
        const double p = 2 * kPi * u, t = 2 * kPi * v;
        const V3 ring = a * std::cos(p) + b * std::sin(p);
        return o + ring + unit(ring) * (tube * std::cos(t)) + c * std::sin(t);
      },
      [&](double u, double v) {
        const double p = 2 * kPi * u, t = 2 * kPi * v;
        const V3 ring = unit(a * std::cos(p) + b * std::sin(p));
        return ring * (std::cos(t) / r) + cHat * std::sin(t);
      });
}

void ellipse(Mesh &mesh, TQ3Point3D originP, TQ3Vector3D majorRadius, TQ3Vector3D minorRadius) {
  const V3 o = v3(originP), a = v3(majorRadius), b = v3(minorRadius);
  const uint32_t first = uint32_t(mesh.vertices.size());
  for (uint32_t i = 0; i < kSegmentsAround; ++i) {
    const double p = 2 * kPi * i / kSegmentsAround;
    MeshVertex v;
    v.point = point(o + a * std::cos(p) + b * std::sin(p));
    mesh.vertices.push_back(v);
  }
  for (uint32_t i = 0; i < kSegmentsAround; ++i) mesh.lines.push_back({{first + i, first + (i + 1) % kSegmentsAround}});
}

} // namespace q3::tess
