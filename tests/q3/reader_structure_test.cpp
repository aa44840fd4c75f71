// Groups, sharing, textures and damaged input, read from text and binary.
#include "core_support.h"
#include "reader_support.h"

namespace {
using namespace mf;
using ReaderStructure = Q3Session;

std::vector<uint8_t> encode(bool asText, const std::vector<Obj> &objects) {
  return asText ? text(objects) : Binary().file(objects);
}

Obj triangle(double z = 0) { return obj("Triangle", "trng", join({point(0, 0, z), point(1, 0, z), point(0, 1, z)})); }
Obj beginGroup(TQ3Uns32 fileFlags) {
  Obj b{"BeginGroup", "bgng", {}, {obj("DisplayGroup", "dspg"), obj("DisplayGroupState", "dgst", {u(fileFlags)})}, {}};
  return b;
}
Obj endGroup() { return obj("EndGroup", "endg"); }

TQ3Uns32 countOf(TQ3Object group) {
  TQ3Uns32 n = 0;
  Q3Group_CountObjects(group, &n);
  return n;
}

TQ3Object member(TQ3Object group, int index) {
  TQ3GroupPosition pos = nullptr;
  Q3Group_GetFirstPosition(group, &pos);
  for (int k = 0; k < index && pos; ++k) Q3Group_GetNextPosition(group, &pos);
  TQ3Object o = nullptr;
  Q3Group_GetPositionObject(group, pos, &o);
  Q3Object_Dispose(o); // the group keeps it alive
  return o;
}

TEST_F(ReaderStructure, NestedGroupsKeepTheirMembersAndConvertedState) {
  // File flags 4 (no bounding box) outside, 5 (inline too) inside, as real files carry.
  const std::vector<Obj> file = {beginGroup(4), triangle(),       beginGroup(5), triangle(1), triangle(2),
                                 endGroup(),    beginGroup(0x12), endGroup(),    endGroup()};
  for (bool asText : {true, false}) {
    SCOPED_TRACE(asText ? "text" : "binary");
    auto objects = readAll(encode(asText, file));
    EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
    ASSERT_EQ(objects.size(), 1u);
    TQ3Object outer = objects[0];
    EXPECT_EQ(Q3Group_GetType(outer), kQ3GroupTypeDisplay);
    ASSERT_EQ(countOf(outer), 3u);
    TQ3DisplayGroupState state;
    Q3DisplayGroup_GetState(outer, &state);
    EXPECT_EQ(state, kQ3DisplayGroupStateMaskIsDrawn | kQ3DisplayGroupStateMaskUseBoundingSphere |
                         kQ3DisplayGroupStateMaskIsPicked | kQ3DisplayGroupStateMaskIsWritten);
    TQ3Object inner = member(outer, 1);
    EXPECT_EQ(countOf(inner), 2u);
    Q3DisplayGroup_GetState(inner, &state);
    EXPECT_TRUE(state & kQ3DisplayGroupStateMaskIsInline);
    Q3DisplayGroup_GetState(member(outer, 2), &state);
    EXPECT_FALSE(state & kQ3DisplayGroupStateMaskIsDrawn);
    EXPECT_FALSE(state & kQ3DisplayGroupStateMaskIsPicked);
    disposeAll(objects);
  }
}

TEST_F(ReaderStructure, UnbalancedGroupsAreRepairedNotFatal) {
  struct Case {
    const char *name;
    std::vector<Obj> file;
    size_t objects;
    TQ3Uns32 firstCount;
  };
  const Case cases[] = {
      {"EndGroup without BeginGroup", {endGroup(), triangle()}, 1, 0},
      {"missing EndGroup", {beginGroup(0), triangle(), triangle()}, 1, 2},
      {"BeginGroup without group object", {Obj{"BeginGroup", "bgng", {}, {}, {}}, triangle(), endGroup()}, 1, 1},
  };
  for (const Case &c : cases) {
    for (bool asText : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (asText ? " text" : " binary"));
      auto objects = readAll(encode(asText, c.file));
      ASSERT_EQ(objects.size(), c.objects);
      if (Q3Object_IsType(objects[0], kQ3ShapeTypeGroup)) {
        EXPECT_EQ(countOf(objects[0]), c.firstCount);
      }
      disposeAll(objects);
      Q3Error_Get(nullptr);
    }
  }
}

