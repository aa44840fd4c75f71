// Raster.h: the software rasteriser: triangles, lines and points into a
// Frame, with a depth test.
//
// Contract: vertices are in window pixels (x right, y down, pixel centres at
// +0.5) with depth z (0 at hither, 1 at yon; smaller is nearer) and invW
// (1/w, for perspective-correct varyings). Triangles snap to 1/256 pixel
// and use integer edge functions with the top-left rule, so coverage is
// exact and the same on every target; a pixel is covered when its centre
// is inside, or on a top or left edge. Lines cover the pixels whose centre
// they pass along their major axis, start included, end excluded; a point
// covers the pixel it lies in. Everything is clipped to the frame; callers
// clip against the frustum beforehand so coordinates stay small.
// The shading callback gets the pixel, its depth and the interpolated
// varyings and returns whether it wrote the pixel (then depth is written
// when asked). Depth test: strictly nearer for triangles, nearer or equal
// for lines and points (so edges show on the faces they outline).
#pragma once

#include "DrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace q3::raster {

constexpr int kMaxVaryings = 14;

struct RasterVertex {
  float x, y, z, invW;
  float v[kMaxVaryings];
};

inline uint32_t toByte(float c) {
  // Clamped to 0..1 (NaN to 0) without branches: maxss and minss.
  const float lo = c > 0.0f ? c : 0.0f;
  const float x = lo < 1.0f ? lo : 1.0f;
  return uint32_t(int(x * 255.0f + 0.5f)); // signed: one instruction on x86
}

// floor() for values well inside the int range, without a library call
// (32-bit x86 has no rounding instruction before SSE4.1).
inline int floorInt(double v) {
  const int i = int(v);
  return i - (double(i) > v ? 1 : 0);
}

