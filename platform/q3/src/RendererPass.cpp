// RendererPass.cpp: geometry to pixels for the interactive and wire-frame
// renderers.
#include "RendererPass.h"

#include "Camera.h"
#include "DrawContext.h"
#include "Lighting.h"
#include "Raster.h"
#include "Renderer.h"
#include "RendererPixel.h"
#include "Shading.h"

#include <algorithm>
#include <new>

namespace q3 {

namespace {
using raster::M4;
using raster::RasterVertex;
using raster::V3;
using raster::V4;

// Frustum planes in clip space, each >= 0 inside: left, right, bottom, top,
// near (z <= 0), far (z >= -w).
inline double planeValue(const V4 &p, int plane) {
  switch (plane) {
  case 0: return p.x + p.w;
  case 1: return p.w - p.x;
  case 2: return p.y + p.w;
  case 3: return p.w - p.y;
  case 4: return -p.z;
  default: return p.z + p.w;
  }
}

inline uint32_t outcode(const V4 &p) {
  uint32_t code = 0;
  for (int i = 0; i < 6; ++i)
    if (planeValue(p, i) < 0.0) code |= 1u << i;
  return code;
}

struct ClipVertex {
  V4 pos;
  float v[raster::kMaxVaryings];
};

ClipVertex lerp(const ClipVertex &a, const ClipVertex &b, double t, int nv) {
  ClipVertex r;
  r.pos = {a.pos.x + (b.pos.x - a.pos.x) * t, a.pos.y + (b.pos.y - a.pos.y) * t, a.pos.z + (b.pos.z - a.pos.z) * t,
           a.pos.w + (b.pos.w - a.pos.w) * t};
  for (int k = 0; k < nv; ++k) r.v[k] = float(a.v[k] + (double(b.v[k]) - a.v[k]) * t);
  return r;
}

// Sutherland-Hodgman against the planes in `code`; n in, count out.
int clipPolygon(ClipVertex *poly, int n, uint32_t code, int nv) {
  ClipVertex scratch[16];
  for (int plane = 0; plane < 6 && n > 0; ++plane) {
    if (!(code & (1u << plane))) continue;
    int m = 0;
    for (int i = 0; i < n; ++i) {
      const ClipVertex &a = poly[i], &b = poly[(i + 1) % n];
      const double da = planeValue(a.pos, plane), db = planeValue(b.pos, plane);
      if (da >= 0.0) scratch[m++] = a;
      if ((da >= 0.0) != (db >= 0.0)) scratch[m++] = lerp(a, b, da / (da - db), nv);
    }
    std::copy(scratch, scratch + m, poly);
    n = m;
  }
  return n;
}

struct Deferred {
  RasterVertex v[3];
  PixelShader shader;
  std::shared_ptr<const TextureImage> texture;
  int nv;
  float key;
};

class RendererPass : public LoopPass {
public:
  explicit RendererPass(View &view) : view_(view) {}

  bool open() override {
    DrawContext *dc = view_.drawContext();
    camera_ = view_.camera();
    wire_ = view_.renderer()->wireFrame();
    if (!dc->beginFrame()) return false;
    frame_ = &dc->frame();
    worldToFrustum_ = camera_->worldToFrustum();
    transparent_.clear();
    failed_ = false;
    return gatherLights(view_.lightGroup(), camera_->location(), rig_);
  }

  void geometry(const Object &, const Mesh &mesh, const DrawState &state) override {
    try {
      draw(mesh, state);
    } catch (const std::bad_alloc &) {
      failed_ = true;
    }
  }

