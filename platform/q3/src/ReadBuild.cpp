// ReadBuild.cpp: the object builder shared by the binary and text readers.
#include "ReadBuild.h"

#include "Attribute.h"
#include "Geometry.h"
#include "Group.h"
#include "Q3Math.h"
#include "Tessellate.h"
#include "Transform.h"

#include <cmath>

namespace q3::read {

bool boolean(Fields &f, bool &v) {
  static const Word kWords[] = {{"False", 0}, {"True", 1}, {"Off", 0}, {"On", 1}, {nullptr, 0}};
  uint32_t u;
  if (!f.enumeration(u, kWords)) return false;
  v = u != 0;
  return true;
}

bool point3(Fields &f, TQ3Point3D &p) { return f.f32(p.x) && f.f32(p.y) && f.f32(p.z); }
bool vector3(Fields &f, TQ3Vector3D &v) { return f.f32(v.x) && f.f32(v.y) && f.f32(v.z); }

namespace {
const Word kAxes[] = {{"X", 0}, {"Y", 1}, {"Z", 2}, {nullptr, 0}};
const Word kBackfacing[] = {{"Both", 0}, {"Culled", 1}, {"Remove", 1}, {"Flipped", 2}, {"Flip", 2}, {nullptr, 0}};
const Word kInterpolation[] = {{"None", 0}, {"Vertex", 1}, {"Pixel", 2}, {nullptr, 0}};
const Word kFill[] = {{"Filled", 0}, {"Edges", 1}, {"Points", 2}, {nullptr, 0}};
const Word kOrientation[] = {{"CounterClockwise", 0}, {"Clockwise", 1}, {nullptr, 0}};
const Word kFogModes[] = {{"Linear", 0}, {"Exponential", 1}, {"ExponentialSquared", 2}, {"Alpha", 3}, {nullptr, 0}};
const Word kPixelTypes[] = {{"RGB32", 0},     {"ARGB32", 1}, {"RGB16", 2}, {"ARGB16", 3},
                            {"RGB16_565", 4}, {"RGB24", 5},  {nullptr, 0}};
const Word kEndian[] = {{"BigEndian", 0}, {"LittleEndian", 1}, {nullptr, 0}};
const Word kBoundary[] = {{"Wrap", 0}, {"Clamp", 1}, {nullptr, 0}};
const Word kCaps[] = {{"None", 0}, {"Top", 1}, {"Bottom", 2}, {"Interior", 4}, {nullptr, 0}};
const Word kGroupState[] = {{"None", 0},          {"IsInline", 1},         {"DoNotDraw", 2},
                            {"NoBoundingBox", 4}, {"NoBoundingSphere", 8}, {"DoNotPick", 0x10},
                            {nullptr, 0}};
const Word kPacking[] = {{"Include", 0}, {"Exclude", 1}, {nullptr, 0}};

bool finite(const TQ3Point3D &p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Width of a variable-size index chosen from the count it indexes.
unsigned widthFor(uint64_t count) { return count <= 0xFE ? 1 : count <= 0xFFFE ? 2 : 4; }

template <class T> Ref<Object> made(T *obj) { return Ref<Object>::adopt(obj); }

uint32_t attributeTypeOf(uint32_t type) {
  switch (type) {
  case code("sruv"): return kQ3AttributeTypeSurfaceUV;
  case code("shuv"): return kQ3AttributeTypeShadingUV;
  case code("nrml"): return kQ3AttributeTypeNormal;
  case code("camb"): return kQ3AttributeTypeAmbientCoefficient;
  case code("kdif"): return kQ3AttributeTypeDiffuseColor;
  case code("kspc"): return kQ3AttributeTypeSpecularColor;
  case code("cspc"): return kQ3AttributeTypeSpecularControl;
  case code("kxpr"): return kQ3AttributeTypeTransparencyColor;
  case code("hlst"): return kQ3AttributeTypeHighlightState;
  default: return 0;
  }
}

const Node &rootOf(const Node &n) { return n.type == code("cntr") && !n.children.empty() ? n.children[0] : n; }

bool readPoints(Fields &f, uint64_t n, std::vector<TQ3Point3D> &out) {
  if (!f.fits(n, 12, 3)) return false;
  out.resize(size_t(n));
  for (auto &p : out)
    if (!point3(f, p) || !finite(p)) return false;
  return true;
}

Ref<Object> fail() {
  postError(kQ3ErrorInvalidMetafileObject);
  return {};
}
} // namespace

// The readers of each object kind; friends of Builder for its build().
struct Kinds {
  Builder &b;
  int depth;