namespace detail {
// Shades the covered pixels xa..xb of row py: depth test, perspective-
// correct varyings, callback. NV is the varying count when known at
// compile time (-1: nv).
template <int NV, class Fn>
[[gnu::always_inline]] inline void shadeSpan(Frame &f, int py, int xa, int xb, int x0, int y0, int nv,
                                             const float *q00, const float *dqdx, const float *dqdy, bool writeDepth,
                                             Fn &shadePixel) {
  const int n = NV >= 0 ? NV : nv;
  float rowq[kMaxVaryings + 2], vary[kMaxVaryings];
  const float fy = float(py - y0);
  if constexpr (NV >= 0) {
#pragma GCC unroll 16
    for (int k = 0; k < NV + 2; ++k) rowq[k] = q00[k] + dqdy[k] * fy;
  } else {
    for (int k = 0; k < n + 2; ++k) rowq[k] = q00[k] + dqdy[k] * fy;
  }
  const size_t row = size_t(py) * size_t(f.width);
  float *depthRow = f.depth.data() + row;
  uint32_t *argbRow = f.argb.data() + row;
  for (int px = xa; px <= xb; ++px) {
    const float fx = float(px - x0);
    const float z = rowq[0] + dqdx[0] * fx;
    float &depth = depthRow[px];
    if (z < depth) {
      const float w = 1.0f / (rowq[1] + dqdx[1] * fx);
      if constexpr (NV >= 0) {
#pragma GCC unroll 16
        for (int k = 0; k < NV; ++k) vary[k] = (rowq[k + 2] + dqdx[k + 2] * fx) * w;
      } else {
        for (int k = 0; k < n; ++k) vary[k] = (rowq[k + 2] + dqdx[k + 2] * fx) * w;
      }
      if (shadePixel(argbRow[px], z, w, vary) && writeDepth) depth = z;
    }
  }
}

template <int NV, class Fn>
void triangle(Frame &f, const RasterVertex *a, const RasterVertex *b, const RasterVertex *c, int nv, bool writeDepth,
              Fn &shadePixel) {
  // Callers clip to the frustum, so vertices lie within the frame; this
  // only guards the fixed-point range against anything else.
  const double limit = 1048576.0;
  for (const RasterVertex *v : {a, b, c})
    if (!(std::fabs(v->x) < limit && std::fabs(v->y) < limit)) return;
  // Snapped coordinates stay below 2^28 and their differences below 2^29,
  // so products are single 32x32->64 multiplies.
  int32_t X[3] = {floorInt(a->x * 256.0 + 0.5), floorInt(b->x * 256.0 + 0.5), floorInt(c->x * 256.0 + 0.5)};
  int32_t Y[3] = {floorInt(a->y * 256.0 + 0.5), floorInt(b->y * 256.0 + 0.5), floorInt(c->y * 256.0 + 0.5)};
  int64_t area = int64_t(X[1] - X[0]) * (Y[2] - Y[0]) - int64_t(Y[1] - Y[0]) * (X[2] - X[0]);
  if (area == 0) return;
  const RasterVertex *v[3] = {a, b, c};
  if (area < 0) {
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
    std::swap(v[1], v[2]);
    area = -area;
  }
  const int32_t minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
  const int32_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
  // Pixels whose centre (p + 0.5) can lie inside.
  const int x0 = std::max(0, (minX - 128 + 255) >> 8);
  const int x1 = std::min(f.width - 1, (maxX - 128) >> 8);
  const int y0 = std::max(0, (minY - 128 + 255) >> 8);
  const int y1 = std::min(f.height - 1, (maxY - 128) >> 8);
  if (x0 > x1 || y0 > y1) return;

  // Edge i is opposite vertex i: E_i(p) = A_i px + B_i py + C_i, positive
  // inside; the bias leaves pixel centres on an edge only to top and left
  // edges ("E - bias >= 0").
  int32_t A[3], B[3], bias[3];
  int64_t C[3];
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3, k = (i + 2) % 3;
    const int32_t dx = X[k] - X[j], dy = Y[k] - Y[j];
    A[i] = -dy;
    B[i] = dx;
    C[i] = -(int64_t(A[i]) * X[j] + int64_t(B[i]) * Y[j]);
    const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
    bias[i] = topLeft ? 0 : 1;
  }
  // Every interpolated quantity q is a plane over the window: q = q00 +
  // dqdx (x - x0) + dqdy (y - y0) at pixel centres. Quantities: depth, 1/w,
  // and each varying times 1/w (perspective-correct).
  const int nq = (NV >= 0 ? NV : nv) + 2;
  float q[3][kMaxVaryings + 2];
  for (int i = 0; i < 3; ++i) {
    q[i][0] = v[i]->z;
    q[i][1] = v[i]->invW;
    for (int k = 0; k + 2 < nq; ++k) q[i][k + 2] = v[i]->v[k] * v[i]->invW;
  }
  const int32_t cx0 = x0 * 256 + 128, cy0 = y0 * 256 + 128;
  int64_t rowStart[3];
  double e00[3], dA[3], dB[3];
  for (int i = 0; i < 3; ++i) {
    const int64_t e = int64_t(A[i]) * cx0 + int64_t(B[i]) * cy0 + C[i];
    e00[i] = double(e);
    rowStart[i] = e - bias[i];
    dA[i] = double(A[i]);
    dB[i] = double(B[i]);
  }
  const double invArea = 1.0 / double(area);
  float q00[kMaxVaryings + 2], dqdx[kMaxVaryings + 2], dqdy[kMaxVaryings + 2];
  for (int k = 0; k < nq; ++k) {
    double sa = 0, sb = 0, sc = 0;
    for (int i = 0; i < 3; ++i) {
      sa += dA[i] * q[i][k];
      sb += dB[i] * q[i][k];
      sc += e00[i] * q[i][k];
    }
    q00[k] = float(sc * invArea);
    dqdx[k] = float(sa * 256.0 * invArea);
    dqdy[k] = float(sb * 256.0 * invArea);
  }
  // Rows walk the edge functions from the left until inside, then shade
  // until outside (a row's covered pixels are contiguous). Small triangles,
  // whose edge values over their box (one pixel of margin) fit in 32 bits,
  // step in 32-bit integers; others in 64.
  const auto rows = [&](auto zero) {
    using E = decltype(zero);
    E er[3] = {E(rowStart[0]), E(rowStart[1]), E(rowStart[2])};
    const E sx[3] = {E(int64_t(A[0]) * 256), E(int64_t(A[1]) * 256), E(int64_t(A[2]) * 256)};
    const E sy[3] = {E(int64_t(B[0]) * 256), E(int64_t(B[1]) * 256), E(int64_t(B[2]) * 256)};
    for (int py = y0; py <= y1; ++py) {
      E e0 = er[0], e1 = er[1], e2 = er[2];
      int px = x0;
      while (px <= x1 && (e0 | e1 | e2) < 0) e0 += sx[0], e1 += sx[1], e2 += sx[2], ++px;
      const int xa = px;
      while (px <= x1 && (e0 | e1 | e2) >= 0) e0 += sx[0], e1 += sx[1], e2 += sx[2], ++px;
      if (px > xa) shadeSpan<NV>(f, py, xa, px - 1, x0, y0, nv, q00, dqdx, dqdy, writeDepth, shadePixel);
      er[0] += sy[0], er[1] += sy[1], er[2] += sy[2];
    }
  };
  if (int64_t(maxX - minX + 512) * (maxY - minY + 512) <= (int64_t(1) << 29))
    rows(int32_t(0));
  else
    rows(int64_t(0));
}
} // namespace detail