  bool close() override {
    if (failed_) {
      postError(kQ3ErrorOutOfMemory);
      return false;
    }
    std::stable_sort(transparent_.begin(), transparent_.end(),
                     [](const Deferred &a, const Deferred &b) { return a.key > b.key; });
    for (Deferred &d : transparent_) {
      d.shader.texture = d.texture.get();
      raster::triangle(*frame_, &d.v[0], &d.v[1], &d.v[2], d.nv, false, d.shader);
    }
    transparent_.clear();
    fogs_.clear();
    return view_.drawContext()->present();
  }

private:
  // ---- per geometry ----
  void draw(const Mesh &mesh, const DrawState &state) {
    if (mesh.empty()) return;
    const size_t n = mesh.vertices.size();
    localToWorld_ = state.localToWorld;
    localToClip_ = localToWorld_ * worldToFrustum_;
    normals_ = raster::normalMatrix(localToWorld_);
    clip_.resize(n);
    codes_.resize(n);
    for (size_t i = 0; i < n; ++i) {
      clip_[i] = localToClip_.apply(raster::toV3(mesh.vertices[i].point));
      codes_[i] = outcode(clip_[i]);
    }
    state_ = &state;
    mesh_ = &mesh;
    stateMaterial_ = Material{};
    applyAttributes(stateMaterial_, state.attributes);
    geometryMaterial_ = stateMaterial_;
    applyAttributes(geometryMaterial_, mesh.geometry);
    geometryTexture_ = mesh.geometry.has(AttributeValues::kTexture)      ? &mesh.geometry.texture
                       : state.attributes.has(AttributeValues::kTexture) ? &state.attributes.texture
                                                                         : nullptr;
    fogOn_ =
        state.fog.state == kQ3On && (state.fog.mode == kQ3FogModeLinear || state.fog.mode == kQ3FogModeExponential ||
                                     state.fog.mode == kQ3FogModeExponentialSquared);
    const TQ3FillStyle fill = wire_ ? kQ3FillStyleEdges : state.fill;
    if (fill == kQ3FillStyleFilled && !mesh.triangles.empty()) drawTriangles();
    if (fill == kQ3FillStyleEdges) drawEdges();
    if (fill == kQ3FillStylePoints) drawTrianglePoints();
    for (const MeshLine &l : mesh.lines) drawLine(l.vertex[0], l.vertex[1], nullptr);
    for (uint32_t p : mesh.points) drawPoint(p, nullptr);
  }

  bool validTriangle(const MeshTriangle &t) const {
    const size_t n = mesh_->vertices.size();
    return t.vertex[0] < n && t.vertex[1] < n && t.vertex[2] < n;
  }

  const AttributeValues *faceOf(const MeshTriangle &t) const {
    return t.face < mesh_->faces.size() ? &mesh_->faces[t.face] : nullptr;
  }

  // Whether the triangle faces away; its clip-space orientation works for
  // triangles crossing the eye plane too.
  bool backFacing(const MeshTriangle &t) const {
    const V4 &a = clip_[t.vertex[0]], &b = clip_[t.vertex[1]], &c = clip_[t.vertex[2]];
    const double det = a.x * (b.y * c.w - c.y * b.w) - a.y * (b.x * c.w - c.x * b.w) + a.w * (b.x * c.y - c.x * b.y);
    return state_->orientation == kQ3OrientationStyleClockwise ? det > 0.0 : det < 0.0;
  }

  // ---- lighting ----
  void prepareLighting() {
    const size_t n = mesh_->vertices.size();
    world_.resize(n);
    for (size_t i = 0; i < n; ++i) world_[i] = localToWorld_.point(raster::toV3(mesh_->vertices[i].point));
    // One lighting per vertex serves every triangle around it unless faces
    // bring attributes of their own.
    vertexCacheable_ =
        std::all_of(mesh_->faces.begin(), mesh_->faces.end(), [](const AttributeValues &f) { return f.mask == 0; });
    // Without material attributes on faces or vertices every corner has
    // the geometry's material, and triangles need not build their own.
    plainCorners_ =
        std::none_of(mesh_->faces.begin(), mesh_->faces.end(),
                     [](const AttributeValues &f) { return (f.mask & kMaterialBits) != 0; }) &&
        std::none_of(mesh_->vertices.begin(), mesh_->vertices.end(),
                     [](const MeshVertex &v) { return (v.attributes.mask & kMaterialBits) != 0; });
    cached_.assign(vertexCacheable_ ? n : 0, 0);
    lit_.resize(vertexCacheable_ ? n : 0);
  }

  V3 worldNormal(const TQ3Vector3D &n) const { return raster::normalized(normals_.vector(raster::toV3(n))); }

  V3 faceNormal(const MeshTriangle &t, const AttributeValues *face) const {
    if (face && face->has(AttributeValues::kNormal)) return worldNormal(face->normal);
    const V3 &a = world_[t.vertex[0]], &b = world_[t.vertex[1]], &c = world_[t.vertex[2]];
    const V3 n = raster::normalized(raster::cross(b - a, c - a));
    return state_->orientation == kQ3OrientationStyleClockwise ? -n : n;
  }

  static constexpr uint32_t kMaterialBits = AttributeValues::kDiffuse | AttributeValues::kSpecular |
                                            AttributeValues::kSpecularControl | AttributeValues::kTransparency |
                                            AttributeValues::kAmbientCoefficient;

  Material cornerMaterial(const AttributeValues *face, const MeshVertex &v) const {
    // Most corners carry only normals and UVs: skip the calls then.
    Material m = geometryMaterial_;
    if (face && (face->mask & kMaterialBits)) applyAttributes(m, *face);
    if (v.attributes.mask & kMaterialBits) applyAttributes(m, v.attributes);
    return m;
  }