  Ref<Object> build(const Node &n) { return b.build(n, depth + 1); }

  AttributeSet *asSet(const Ref<Object> &o) { return dynamic_cast<AttributeSet *>(o.get()); }

  // An attribute set from its container's children.
  Ref<Object> attributeSet(const Node *mods, size_t count) {
    Ref<AttributeSet> set = Ref<AttributeSet>::adopt(create<AttributeSet>());
    if (!set) return {};
    for (size_t i = 0; i < count; ++i) {
      const Node &m = mods[i];
      if (const uint32_t type = attributeTypeOf(m.type)) {
        auto f = b.doc_.fields(m);
        if (type == kQ3AttributeTypeHighlightState) {
          bool on;
          if (!boolean(*f, on))
            postError(kQ3ErrorInvalidMetafileSubObject);
          else if (on)
            set->stored().mask |= AttributeValues::kHighlight;
          continue;
        }
        float values[3];
        bool ok = true;
        for (uint32_t k = 0; k < triMeshValueFloats(TQ3AttributeType(type)); ++k) ok = ok && f->f32(values[k]);
        if (ok)
          applyAttributeValue(set->stored(), TQ3AttributeType(type), values);
        else
          postError(kQ3ErrorInvalidMetafileSubObject);
        continue;
      }
      Ref<Object> o = build(m);
      if (auto *shader = dynamic_cast<Shader *>(o.get())) set->setSurfaceShader(Ref<Shader>::share(shader));
    }
    return Ref<Object>::adopt(set.detach());
  }

  Ref<Object> textureShader(const Node *mods, size_t count) {
    Ref<Texture> texture;
    uint32_t u = 0, v = 0;
    for (size_t i = 0; i < count; ++i) {
      if (mods[i].type == code("shdr")) {
        auto f = b.doc_.fields(mods[i]);
        if (!f->enumeration(u, kBoundary) || !f->enumeration(v, kBoundary) || u > 1 || v > 1) {
          postError(kQ3ErrorInvalidMetafileSubObject);
          u = v = 0;
        }
        continue;
      }
      Ref<Object> o = build(mods[i]);
      if (auto *t = dynamic_cast<Texture *>(o.get())) texture = Ref<Texture>::share(t);
    }
    TextureShader *shader = create<TextureShader>(std::move(texture));
    if (shader) {
      shader->setBoundary(true, TQ3ShaderUVBoundary(u));
      shader->setBoundary(false, TQ3ShaderUVBoundary(v));
    }
    return made(shader);
  }

  Ref<Object> texture(const Node &root) {
    auto f = b.doc_.fields(root);
    PixelLayout layout;
    std::vector<uint8_t> pixels;
    const bool mipmap = root.type == code("txmm");
    if (mipmap) {
      bool useMipmapping;
      uint32_t bitOrder, offset;
      if (!boolean(*f, useMipmapping) || !f->enumeration(layout.pixelType, kPixelTypes) ||
          !f->enumeration(bitOrder, kEndian) || !f->enumeration(layout.byteOrder, kEndian) || !f->u32(layout.width) ||
          !f->u32(layout.height) || !f->u32(layout.rowBytes) || !f->u32(offset))
        return fail();
    } else {
      uint32_t pixelSize, bitOrder;
      if (!f->u32(layout.width) || !f->u32(layout.height) || !f->u32(layout.rowBytes) || !f->u32(pixelSize) ||
          !f->enumeration(layout.pixelType, kPixelTypes) || !f->enumeration(bitOrder, kEndian) ||
          !f->enumeration(layout.byteOrder, kEndian))
        return fail();
      if (pixelSize != bytesPerPixel(layout.pixelType) * 8) return fail();
    }
    // Dimensions are checked before the pixels are read, so a hostile size never allocates.
    const uint64_t bytes = uint64_t(layout.rowBytes) * layout.height;
    if (layout.width == 0 || layout.height == 0 || layout.width > 4096 || layout.height > 4096 ||
        layout.rowBytes > 4096u * 4 + 64 || !f->fits(bytes, 1, 0) || !f->raw(pixels, bytes))
      return fail();
    auto image = decodePixels(pixels.data(), pixels.size(), layout);
    if (!image) return {};
    return made(create<Texture>(mipmap ? type::MipmapTexture : type::PixmapTexture, std::move(image)));
  }

