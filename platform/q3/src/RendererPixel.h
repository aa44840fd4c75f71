// RendererPixel.h: what the interactive renderer does at one pixel of a
// triangle: texture, lighting terms, transparency and fog.
//
// Contract: a PixelShader is set up once per triangle; operator() takes the
// frame pixel, depth, w and the interpolated varyings (layout below) and
// returns whether it wrote the pixel. Opaque results replace the pixel;
// transparent ones blend over it per channel.
#pragma once

#include "Mesh.h"
#include "Raster.h"
#include "Shading.h"

namespace q3 {

// Varying layouts. Lit per vertex (or per face): colour terms; a triangle
// interpolates only the leading ones it needs (varyingsFor()).
constexpr int kVMul = 0, kVUV = 3, kVAdd = 5, kVTrans = 8, kVertexVaryings = 11;
// Lit per pixel: the surface values lighting needs.
constexpr int kPDiffuse = 0, kPPos = 3, kPNormal = 6, kPUV = 9, kPTrans = 11, kPixelVaryings = 14;

struct PixelShader;
// How many of the per-vertex varyings a triangle needs.
int varyingsFor(const PixelShader &s);

struct PixelShader {
  const TextureImage *texture = nullptr; // with UVs
  bool perPixel = false;
  bool hasAdd = false;      // specular terms present
  bool transparent = false; // transparency varyings present or texture alpha
  bool translucentVaryings = false;
  const TQ3FogStyleData *fog = nullptr; // null when off
  float fogColor[3] = {0, 0, 0};
  // Per-pixel lighting only.
  const LightRig *rig = nullptr;
  TQ3ObjectType model = kQ3IlluminationTypeLambert;
  Material material;

  // Nearest texel; u, v wrap or clamp per the texture's modes. Inlined
  // into the pixel loops: it runs for every textured pixel.
  [[gnu::always_inline]] inline uint32_t texel(float u, float v) const {
    const TextureImage &t = *texture;
    const uint32_t x = texelIndex(u, t.width, t.wrapU);
    const uint32_t y = t.height - 1 - texelIndex(v, t.height, t.wrapV); // row 0 is v = 1
    return t.argb[size_t(y) * t.width + x];
  }
  [[gnu::always_inline]] static inline uint32_t texelIndex(float c, uint32_t size, bool wrap) {
    return texelIndex(c, size, float(size), wrap);
  }
  // sizeF is float(size), which callers may compute once per triangle.
  [[gnu::always_inline]] static inline uint32_t texelIndex(float c, uint32_t size, float sizeF, bool wrap) {
    float f;
    if (wrap) {
      f = (c >= -1048576.0f && c <= 1048576.0f) ? c : 0.0f; // NaN and huge values to 0
      const int whole = int(f);
      f -= float(whole - (float(whole) > f ? 1 : 0)); // 0 <= f < 1
    } else {
      f = c > 0.0f ? (c < 1.0f ? c : 1.0f) : 0.0f;
    }
    const int i = int(f * sizeF);
    return i >= int(size) ? size - 1 : uint32_t(i);
  }