  using TexturePtr = std::shared_ptr<const TextureImage>;
  static bool usableTexture(const TextureImage *t) {
    return t && t->width && t->height && t->argb.size() >= size_t(t->width) * t->height;
  }
  const TexturePtr *triangleTexture(const AttributeValues *face) const {
    if (face && face->has(AttributeValues::kTexture)) return &face->texture;
    return geometryTexture_;
  }

  // ---- triangles ----
  void drawTriangles() {
    prepareLighting();
    const TQ3InterpolationStyle interp = state_->interpolation;
    const TQ3ObjectType model = state_->illumination;
    const bool perPixel = interp == kQ3InterpolationStylePixel && model != kQ3IlluminationTypeNULL;
    Material own[3]; // corner materials when they differ from the geometry's
    for (const MeshTriangle &t : mesh_->triangles) {
      if (!validTriangle(t)) continue;
      const uint32_t c0 = codes_[t.vertex[0]], c1 = codes_[t.vertex[1]], c2 = codes_[t.vertex[2]];
      if (c0 & c1 & c2) continue;
      const bool back = backFacing(t);
      if (back && state_->backfacing == kQ3BackfacingStyleRemove) continue;
      const bool flip = back && state_->backfacing == kQ3BackfacingStyleFlip;
      const AttributeValues *face = faceOf(t);
      const TexturePtr *texRef = triangleTexture(face);
      const TextureImage *tex = texRef && usableTexture(texRef->get()) ? texRef->get() : nullptr;
      const MeshVertex *mv[3] = {&mesh_->vertices[t.vertex[0]], &mesh_->vertices[t.vertex[1]],
                                 &mesh_->vertices[t.vertex[2]]};
      if (tex && !(mv[0]->attributes.has(AttributeValues::kUV) && mv[1]->attributes.has(AttributeValues::kUV) &&
                   mv[2]->attributes.has(AttributeValues::kUV)))
        tex = nullptr;

      ClipVertex poly[16];
      const Material *mats[3];
      bool translucent = false;
      for (int k = 0; k < 3; ++k) {
        poly[k].pos = clip_[t.vertex[k]];
        mats[k] = plainCorners_ ? &geometryMaterial_ : &(own[k] = cornerMaterial(face, *mv[k]));
        translucent = translucent || !mats[k]->opaque();
      }
      PixelShader shader;
      shader.texture = tex;
      shader.perPixel = perPixel;
      shader.translucentVaryings = translucent;
      shader.transparent = translucent || (tex && tex->hasAlpha);
      if (fogOn_) {
        shader.fog = &state_->fog;
        shader.fogColor[0] = state_->fog.color.r, shader.fogColor[1] = state_->fog.color.g;
        shader.fogColor[2] = state_->fog.color.b;
      }
      int nv;
      if (perPixel) {
        nv = kPixelVaryings;
        shader.rig = &rig_;
        shader.model = model;
        shader.material = *mats[0];
        const V3 fn = faceNormal(t, face);
        for (int k = 0; k < 3; ++k) {
          V3 n = mv[k]->attributes.has(AttributeValues::kNormal) ? worldNormal(mv[k]->attributes.normal) : fn;
          if (flip) n = -n;
          const V3 &p = world_[t.vertex[k]];
          float *v = poly[k].v;
          for (int c = 0; c < 3; ++c) v[kPDiffuse + c] = mats[k]->diffuse[c], v[kPTrans + c] = mats[k]->transparency[c];
          v[kPPos] = float(p.x), v[kPPos + 1] = float(p.y), v[kPPos + 2] = float(p.z);
          v[kPNormal] = float(n.x), v[kPNormal + 1] = float(n.y), v[kPNormal + 2] = float(n.z);
          v[kPUV] = mv[k]->attributes.uv.u, v[kPUV + 1] = mv[k]->attributes.uv.v;
        }
      } else {
        shader.hasAdd = model == kQ3IlluminationTypePhong;
        nv = varyingsFor(shader);
        LitTerms terms[3];
        if (interp == kQ3InterpolationStyleNone) {
          V3 n = faceNormal(t, face);
          if (flip) n = -n;
          LitTerms sum{};
          for (int k = 0; k < 3; ++k) {
            const LitTerms l = shade(rig_, model, *mats[k], world_[t.vertex[k]], n, tex != nullptr);
            for (int c = 0; c < 3; ++c) sum.mul[c] += l.mul[c] / 3.0f, sum.add[c] += l.add[c] / 3.0f;
          }
          terms[0] = terms[1] = terms[2] = sum;
        } else {
          for (int k = 0; k < 3; ++k) terms[k] = vertexTerms(t, k, face, *mats[k], flip, tex != nullptr);
        }
        for (int k = 0; k < 3; ++k) {
          float *v = poly[k].v;
          for (int c = 0; c < 3; ++c) {
            v[kVMul + c] = terms[k].mul[c];
            v[kVAdd + c] = terms[k].add[c];
            v[kVTrans + c] = mats[k]->transparency[c];
          }
          v[kVUV] = mv[k]->attributes.uv.u, v[kVUV + 1] = mv[k]->attributes.uv.v;
        }
      }
      int count = 3;
      if (c0 | c1 | c2) count = clipPolygon(poly, 3, c0 | c1 | c2, nv);
      if (count < 3) continue;
      RasterVertex rv[16];
      for (int k = 0; k < count; ++k) project(poly[k], nv, rv[k]);
      for (int k = 1; k + 1 < count; ++k) {
        if (shader.transparent)
          defer(rv[0], rv[k], rv[k + 1], shader, tex ? *texRef : TexturePtr(), nv);
        else
          fill(rv[0], rv[k], rv[k + 1], nv, shader);
      }
    }
  }