  Ref<Object> transform(const Node &root) {
    auto f = b.doc_.fields(root);
    TQ3Matrix4x4 m;
    const TypeInfo *leaf = nullptr;
    switch (root.type) {
    case code("trns"):
    case code("scal"): {
      TQ3Vector3D v;
      if (!vector3(*f, v)) return fail();
      if (root.type == code("trns"))
        Q3Matrix4x4_SetTranslate(&m, v.x, v.y, v.z), leaf = &type::TranslateTransform;
      else
        Q3Matrix4x4_SetScale(&m, v.x, v.y, v.z), leaf = &type::ScaleTransform;
      break;
    }
    case code("rott"):
    case code("rtap"): {
      uint32_t axis;
      float radians;
      TQ3Point3D about{};
      if (!f->enumeration(axis, kAxes) || axis > 2 || !f->f32(radians)) return fail();
      if (root.type == code("rott")) {
        m = rotateMatrix(TQ3Axis(axis), radians), leaf = &type::RotateTransform;
      } else {
        if (!point3(*f, about)) return fail();
        m = rotateAboutPointMatrix(TQ3Axis(axis), radians, about), leaf = &type::RotateAboutPointTransform;
      }
      break;
    }
    case code("rtaa"): {
      TQ3Point3D origin;
      TQ3Vector3D axis;
      float radians;
      if (!point3(*f, origin) || !vector3(*f, axis) || !f->f32(radians)) return fail();
      Q3Matrix4x4_SetRotateAboutAxis(&m, &origin, &axis, radians);
      leaf = &type::RotateAboutAxisTransform;
      break;
    }
    case code("qtrn"): {
      TQ3Quaternion q;
      if (!f->f32(q.w) || !f->f32(q.x) || !f->f32(q.y) || !f->f32(q.z)) return fail();
      Q3Matrix4x4_SetQuaternion(&m, &q);
      leaf = &type::QuaternionTransform;
      break;
    }
    case code("mtrx"):
      for (auto &row : m.value)
        for (float &x : row)
          if (!f->f32(x)) return fail();
      leaf = &type::MatrixTransform;
      break;
    default: // rset
      Q3Matrix4x4_SetIdentity(&m);
      leaf = &type::ResetTransform;
      break;
    }
    return made(create<Transform>(*leaf, m));
  }

  Ref<Object> style(const Node &root) {
    auto f = b.doc_.fields(root);
    uint32_t v = 0;
    auto one = [&](const Word *words, uint32_t highest, const TypeInfo &leaf) -> Ref<Object> {
      if (!f->enumeration(v, words) || v > highest) return fail();
      return made(create<Style>(leaf, v));
    };
    switch (root.type) {
    case code("bckf"): return one(kBackfacing, 2, type::BackfacingStyle);
    case code("intp"): return one(kInterpolation, 2, type::InterpolationStyle);
    case code("fist"): return one(kFill, 2, type::FillStyle);
    case code("ornt"):
    case code("ofdr"): return one(kOrientation, 1, type::OrientationStyle);
    case code("pkid"): return one(nullptr, 0xFFFFFFFFu, type::PickIDStyle);
    default: { // fogg
      TQ3FogStyleData fog{};
      bool on;
      uint32_t mode;
      if (!boolean(*f, on) || !f->enumeration(mode, kFogModes) || mode > 3 || !f->f32(fog.fogStart) ||
          !f->f32(fog.fogEnd) || !f->f32(fog.density) || !f->f32(fog.color.a) || !f->f32(fog.color.r) ||
          !f->f32(fog.color.g) || !f->f32(fog.color.b))
        return fail();
      fog.state = on ? kQ3On : kQ3Off;
      fog.mode = TQ3FogMode(mode);
      return made(create<Style>(fog));
    }
    }
  }