TEST_F(ReaderStructure, UnknownObjectsAreSkippedWholeAndTheRootSurvives) {
  const std::vector<Obj> file = {
      obj("MysteryThing", "zzzz", {u(1), u(2), f(3)}),
      container({obj("UnknownRoot", "yyyy", {u(7)}), triangle()}),        // unknown root: whole container goes
      container({triangle(), obj("UnknownChild", "xxxx", {u(1), u(2)})}), // unknown child: root stays
      obj("AmbientLight", "ambn"),                                        // lights are not read
  };
  for (bool asText : {true, false}) {
    auto objects = readAll(encode(asText, file));
    EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(Q3Object_GetLeafType(objects[0]), kQ3GeometryTypeTriangle);
    disposeAll(objects);
  }
}

// A set shared through the table of contents, backwards and forwards.
TEST_F(ReaderStructure, ReferencesShareOneObject) {
  const Obj set = container({obj("AttributeSet", "attr"), obj("DiffuseColor", "kdif", point(1, 0, 0))});
  const std::vector<Obj> file = {
      container({triangle(), labelled("shared", set)}),
      container({triangle(1), obj("Reference", "rfrn", {u(1)})}),
      container({triangle(2), obj("Reference", "rfrn", {u(2)})}),
      container({triangle(3), labelled("later", set)}),
      container({triangle(4), obj("Reference", "rfrn", {u(9)})}), // not in the table: dropped
      obj("TableOfContents", "toc ", {u(1), ptr("shared"), u(2), ptr("later")}),
  };
  for (bool asText : {true, false}) {
    SCOPED_TRACE(asText ? "text" : "binary");
    auto objects = readAll(encode(asText, file));
    EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorUnresolvableReference);
    ASSERT_EQ(objects.size(), 5u);
    TQ3AttributeSet sets[5] = {};
    for (int k = 0; k < 5; ++k) Q3Geometry_GetAttributeSet(objects[size_t(k)], &sets[k]);
    ASSERT_NE(sets[0], nullptr);
    EXPECT_EQ(sets[1], sets[0]);
    ASSERT_NE(sets[2], nullptr);
    EXPECT_EQ(sets[2], sets[3]);
    EXPECT_NE(sets[2], sets[0]);
    EXPECT_EQ(sets[4], nullptr);
    for (TQ3AttributeSet s : sets)
      if (s) Q3Object_Dispose(s);
    disposeAll(objects);
    // Nothing the file made outlives its objects.
    EXPECT_EQ(Q3Shared_GetReferenceCount(sets[0]), 0u);
    Q3Error_Get(nullptr);
  }
}

TEST_F(ReaderStructure, AReferenceCycleIsCutNotFollowed) {
  // A container that refers to itself, and a group that holds a reference to itself.
  Obj selfish = labelled("self", container({obj("AttributeSet", "attr"), obj("Reference", "rfrn", {u(1)})}));
  Obj group = beginGroup(0);
  group.label = "g";
  const std::vector<Obj> file = {container({triangle(), selfish}), group, obj("Reference", "rfrn", {u(2)}), endGroup(),
                                 obj("TableOfContents", "toc ", {u(1), ptr("self"), u(2), ptr("g")})};
  for (bool asText : {true, false}) {
    auto objects = readAll(encode(asText, file));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(countOf(objects[1]), 0u);
    disposeAll(objects);
    Q3Error_Get(nullptr);
  }
}