  // Opaque triangles, through a shader specialised for the common cases
  // (their varying counts match varyingsFor()).
  void fill(const RasterVertex &a, const RasterVertex &b, const RasterVertex &c, int nv, const PixelShader &s) {
    if (s.perPixel || s.fog) {
      raster::triangle(*frame_, &a, &b, &c, nv, true, s);
    } else if (s.texture) {
      if (s.hasAdd)
        raster::triangle(*frame_, &a, &b, &c, nv, true, OpaqueVertexShader<true, true>(s));
      else
        raster::triangle(*frame_, &a, &b, &c, nv, true, OpaqueVertexShader<true, false>(s));
    } else if (s.hasAdd) {
      raster::triangle(*frame_, &a, &b, &c, nv, true, OpaqueVertexShader<false, true>(s));
    } else {
      raster::triangle(*frame_, &a, &b, &c, nv, true, OpaqueVertexShader<false, false>(s));
    }
  }

  LitTerms vertexTerms(const MeshTriangle &t, int k, const AttributeValues *face, const Material &m, bool flip,
                       bool textured) {
    const uint32_t vi = t.vertex[k];
    const MeshVertex &v = mesh_->vertices[vi];
    const bool hasNormal = v.attributes.has(AttributeValues::kNormal);
    // Cached terms depend on whether the surface is textured; a vertex
    // shared by textured and untextured triangles is lit for each.
    const uint8_t key = textured ? 2 : 1;
    if (hasNormal && vertexCacheable_ && !flip && (cached_[vi] == 0 || cached_[vi] == key)) {
      if (!cached_[vi]) {
        lit_[vi] = shade(rig_, state_->illumination, m, world_[vi], worldNormal(v.attributes.normal), textured);
        cached_[vi] = key;
      }
      return lit_[vi];
    }
    V3 n = hasNormal ? worldNormal(v.attributes.normal) : faceNormal(t, face);
    if (flip) n = -n;
    return shade(rig_, state_->illumination, m, world_[vi], n, textured);
  }

  void project(const ClipVertex &c, int nv, RasterVertex &r) const {
    const double invW = 1.0 / c.pos.w;
    r.x = float((c.pos.x * invW + 1.0) * 0.5 * frame_->width);
    r.y = float((1.0 - c.pos.y * invW) * 0.5 * frame_->height);
    r.z = float(-c.pos.z * invW);
    r.invW = float(invW);
    std::copy(c.v, c.v + nv, r.v);
  }

  // Keeps the texture and fog alive until close, whatever happens to the
  // geometry and the state stack meanwhile.
  void defer(const RasterVertex &a, const RasterVertex &b, const RasterVertex &c, const PixelShader &shader,
             TexturePtr texture, int nv) {
    Deferred d;
    d.v[0] = a, d.v[1] = b, d.v[2] = c;
    d.shader = shader;
    d.texture = std::move(texture);
    if (d.shader.fog) {
      fogs_.push_back(std::make_unique<TQ3FogStyleData>(*d.shader.fog));
      d.shader.fog = fogs_.back().get();
    }
    d.nv = nv;
    d.key = (a.z + b.z + c.z) / 3.0f;
    transparent_.push_back(std::move(d));
  }