// Shaders may state their varying count at compile time (kVaryings) so
// the pixel loop unrolls; nv must then equal it.
template <class Fn> constexpr int varyingsOf() {
  if constexpr (requires { Fn::kVaryings; })
    return Fn::kVaryings;
  else
    return -1;
}

template <class Fn>
void triangle(Frame &f, const RasterVertex *a, const RasterVertex *b, const RasterVertex *c, int nv, bool writeDepth,
              Fn &&shadePixel) {
  using F = std::remove_cvref_t<Fn>;
  detail::triangle<varyingsOf<F>()>(f, a, b, c, nv, writeDepth, shadePixel);
}

// Lines: the callback gets the pixel, depth and w (for fog).
template <class Fn> void line(Frame &f, const RasterVertex &a, const RasterVertex &b, Fn &&shadePixel) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const bool xMajor = std::fabs(dx) >= std::fabs(dy);
  const double s0 = xMajor ? a.x : a.y, s1 = xMajor ? b.x : b.y;
  if (s0 == s1) return;
  const double lo = std::min(s0, s1), hi = std::max(s0, s1);
  const int limit = xMajor ? f.width : f.height;
  // Pixels whose centre i + 0.5 lies in [lo, hi).
  int i0 = int(std::max(0.0, std::ceil(lo - 0.5)));
  int i1 = int(std::min(double(limit), std::ceil(hi - 0.5))) - 1;
  for (int i = i0; i <= i1; ++i) {
    const double t = (i + 0.5 - s0) / (s1 - s0);
    const double other = xMajor ? a.y + t * dy : a.x + t * dx;
    const int j = floorInt(other);
    const int px = xMajor ? i : j, py = xMajor ? j : i;
    if (px < 0 || py < 0 || px >= f.width || py >= f.height) continue;
    const float z = float(a.z + t * (double(b.z) - a.z));
    const float iw = float(a.invW + t * (double(b.invW) - a.invW));
    const size_t at = size_t(py) * size_t(f.width) + size_t(px);
    if (z <= f.depth[at] && shadePixel(f.argb[at], z, 1.0f / iw)) f.depth[at] = z;
  }
}

template <class Fn> void point(Frame &f, const RasterVertex &p, Fn &&shadePixel) {
  if (!(p.x >= 0.0f && p.y >= 0.0f && p.x < float(f.width) && p.y < float(f.height))) return;
  const int fx = floorInt(p.x), fy = floorInt(p.y);
  if (fx >= f.width || fy >= f.height) return;
  const size_t at = size_t(fy) * size_t(f.width) + size_t(fx);
  if (p.z <= f.depth[at] && shadePixel(f.argb[at], p.z, 1.0f / p.invW)) f.depth[at] = p.z;
}

} // namespace q3::raster