struct PixelCase {
  const char *name;
  TQ3PixelType type;
  TQ3Endian order;
  std::vector<uint8_t> pixels; // two pixels
  TQ3Uns32 expected[2];
};
const PixelCase pixelCases[] = {
    {"RGB32 big",
     kQ3PixelTypeRGB32,
     kQ3EndianBig,
     {0x00, 0xFF, 0x80, 0x00, 0x12, 0x00, 0x00, 0xFF},
     {0xFFFF8000u, 0xFF0000FFu}},
    {"ARGB32 little",
     kQ3PixelTypeARGB32,
     kQ3EndianLittle,
     {0x00, 0x80, 0xFF, 0x40, 0xFF, 0, 0, 0xFF},
     {0x40FF8000u, 0xFF0000FFu}},
    // RGB16: bit 15 is junk, never alpha.
    {"RGB16 big", kQ3PixelTypeRGB16, kQ3EndianBig, {0xFC, 0x00, 0x00, 0x1F}, {0xFFFF0000u, 0xFF0000FFu}},
    {"ARGB16 little", kQ3PixelTypeARGB16, kQ3EndianLittle, {0xE0, 0x03, 0x1F, 0x80}, {0x0000FF00u, 0xFF0000FFu}},
    {"RGB16_565 big", kQ3PixelTypeRGB16_565, kQ3EndianBig, {0x07, 0xE0, 0xF8, 0x00}, {0xFF00FF00u, 0xFFFF0000u}},
    {"RGB24 big", kQ3PixelTypeRGB24, kQ3EndianBig, {0x10, 0x20, 0x30, 0xFF, 0x00, 0x00}, {0xFF102030u, 0xFFFF0000u}},
    {"RGB24 little",
     kQ3PixelTypeRGB24,
     kQ3EndianLittle,
     {0x10, 0x20, 0x30, 0xFF, 0x00, 0x00},
     {0xFF302010u, 0xFF0000FFu}},
};

// A textured triangle: Container(Triangle, Container(AttributeSet, Container(TextureShader, texture, ShaderData))).
Obj textured(Obj texture) {
  return container({triangle(), container({obj("AttributeSet", "attr"),
                                           container({obj("TextureShader", "txsu"), std::move(texture),
                                                      obj("ShaderData", "shdr", {w("Clamp", 1), w("Wrap", 0)})})})});
}

TQ3TextureObject textureOf(TQ3Object geometry) {
  TQ3AttributeSet set = nullptr;
  TQ3ShaderObject shader = nullptr;
  TQ3TextureObject texture = nullptr;
  Q3Geometry_GetAttributeSet(geometry, &set);
  if (set) Q3AttributeSet_Get(set, kQ3AttributeTypeSurfaceShader, &shader);
  if (shader) Q3TextureShader_GetTexture(shader, &texture);
  TQ3ShaderUVBoundary u = kQ3ShaderUVBoundaryWrap;
  if (shader) Q3Shader_GetUBoundary(shader, &u);
  EXPECT_EQ(u, kQ3ShaderUVBoundaryClamp);
  for (TQ3Object o : {set, shader, texture})
    if (o) Q3Object_Dispose(o);
  return texture; // kept alive by the geometry
}

TEST_F(ReaderStructure, TexturesDecodeEveryPixelTypeAndOrder) {
  for (const PixelCase &c : pixelCases)
    for (bool mipmap : {true, false})
      for (bool asText : {true, false}) {
        SCOPED_TRACE(std::string(c.name) + (mipmap ? " mipmap" : " pixmap") + (asText ? " text" : " binary"));
        const TQ3Uns32 bpp = TQ3Uns32(c.pixels.size() / 2);
        // Rows padded with junk that must not show.
        std::vector<uint8_t> image = c.pixels;
        image.insert(image.end(), {0xDE, 0xAD, 0xBE, 0xEF});
        const TQ3Uns32 rowBytes = TQ3Uns32(image.size());
        Obj texture =
            mipmap ? obj("MipmapTexture", "txmm",
                         {w("False", 0), u(c.type), w("BigEndian", 0), u(c.order), u(2), u(1), u(rowBytes), u(0),
                          raw(image)})
                   : obj("PixmapTexture", "txpm",
                         {u(2), u(1), u(rowBytes), u(bpp * 8), u(c.type), w("BigEndian", 0), u(c.order), raw(image)});
        auto objects = readAll(encode(asText, {textured(texture)}));
        EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
        ASSERT_EQ(objects.size(), 1u);
        TQ3TextureObject t = textureOf(objects[0]);
        ASSERT_NE(t, nullptr);
        for (TQ3Uns32 x = 0; x < 2; ++x) {
          TQ3Uns32 argb = 0;
          Q3Texture_GetPixel(t, x, 0, &argb);
          EXPECT_EQ(argb, c.expected[x]) << x;
        }
        disposeAll(objects);
      }
}