  // Vertex, face or geometry attribute set list: values for `count` elements.
  bool setList(const Node &container, uint64_t count, std::vector<AttributeValues> &out) {
    const Node &root = rootOf(container);
    auto f = b.doc_.fields(root);
    uint32_t nObjects, packing, nIndices;
    if (!f->u32(nObjects) || !f->enumeration(packing, kPacking) || !f->u32(nIndices) || nObjects != count ||
        packing > 1 || nIndices > nObjects) {
      postError(kQ3ErrorInvalidMetafileSubObject);
      return false;
    }
    unsigned width = 4;
    if (f->binary()) {
      // The documents disagree on the index width (face lists: Uns32; the
      // others: by count); the object's size decides, in that preference.
      const bool faces = root.type == code("fasl");
      const unsigned candidates[] = {faces ? 4u : widthFor(nObjects), faces ? widthFor(nObjects) : 4u, 1, 2};
      width = 0;
      for (unsigned w : candidates)
        if (((12 + uint64_t(nIndices) * w + 3) & ~uint64_t(3)) == f->size() ||
            12 + uint64_t(nIndices) * w == f->size()) {
          width = w;
          break;
        }
      if (!width) {
        postError(kQ3ErrorInvalidMetafileSubObject);
        return false;
      }
    }
    std::vector<uint32_t> indices(nIndices);
    uint32_t previous = 0;
    for (uint32_t i = 0; i < nIndices; ++i)
      if (!f->uns(indices[i], width) || indices[i] >= nObjects || (i && indices[i] <= previous) ||
          ((previous = indices[i]), false)) {
        postError(kQ3ErrorInvalidMetafileSubObject);
        return false;
      }
    std::vector<uint32_t> elements;
    if (packing == 0)
      elements = indices;
    else
      for (uint32_t e = 0, k = 0; e < nObjects; ++e) {
        if (k < indices.size() && indices[k] == e)
          ++k;
        else
          elements.push_back(e);
      }
    out.assign(size_t(count), AttributeValues{});
    const size_t sets = container.type == code("cntr") ? container.children.size() - 1 : 0;
    for (size_t i = 0; i < sets && i < elements.size(); ++i) {
      Ref<Object> o = build(container.children[i + 1]);
      if (auto *set = asSet(o)) out[elements[i]] = set->values();
    }
    return true;
  }

  // What geometries take from their container's children.
  struct GeometryParts {
    Ref<AttributeSet> set;
    std::vector<AttributeValues> vertices, faces;
    uint32_t caps = 0;
    AttributeValues top, bottom;
  };

  GeometryParts parts(const Node *mods, size_t count, uint64_t vertices, uint64_t faces) {
    GeometryParts p;
    for (size_t i = 0; i < count; ++i) {
      const Node &m = mods[i];
      const uint32_t rootType = rootOf(m).type;
      if (rootType == code("vasl"))
        setList(m, vertices, p.vertices);
      else if (rootType == code("fasl"))
        setList(m, faces, p.faces);
      else if (rootType == code("caps")) {
        auto f = b.doc_.fields(m);
        if (!f->flags(p.caps, kCaps)) postError(kQ3ErrorInvalidMetafileSubObject);
      } else if (rootType == code("tcas") || rootType == code("bcas")) {
        if (m.type != code("cntr") || m.children.size() < 2) continue;
        Ref<Object> o = build(m.children[1]);
        if (auto *set = asSet(o)) (rootType == code("tcas") ? p.top : p.bottom) = set->values();
      } else if (rootType == code("attr") || m.type == code("rfrn")) {
        Ref<Object> o = build(m);
        if (auto *set = asSet(o)) p.set = Ref<AttributeSet>::share(set);
      }
    }
    return p;
  }

  Ref<Object> finish(const TypeInfo &leaf, Mesh mesh, GeometryParts &p) {
    TessellatedGeometry *g = create<TessellatedGeometry>(leaf, std::move(mesh));
    if (g && p.set) g->setAttributeSet(std::move(p.set));
    return made(g);
  }