  bool operator()(uint32_t &pixel, float, float w, const float *vary) const {
    float base[3] = {1, 1, 1};
    float alpha = 1.0f;
    const int uvAt = perPixel ? kPUV : kVUV;
    if (texture) {
      const uint32_t t = texel(vary[uvAt], vary[uvAt + 1]);
      base[0] = float((t >> 16) & 255) / 255.0f;
      base[1] = float((t >> 8) & 255) / 255.0f;
      base[2] = float(t & 255) / 255.0f;
      alpha = float(t >> 24) / 255.0f;
    }
    float rgb[3];
    if (perPixel) {
      Material m = material;
      for (int c = 0; c < 3; ++c) m.diffuse[c] = vary[kPDiffuse + c];
      const raster::V3 pos{vary[kPPos], vary[kPPos + 1], vary[kPPos + 2]};
      const raster::V3 n = raster::normalized({vary[kPNormal], vary[kPNormal + 1], vary[kPNormal + 2]});
      const LitTerms lit = shade(*rig, model, m, pos, n, texture != nullptr);
      for (int c = 0; c < 3; ++c) rgb[c] = base[c] * lit.mul[c] + lit.add[c];
    } else {
      for (int c = 0; c < 3; ++c) rgb[c] = base[c] * vary[kVMul + c] + (hasAdd ? vary[kVAdd + c] : 0.0f);
    }
    if (fog) {
      const float f = fogFactor(*fog, w);
      for (int c = 0; c < 3; ++c) rgb[c] = rgb[c] * f + fogColor[c] * (1.0f - f);
    }
    uint32_t out[3];
    for (int c = 0; c < 3; ++c) out[c] = raster::toByte(rgb[c]);
    if (!transparent) {
      pixel = 0xFF000000u | out[0] << 16 | out[1] << 8 | out[2];
      return true;
    }
    float k[3] = {alpha, alpha, alpha};
    if (translucentVaryings) {
      const int at = perPixel ? kPTrans : kVTrans;
      for (int c = 0; c < 3; ++c) k[c] *= std::clamp(vary[at + c], 0.0f, 1.0f);
    }
    if (k[0] <= 0.0f && k[1] <= 0.0f && k[2] <= 0.0f) return false;
    const uint32_t dst[3] = {(pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255};
    uint32_t mixed[3];
    for (int c = 0; c < 3; ++c)
      mixed[c] = raster::toByte((float(out[c]) * k[c] + float(dst[c]) * (1.0f - k[c])) / 255.0f);
    const float coverage = std::max({k[0], k[1], k[2]});
    const float dstAlpha = float(pixel >> 24) / 255.0f;
    const uint32_t a = raster::toByte(coverage + dstAlpha * (1.0f - coverage));
    pixel = a << 24 | mixed[0] << 16 | mixed[1] << 8 | mixed[2];
    return true;
  }
};

inline int varyingsFor(const PixelShader &s) {
  if (s.perPixel) return kPixelVaryings;
  if (s.translucentVaryings) return kVertexVaryings;
  if (s.hasAdd) return kVAdd + 3;
  return s.texture ? kVUV + 2 : kVUV;
}

// Channel bytes as 0..1: float(b) * (1.0f / 255.0f), looked up.
struct UnitTable {
  float v[256];
  constexpr UnitTable() : v() {
    for (int b = 0; b < 256; ++b) v[b] = float(b) * (1.0f / 255.0f);
  }
};
inline constexpr UnitTable kUnit{};

// The common opaque, unfogged, vertex-lit case with its choices fixed at
// compile time: most pixels of a frame go through one of these.
template <bool Textured, bool HasAdd> struct OpaqueVertexShader {
  static constexpr int kVaryings = HasAdd ? kVAdd + 3 : Textured ? kVUV + 2 : kVUV;
  // The texture's fields, read once per triangle instead of per pixel.
  const uint32_t *texels = nullptr;
  uint32_t width = 0, height = 0;
  float widthF = 0, heightF = 0;
  bool wrapU = true, wrapV = true;

  explicit OpaqueVertexShader(const PixelShader &s) {
    if constexpr (Textured) {
      const TextureImage &t = *s.texture;
      texels = t.argb.data();
      width = t.width, height = t.height;
      widthF = float(t.width), heightF = float(t.height);
      wrapU = t.wrapU, wrapV = t.wrapV;
    }
  }

  [[gnu::always_inline]] bool operator()(uint32_t &pixel, float, float, const float *vary) const {
    float base[3] = {1, 1, 1};
    if constexpr (Textured) {
      const uint32_t x = PixelShader::texelIndex(vary[kVUV], width, widthF, wrapU);
      const uint32_t y = height - 1 - PixelShader::texelIndex(vary[kVUV + 1], height, heightF, wrapV); // row 0: v = 1
      const uint32_t t = texels[size_t(y) * width + x];
      base[0] = kUnit.v[(t >> 16) & 255];
      base[1] = kUnit.v[(t >> 8) & 255];
      base[2] = kUnit.v[t & 255];
    }
    float v[3];
    for (int c = 0; c < 3; ++c) {
      v[c] = base[c] * vary[kVMul + c];
      if constexpr (HasAdd) v[c] += vary[kVAdd + c];
    }
    pixel = 0xFF000000u | raster::toByte(v[0]) << 16 | raster::toByte(v[1]) << 8 | raster::toByte(v[2]);
    return true;
  }
};

} // namespace q3