TEST_F(ReaderStructure, BadTexturesAreRefusedAndTheGeometryKept) {
  struct Case {
    const char *name;
    std::vector<Field> fields;
  };
  const Case cases[] = {
      {"rows past the data", {u(2), u(2), u(4), u(16), u(2), u(0), u(0), raw({1, 2, 3, 4})}},
      {"rowBytes below a row", {u(2), u(1), u(2), u(16), u(2), u(0), u(0), raw({1, 2, 3, 4})}},
      {"unknown pixel type", {u(1), u(1), u(4), u(32), u(9), u(0), u(0), raw({1, 2, 3, 4})}},
      {"huge dimensions", {u(0x10000), u(0x10000), u(0x40000), u(32), u(1), u(0), u(0), raw({1, 2, 3, 4})}},
      {"pixel size not the type's", {u(1), u(1), u(4), u(16), u(1), u(0), u(0), raw({1, 2, 3, 4})}},
  };
  for (const Case &c : cases)
    for (bool asText : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (asText ? " text" : " binary"));
      auto objects = readAll(encode(asText, {textured(obj("PixmapTexture", "txpm", c.fields))}));
      EXPECT_NE(Q3Error_Get(nullptr), kQ3ErrorNone);
      ASSERT_EQ(objects.size(), 1u);
      EXPECT_EQ(Q3Object_GetLeafType(objects[0]), kQ3GeometryTypeTriangle);
      disposeAll(objects);
    }
}

// TriMesh index widths follow the counts; the size settles the boundary.
TEST_F(ReaderStructure, TriMeshIndexWidthsFollowTheCounts) {
  struct Case {
    TQ3Uns32 points;
    unsigned width;
    bool readable;
  };
  const Case cases[] = {{3, 1, true}, {254, 1, true}, {255, 2, true}, {255, 1, true}, {256, 2, true}, {300, 4, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.points) + " points, width " + std::to_string(c.width));
    std::vector<Field> fields = {u(1), u(0), u(0), u(0), u(c.points), u(0)};
    for (TQ3Uns32 k : {0u, 1u, c.points - 1}) fields.push_back(idx(k, c.width));
    for (TQ3Uns32 k = 0; k < c.points; ++k) fields.insert(fields.end(), {f(k), f(k % 2), f(0)});
    fields.insert(fields.end(), {f(0), f(0), f(0), f(1), f(1), f(0), u(0)});
    auto objects = readAll(Binary().file({obj("TriMesh", "tmsh", fields)}));
    ASSERT_EQ(objects.size(), c.readable ? 1u : 0u);
    if (c.readable) {
      TQ3Uns32 v[3];
      Q3Geometry_GetMeshTriangle(objects[0], 0, v, nullptr);
      EXPECT_EQ(v[2], c.points - 1);
    }
    disposeAll(objects);
    Q3Error_Get(nullptr);
  }
}

TEST_F(ReaderStructure, HostileCountsAndIndicesGiveNoObject) {
  const std::vector<std::vector<Field>> meshes = {
      {u(0x7FFFFFFF), u(0), u(0), u(0), u(3), u(0)},                         // triangles past the data
      {u(1), u(0), u(0), u(0), u(3), u(0), idx(0, 1), idx(1, 1), idx(3, 1)}, // index past the points
      {u(0), u(0), u(0), u(0), u(0x40000000), u(0)},                         // points past the data
  };
  for (const auto &fields : meshes)
    for (bool asText : {true, false}) {
      std::vector<Field> full = fields;
      for (int k = 0; k < 9; ++k) full.push_back(f(0));
      full.insert(full.end(), {f(0), f(0), f(0), f(0), f(0), f(0), u(0)});
      auto objects = readAll(encode(asText, {obj("TriMesh", "tmsh", full), triangle()}));
      EXPECT_NE(Q3Error_Get(nullptr), kQ3ErrorNone);
      ASSERT_EQ(objects.size(), 1u); // the triangle after it still reads
      disposeAll(objects);
    }
}