  Ref<Object> triMesh(const Node &root, const Node *mods, size_t count) {
    auto f = b.doc_.fields(root);
    uint32_t nt, nta, ne, nea, np, nva;
    if (!f->u32(nt) || !f->u32(nta) || !f->u32(ne) || !f->u32(nea) || !f->u32(np) || !f->u32(nva)) return fail();
    unsigned P = 4, T = 4;
    if (f->binary()) {
      // Widths follow the counts; near the boundaries only the size tells.
      auto expected = [&](unsigned p, unsigned t) {
        return 24 + uint64_t(nt) * 3 * p + uint64_t(ne) * (2 * p + 2 * t) + uint64_t(np) * 12 + 28;
      };
      const unsigned choices[] = {1, 2, 4};
      P = widthFor(np), T = widthFor(nt);
      if (expected(P, T) != f->size()) {
        bool found = false;
        for (unsigned p : choices)
          for (unsigned t : choices)
            if (!found && expected(p, t) == f->size()) P = p, T = t, found = true;
        if (!found) return fail();
      }
    } else if (!f->fits(uint64_t(nt) * 3 + uint64_t(ne) * 4 + uint64_t(np) * 3, 0, 1)) {
      return fail();
    }
    TriMeshContent c;
    c.triangles.resize(nt);
    for (auto &t : c.triangles)
      for (TQ3Uns32 &i : t.pointIndices)
        if (!f->uns(i, P)) return fail();
    c.edges.resize(ne);
    for (auto &e : c.edges)
      if (!f->uns(e.pointIndices[0], P) || !f->uns(e.pointIndices[1], P) || !f->uns(e.triangleIndices[0], T) ||
          !f->uns(e.triangleIndices[1], T))
        return fail();
    if (!readPoints(*f, np, c.points)) return fail();
    // The stored bounding box is recomputed from the points.

    Ref<AttributeSet> set;
    std::vector<std::pair<uint32_t, uint32_t>> placed; // (position of array, position in array)
    for (size_t i = 0; i < count; ++i) {
      const Node &m = mods[i];
      if (m.type != code("atar")) {
        const uint32_t rootType = rootOf(m).type;
        if (rootType == code("attr") || m.type == code("rfrn")) {
          Ref<Object> o = build(m);
          if (auto *s = asSet(o)) set = Ref<AttributeSet>::share(s);
        }
        continue;
      }
      auto a = b.doc_.fields(m);
      int32_t type;
      uint32_t reserved, position, index, useFlag;
      if (!a->i32(type) || !a->u32(reserved) || !a->u32(position) || !a->u32(index) || !a->u32(useFlag) ||
          position > 2) {
        postError(kQ3ErrorInvalidMetafileSubObject);
        continue;
      }
      const uint32_t declared[] = {nta, nea, nva};
      const uint64_t elements[] = {nt, ne, np};
      const uint32_t floats = triMeshValueFloats(type);
      bool duplicate = false;
      for (auto &pl : placed) duplicate = duplicate || (pl.first == position && pl.second == index);
      if (index >= declared[position] || floats == 0 || duplicate) continue; // custom, shader or misplaced: skipped
      const uint64_t n = elements[position];
      TriMeshArray arr;
      arr.type = type;
      bool ok = true;
      if (useFlag) {
        ok = a->fits(n, 1, 1);
        if (ok) arr.use.resize(size_t(n));
        for (uint8_t &u : arr.use) {
          uint32_t v = 0;
          ok = ok && a->uns(v, 1);
          u = uint8_t(v != 0);
        }
      }
      if (ok && a->binary()) {
        // Data follows the use bytes, possibly padded to 4.
        const uint64_t header = 20 + (useFlag ? n : 0), data = n * floats * 4;
        if (header + data != a->size()) {
          const uint64_t padded = (header + 3) & ~uint64_t(3);
          std::vector<uint8_t> skip;
          ok = padded + data == a->size() && a->raw(skip, padded - header);
        }
      }
      ok = ok && a->fits(n * floats, 4, 1);
      if (ok) arr.values.resize(size_t(n * floats));
      for (float &v : arr.values) ok = ok && a->f32(v);
      if (!ok) {
        postError(kQ3ErrorInvalidMetafileSubObject);
        continue;
      }
      placed.push_back({position, index});
      (position == 0 ? c.triangleArrays : position == 1 ? c.edgeArrays : c.vertexArrays).push_back(std::move(arr));
    }
    if (!validTriMesh(c)) return {};
    TriMesh *mesh = create<TriMesh>(std::move(c));
    if (mesh && set) mesh->setAttributeSet(std::move(set));
    return made(mesh);
  }