  // ---- lines and points ----
  uint32_t lineColour(uint32_t vertex, const AttributeValues *face) const {
    const Material m = cornerMaterial(face, mesh_->vertices[vertex]);
    return 0xFF000000u | raster::toByte(m.diffuse[0]) << 16 | raster::toByte(m.diffuse[1]) << 8 |
           raster::toByte(m.diffuse[2]);
  }

  uint32_t fogged(uint32_t argb, float w) const {
    if (!fogOn_) return argb;
    const float f = fogFactor(state_->fog, w);
    const float fc[3] = {state_->fog.color.r, state_->fog.color.g, state_->fog.color.b};
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
      const float v = float((argb >> (16 - 8 * c)) & 255) / 255.0f;
      out |= raster::toByte(v * f + fc[c] * (1.0f - f)) << (16 - 8 * c);
    }
    return out;
  }

  void drawLine(uint32_t a, uint32_t b, const AttributeValues *face) {
    const size_t n = mesh_->vertices.size();
    if (a >= n || b >= n) return;
    if (codes_[a] & codes_[b]) return;
    ClipVertex p0{clip_[a], {}}, p1{clip_[b], {}};
    if (codes_[a] | codes_[b]) {
      double t0 = 0.0, t1 = 1.0;
      for (int plane = 0; plane < 6; ++plane) {
        const double d0 = planeValue(p0.pos, plane), d1 = planeValue(p1.pos, plane);
        if (d0 < 0.0 && d1 < 0.0) return;
        if (d0 < 0.0) t0 = std::max(t0, d0 / (d0 - d1));
        if (d1 < 0.0) t1 = std::min(t1, d0 / (d0 - d1));
      }
      if (t0 >= t1) return;
      const ClipVertex q0 = lerp(p0, p1, t0, 0), q1 = lerp(p0, p1, t1, 0);
      p0 = q0, p1 = q1;
    }
    RasterVertex r0, r1;
    project(p0, 0, r0);
    project(p1, 0, r1);
    const uint32_t colour = lineColour(a, face);
    raster::line(*frame_, r0, r1, [&](uint32_t &pixel, float, float w) {
      pixel = fogged(colour, w);
      return true;
    });
  }

  void drawPoint(uint32_t p, const AttributeValues *face) {
    if (p >= mesh_->vertices.size() || codes_[p]) return;
    RasterVertex r;
    project(ClipVertex{clip_[p], {}}, 0, r);
    const uint32_t colour = lineColour(p, face);
    raster::point(*frame_, r, [&](uint32_t &pixel, float, float w) {
      pixel = fogged(colour, w);
      return true;
    });
  }

  bool culled(const MeshTriangle &t) const { return state_->backfacing == kQ3BackfacingStyleRemove && backFacing(t); }

  void drawEdges() {
    if (!mesh_->outline.empty()) {
      for (const MeshLine &l : mesh_->outline) drawLine(l.vertex[0], l.vertex[1], nullptr);
      return;
    }
    for (const MeshTriangle &t : mesh_->triangles) {
      if (!validTriangle(t) || culled(t)) continue;
      const AttributeValues *face = faceOf(t);
      for (int k = 0; k < 3; ++k) drawLine(t.vertex[k], t.vertex[(k + 1) % 3], face);
    }
  }

  void drawTrianglePoints() {
    for (const MeshTriangle &t : mesh_->triangles) {
      if (!validTriangle(t) || culled(t)) continue;
      for (int k = 0; k < 3; ++k) drawPoint(t.vertex[k], faceOf(t));
    }
  }

  View &view_;
  Camera *camera_ = nullptr;
  Frame *frame_ = nullptr;
  bool wire_ = false, failed_ = false, fogOn_ = false;
  M4 worldToFrustum_{}, localToWorld_{}, localToClip_{}, normals_{};
  LightRig rig_;
  const DrawState *state_ = nullptr;
  const Mesh *mesh_ = nullptr;
  Material stateMaterial_, geometryMaterial_;
  const std::shared_ptr<const TextureImage> *geometryTexture_ = nullptr;
  std::vector<V4> clip_;
  std::vector<uint32_t> codes_;
  std::vector<V3> world_;
  std::vector<uint8_t> cached_;
  std::vector<LitTerms> lit_;
  bool vertexCacheable_ = false, plainCorners_ = false;
  std::vector<Deferred> transparent_;
  std::vector<std::unique_ptr<TQ3FogStyleData>> fogs_;
};
} // namespace

std::unique_ptr<LoopPass> makeRendererPass(View &view) {
  try {
    return std::make_unique<RendererPass>(view);
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
}

} // namespace q3