TEST_F(ReaderStructure, DeepNestingIsRefusedNotOverflowed) {
  for (bool asText : {true, false}) {
    Obj deep = triangle();
    for (int k = 0; k < 300; ++k) deep = container({deep});
    std::vector<Obj> groups;
    for (int k = 0; k < 20000; ++k) groups.push_back(beginGroup(0));
    groups.push_back(triangle());
    auto objects = readAll(encode(asText, {deep}));
    EXPECT_TRUE(objects.empty());
    disposeAll(objects);
    objects = readAll(encode(asText, groups));
    EXPECT_LE(objects.size(), 1u);
    disposeAll(objects);
    Q3Error_Get(nullptr);
  }
}

// Stale bytes after the last object (zeros, then a bogus huge size) change nothing.
TEST_F(ReaderStructure, TrailingJunkKeepsWhatWasRead) {
  std::vector<uint8_t> bytes = Binary().file({triangle(), triangle(1)});
  bytes.insert(bytes.end(), 64, 0);
  bytes.insert(bytes.end(), {0x00, 0x20, 0x08, 0x60, 0x15, 0x00, 0x00, 0x00, 1, 2, 3});
  auto objects = readAll(bytes);
  EXPECT_EQ(objects.size(), 2u);
  EXPECT_NE(Q3Error_Get(nullptr), kQ3ErrorNone);
  disposeAll(objects);
}

// Every prefix of a valid file, and every single-byte change of it, reads
// without a crash or an endless loop; at most the whole file's objects come out.
TEST_F(ReaderStructure, TruncatedAndCorruptedFilesNeverRunAway) {
  const std::vector<Obj> file = {
      beginGroup(5),
      textured(obj("PixmapTexture", "txpm", {u(1), u(1), u(4), u(32), u(1), u(0), u(0), raw({1, 2, 3, 4})})),
      container({triangle(), labelled("s", container({obj("AttributeSet", "attr")}))}),
      container({triangle(), obj("Reference", "rfrn", {u(1)})}),
      endGroup(),
      obj("TableOfContents", "toc ", {u(1), ptr("s")})};
  for (bool asText : {true, false}) {
    const std::vector<uint8_t> whole = encode(asText, file);
    for (size_t n = 0; n < whole.size(); ++n) {
      auto objects = readAll(std::vector<uint8_t>(whole.begin(), whole.begin() + long(n)));
      EXPECT_LE(objects.size(), 1u);
      disposeAll(objects);
    }
    for (size_t n = 0; n < whole.size(); ++n)
      for (uint8_t flip : {uint8_t(0x01), uint8_t(0x80), uint8_t(0xFF)}) {
        std::vector<uint8_t> bad = whole;
        bad[n] ^= flip;
        auto objects = readAll(bad);
        disposeAll(objects);
      }
    Q3Error_Get(nullptr);
  }
}

TEST_F(ReaderStructure, TextSyntaxVariantsRead) {
  const char *source = "  # a comment first\n3DMetafile ( 1 6 Normal toc> )\n"
                       "Display Group ( )\n"
                       "polyline ( 2, 0 0 0, 1 1 1 )   # case and commas\n"
                       "Container ( Cylinder ( 0 1 0 1 0 0 0 0 1 0 0 0 0 1 0 1 ) Caps ( Top | Bottom ) )\n"
                       "Container ( Box ( ) BogusChild ( ( nested ) \"a ) in a string\" ) )\n";
  const std::vector<uint8_t> bytes(source, source + std::strlen(source));
  auto objects = readAll(bytes);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
  ASSERT_EQ(objects.size(), 4u);
  EXPECT_EQ(Q3Object_GetLeafType(objects[0]), kQ3GroupTypeDisplay);
  EXPECT_EQ(Q3Object_GetLeafType(objects[1]), kQ3GeometryTypePolyLine);
  EXPECT_EQ(Q3Object_GetLeafType(objects[2]), kQ3GeometryTypeCylinder);
  EXPECT_EQ(Q3Object_GetLeafType(objects[3]), kQ3GeometryTypeBox);
  disposeAll(objects);
}

} // namespace