  Ref<Object> polygonal(const Node &root, const Node *mods, size_t count) {
    auto f = b.doc_.fields(root);
    std::vector<TQ3Point3D> points;
    std::vector<std::vector<uint32_t>> faces; // contours of each face, flattened: hole contours follow
    std::vector<uint32_t> faceOfContour;
    uint64_t nFaces = 1;
    const TypeInfo *leaf = nullptr;
    Mesh mesh;
    auto loop = [](uint32_t first, uint32_t n) {
      std::vector<uint32_t> r(n);
      for (uint32_t i = 0; i < n; ++i) r[i] = first + i;
      return r;
    };
    uint32_t n = 0;
    switch (root.type) {
    case code("trng"):
      if (!readPoints(*f, 3, points)) return fail();
      faces.push_back(loop(0, 3)), faceOfContour.push_back(0), leaf = &type::Triangle;
      break;
    case code("plyg"):
      if (!f->u32(n) || n < 3 || !readPoints(*f, n, points)) return fail();
      faces.push_back(loop(0, n)), faceOfContour.push_back(0), leaf = &type::Polygon;
      break;
    case code("gpgn"): {
      uint32_t contours;
      if (!f->u32(contours) || contours == 0 || !f->fits(contours, 4, 1)) return fail();
      for (uint32_t c = 0; c < contours; ++c) {
        std::vector<TQ3Point3D> more;
        if (!f->u32(n) || n < 3 || !readPoints(*f, n, more)) return fail();
        faces.push_back(loop(uint32_t(points.size()), n)), faceOfContour.push_back(0);
        points.insert(points.end(), more.begin(), more.end());
      }
      leaf = &type::GeneralPolygon;
      break;
    }
    case code("trig"): {
      uint32_t rows, cols;
      if (!f->u32(rows) || !f->u32(cols) || rows < 2 || cols < 2 || !readPoints(*f, uint64_t(rows) * cols, points))
        return fail();
      nFaces = 2ull * (rows - 1) * (cols - 1);
      for (uint32_t r = 0; r + 1 < rows; ++r)
        for (uint32_t c = 0; c + 1 < cols; ++c) {
          const uint32_t a = r * cols + c, bb = a + 1, cc = a + cols, d = cc + 1;
          faces.push_back({a, bb, cc}), faceOfContour.push_back(uint32_t(faces.size() - 1));
          faces.push_back({bb, d, cc}), faceOfContour.push_back(uint32_t(faces.size() - 1));
        }
      leaf = &type::TriGrid;
      break;
    }
    case code("mesh"): {
      uint32_t nv, nf, nc;
      if (!f->u32(nv) || !readPoints(*f, nv, points) || !f->u32(nf) || !f->u32(nc) || !f->fits(uint64_t(nf) + nc, 4, 1))
        return fail();
      nFaces = nf;
      int64_t face = -1;
      for (uint64_t e = 0; e < uint64_t(nf) + nc; ++e) {
        int32_t k;
        if (!f->i32(k) || k == INT32_MIN) return fail();
        const uint32_t len = uint32_t(k < 0 ? -k : k);
        if (!f->fits(len, 4, 1)) return fail();
        std::vector<uint32_t> ring(len);
        for (uint32_t &i : ring)
          if (!f->u32(i) || i >= nv) return fail();
        if (k >= 0) ++face;
        if (face < 0 || face >= int64_t(nf)) return fail(); // a hole before any face, or too many faces
        faces.push_back(std::move(ring)), faceOfContour.push_back(uint32_t(face));
      }
      leaf = &type::Mesh;
      break;
    }
    default: return {};
    }
    GeometryParts p = parts(mods, count, points.size(), nFaces);
    tess::addVertices(mesh, points, p.vertices);
    mesh.faces.resize(size_t(nFaces));
    for (size_t i = 0; i < p.faces.size() && i < mesh.faces.size(); ++i) mesh.faces[i] = p.faces[i];
    // Group each face's contours (a mesh face's holes follow it).
    for (size_t i = 0; i < faces.size();) {
      std::vector<std::vector<uint32_t>> contours{faces[i]};
      size_t j = i + 1;
      const bool joins = root.type == code("gpgn") || root.type == code("mesh");
      while (joins && j < faces.size() && faceOfContour[j] == faceOfContour[i]) contours.push_back(faces[j++]);
      tess::addFace(mesh, contours, faceOfContour[i]);
      i = j;
    }
    return finish(*leaf, std::move(mesh), p);
  }

  Ref<Object> linear(const Node &root, const Node *mods, size_t count) {
    auto f = b.doc_.fields(root);
    std::vector<TQ3Point3D> points;
    uint32_t n = 1;
    const TypeInfo *leaf = &type::Point;
    if (root.type == code("line"))
      n = 2, leaf = &type::Line;
    else if (root.type != code("pnt ")) {
      if (!f->u32(n) || n < 2) return fail();
      leaf = &type::PolyLine;
    }
    if (!readPoints(*f, n, points)) return fail();
    GeometryParts p = parts(mods, count, n, 0);
    Mesh mesh;
    tess::addVertices(mesh, points, p.vertices);
    if (n == 1) mesh.points.push_back(0);
    for (uint32_t i = 0; i + 1 < n; ++i) mesh.lines.push_back({{i, i + 1}});
    return finish(*leaf, std::move(mesh), p);
  }

