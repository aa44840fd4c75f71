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

// Varying layouts. Lit per vertex (or per face): colour terms.
constexpr int kVMul = 0, kVAdd = 3, kVUV = 6, kVTrans = 8, kVertexVaryings = 11;
// Lit per pixel: the surface values lighting needs.
constexpr int kPDiffuse = 0, kPPos = 3, kPNormal = 6, kPUV = 9, kPTrans = 11, kPixelVaryings = 14;

struct PixelShader {
  const TextureImage *texture = nullptr; // with UVs
  bool perPixel = false;
  bool transparent = false; // transparency varyings present or texture alpha
  bool translucentVaryings = false;
  const TQ3FogStyleData *fog = nullptr; // null when off
  float fogColor[3] = {0, 0, 0};
  // Per-pixel lighting only.
  const LightRig *rig = nullptr;
  TQ3ObjectType model = kQ3IlluminationTypeLambert;
  Material material;

  // Nearest texel; u, v wrap or clamp per the texture's modes.
  uint32_t texel(float u, float v) const {
    const TextureImage &t = *texture;
    const uint32_t x = texelIndex(u, t.width, t.wrapU);
    const uint32_t y = t.height - 1 - texelIndex(v, t.height, t.wrapV); // row 0 is v = 1
    return t.argb[size_t(y) * t.width + x];
  }
  static uint32_t texelIndex(float c, uint32_t size, bool wrap) {
    if (!(c == c)) return 0;
    float f = std::clamp(c, -1048576.0f, 1048576.0f);
    if (wrap) f -= float(raster::floorInt(f));
    const int i = int(f * float(size)); // truncation toward 0: f is not negative here unless clamped
    return uint32_t(std::clamp(i, 0, int(size) - 1));
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
      for (int c = 0; c < 3; ++c) rgb[c] = base[c] * vary[kVMul + c] + vary[kVAdd + c];
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

} // namespace q3