  Ref<Object> surface(const Node &root, const Node *mods, size_t count) {
    auto f = b.doc_.fields(root);
    TQ3Vector3D orientation{0, 0, 1}, major{1, 0, 0}, minor{0, 1, 0};
    TQ3Point3D origin{0, 0, 0};
    float ratio = 1;
    const bool flat = root.type == code("disk") || root.type == code("elps");
    if (root.type == code("elps")) major = {2, 0, 0};
    if (root.type == code("tors")) orientation = {0, 0, 0.25f};
    if (!f->atEnd()) { // an empty object takes the defaults
      if (!flat && !vector3(*f, orientation)) return fail();
      if (!vector3(*f, major) || !vector3(*f, minor) || !point3(*f, origin)) return fail();
      if (root.type == code("tors") && !f->f32(ratio)) return fail();
      // u and v limits: the whole shape is made whatever they say.
    }
    if (!finite(origin) || !finite({orientation.x, orientation.y, orientation.z}) ||
        !finite({major.x, major.y, major.z}) || !finite({minor.x, minor.y, minor.z}) || !std::isfinite(ratio))
      return fail();
    const uint64_t faces = root.type == code("box ") ? 6 : 3;
    GeometryParts p = parts(mods, count, 0, faces);
    Mesh mesh;
    const TypeInfo *leaf = nullptr;
    switch (root.type) {
    case code("box "): tess::box(mesh, origin, orientation, major, minor, p.faces), leaf = &type::Box; break;
    case code("elpd"): tess::ellipsoid(mesh, origin, orientation, major, minor), leaf = &type::Ellipsoid; break;
    case code("cyln"):
      tess::cylinder(mesh, origin, orientation, major, minor, p.caps, p.bottom, p.top), leaf = &type::Cylinder;
      break;
    case code("cone"): tess::cone(mesh, origin, orientation, major, minor, p.caps, p.bottom), leaf = &type::Cone; break;
    case code("disk"): tess::disk(mesh, origin, major, minor), leaf = &type::Disk; break;
    case code("tors"): tess::torus(mesh, origin, orientation, major, minor, ratio), leaf = &type::Torus; break;
    default: tess::ellipse(mesh, origin, major, minor), leaf = &type::Ellipse; break;
    }
    return finish(*leaf, std::move(mesh), p);
  }
};

Builder::Builder(const Document &doc) : doc_(doc) {
  for (const auto &entry : doc.references) targets_.insert(&(*entry.second.sequence)[entry.second.index]);
}

Ref<Object> Builder::next(size_t &index) {
  const auto &top = doc_.top;
  while (index < top.size()) {
    const Node &n = top[index];
    Ref<Object> obj;
    if (n.type == code("bgng")) {
      obj = group(top, index, 0);
    } else {
      ++index;
      if (n.type == code("endg"))
        postError(kQ3ErrorUnmatchedEndGroup);
      else
        obj = build(n, 0);
    }
    if (obj) return obj;
  }
  return {};
}

Ref<Object> Builder::group(const std::vector<Node> &sequence, size_t &index, int depth) {
  const Node &begin = sequence[index++];
  if (depth >= kMaxDepth) {
    // Too deep: skip to the matching EndGroup without recursing further.
    postError(kQ3ErrorInvalidMetafileObject);
    for (int level = 1; index < sequence.size() && level > 0; ++index)
      level += sequence[index].type == code("bgng") ? 1 : sequence[index].type == code("endg") ? -1 : 0;
    return {};
  }
  const bool target = targets_.count(&begin) != 0;
  if (target) {
    auto cached = cache_.find(&begin);
    if (cached != cache_.end()) {
      // Built before: skip over its members again.
      for (int level = 1; index < sequence.size() && level > 0; ++index)
        level += sequence[index].type == code("bgng") ? 1 : sequence[index].type == code("endg") ? -1 : 0;
      return cached->second;
    }
    if (!resolving_.insert(&begin).second) {
      postError(kQ3ErrorUnresolvableReference);
      return {};
    }
  }
  const TypeInfo *kind = &type::DisplayGroup;
  uint32_t fileState = 0;
  for (const Node &c : begin.children) {
    switch (c.type) {
    case code("dspg"): kind = &type::DisplayGroup; break;
    case code("ordg"): kind = &type::OrderedDisplayGroup; break;
    case code("lghg"): kind = &type::LightGroup; break;
    case code("info"): kind = &type::InfoGroup; break;
    case code("grup"): kind = &type::Group; break;
    case code("dgst"):
      if (!doc_.fields(c)->flags(fileState, kGroupState)) postError(kQ3ErrorInvalidMetafileSubObject);
      break;
    default: break;
    }
  }
  Ref<Group> g = Ref<Group>::adopt(create<Group>(*kind));
  if (g && g->isDisplayGroup()) {
    // File flags say what is switched off; the interface's masks what is on.
    TQ3DisplayGroupState state = g->state();
    if (fileState & 0x01) state |= kQ3DisplayGroupStateMaskIsInline;
    if (fileState & 0x02) state &= ~kQ3DisplayGroupStateMaskIsDrawn;
    if (fileState & 0x04) state &= ~kQ3DisplayGroupStateMaskUseBoundingBox;
    if (fileState & 0x08) state &= ~kQ3DisplayGroupStateMaskUseBoundingSphere;
    if (fileState & 0x10) state &= ~kQ3DisplayGroupStateMaskIsPicked;
    g->setState(state);
  }
  while (index < sequence.size()) {
    const Node &m = sequence[index];
    if (m.type == code("endg")) {
      ++index;
      break;
    }
    Ref<Object> member;
    if (m.type == code("bgng")) {
      member = group(sequence, index, depth + 1);
    } else {
      ++index;
      if (g) member = build(m, depth + 1);
    }
    if (!g || !member) continue;
    const auto *inner = dynamic_cast<const Group *>(member.get());
    if (g->accepts(*member.get()) && member.get() != g.get() && !(inner && inner->contains(*g.get())))
      g->add(*member.get());
  }
  Ref<Object> out = Ref<Object>::adopt(g.detach());
  if (target) {
    resolving_.erase(&begin);
    if (out) cache_.emplace(&begin, out);
  }
  return out;
}

Ref<Object> Builder::resolve(const Node &reference, int depth) {
  uint32_t refID;
  if (!doc_.fields(reference)->u32(refID)) return fail();
  auto found = doc_.references.find(refID);
  if (found == doc_.references.end()) {
    postError(kQ3ErrorUnresolvableReference);
    return {};
  }
  const Document::Target &t = found->second;
  const Node &target = (*t.sequence)[t.index];
  if (target.type == code("bgng")) {
    size_t index = t.index;
    return group(*t.sequence, index, depth + 1);
  }
  return build(target, depth + 1);
}

Ref<Object> Builder::build(const Node &node, int depth) {
  if (depth > kMaxDepth) return fail();
  if (node.type == code("rfrn")) return resolve(node, depth);
  const bool target = targets_.count(&node) != 0;
  if (target) {
    auto cached = cache_.find(&node);
    if (cached != cache_.end()) return cached->second;
    if (!resolving_.insert(&node).second) {
      postError(kQ3ErrorUnresolvableReference); // a cycle
      return {};
    }
  }
  Ref<Object> out;
  if (node.type == code("cntr")) {
    // The first child is the root; a container as root is not allowed.
    if (node.children.empty() || node.children[0].type == code("cntr") || node.children[0].type == code("rfrn"))
      out = fail();
    else
      out = buildKind(node.children[0], node.children.data() + 1, node.children.size() - 1, depth);
  } else {
    out = buildKind(node, nullptr, 0, depth);
  }
  if (target) {
    resolving_.erase(&node);
    if (out) cache_.emplace(&node, out);
  }
  return out;
}

Ref<Object> Builder::buildKind(const Node &root, const Node *mods, size_t count, int depth) {
  Kinds k{*this, depth};
  switch (root.type) {
  case code("tmsh"): return k.triMesh(root, mods, count);
  case code("trng"):
  case code("plyg"):
  case code("gpgn"):
  case code("trig"):
  case code("mesh"): return k.polygonal(root, mods, count);
  case code("pnt "):
  case code("line"):
  case code("plin"):
  case code("plyl"): return k.linear(root, mods, count);
  case code("box "):
  case code("elpd"):
  case code("cyln"):
  case code("cone"):
  case code("disk"):
  case code("tors"):
  case code("elps"): return k.surface(root, mods, count);
  case code("attr"): return k.attributeSet(mods, count);
  case code("txsu"): return k.textureShader(mods, count);
  case code("txmm"):
  case code("txpm"): return k.texture(root);
  case code("lmil"): return made(create<IlluminationShader>(type::LambertIllumination));
  case code("phil"): return made(create<IlluminationShader>(type::PhongIllumination));
  case code("nuil"): return made(create<IlluminationShader>(type::NullIllumination));
  case code("trns"):
  case code("scal"):
  case code("rott"):
  case code("rtap"):
  case code("rtaa"):
  case code("qtrn"):
  case code("mtrx"):
  case code("rset"): return k.transform(root);
  case code("bckf"):
  case code("intp"):
  case code("fist"):
  case code("ornt"):
  case code("ofdr"):
  case code("pkid"):
  case code("fogg"): return k.style(root);
  case code("dspg"):
  case code("ordg"):
  case code("lghg"): {
    // A group object without BeginGroup: an empty group.
    const TypeInfo &leaf = root.type == code("dspg")   ? type::DisplayGroup
                           : root.type == code("ordg") ? type::OrderedDisplayGroup
                                                       : type::LightGroup;
    return made(create<Group>(leaf));
  }
  default: return {}; // unknown, lights, cameras, tables of contents: skipped
  }
}

} // namespace q3::read
