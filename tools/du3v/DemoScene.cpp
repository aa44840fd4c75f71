#include "DemoScene.h"

#include <cstdio>

namespace du3v_tool {

using host::Ref;

std::string CubeText(float r, float g, float b) {
  char colour[96];
  std::snprintf(colour, sizeof colour, "DiffuseColor ( %.3f %.3f %.3f )", r, g, b);
  return std::string("3DMetafile ( 1 6 Normal nil> )\n"
                     "Container (\n"
                     "  TriMesh ( 12 0 0 0 8 0\n"
                     "    0 3 2  0 2 1   4 5 6  4 6 7   0 4 7  0 7 3\n"
                     "    1 2 6  1 6 5   0 1 5  0 5 4   3 7 6  3 6 2\n"
                     "    -1 -1 -1  1 -1 -1  1 1 -1  -1 1 -1\n"
                     "    -1 -1 1  1 -1 1  1 1 1  -1 1 1\n"
                     "    -1 -1 -1  1 1 1 False )\n"
                     "  Container ( AttributeSet ( ) ") +
         colour + " SpecularControl ( 20 ) )\n)\n";
}

std::string CheckerQuadText() {
  // 8x8 ARGB32 texels, big-endian words: warm and cool squares of 2x2.
  std::string hex = "0x";
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) hex += ((x / 2 + y / 2) % 2) ? "FFF0C030" : "FF2050C0";
  return "3DMetafile ( 1 6 Normal nil> )\n"
         "Container (\n"
         "  TriMesh ( 2 0 0 0 4 1\n"
         "    0 1 2  0 2 3\n"
         "    -1 -1 0  1 -1 0  1 1 0  -1 1 0\n"
         "    -1 -1 0  1 1 0 False )\n"
         "  AttributeArray ( 1 0 2 0 0  0 0  1 0  1 1  0 1 )\n" // per-vertex surface UVs
         "  Container ( AttributeSet ( )\n"
         "    Container ( TextureShader ( )\n"
         "      PixmapTexture ( 8 8 32 32 ARGB32 BigEndian BigEndian\n        " +
         hex + " ) ) )\n)\n";
}

namespace {
Ref shape(host::Host &h, const std::string &text, double x, double y, double z, double scale) {
  Ref o = h.New("Object3D");
  o.call("AddShapeFromString", text);
  Ref p = o.get("Position").asObject();
  p.set("X", x);
  p.set("Y", y);
  p.set("Z", z);
  o.set("Scale", scale);
  return o;
}
} // namespace

void BuildDemoScene(host::Host &h, const Ref &objects) {
  Ref cube = shape(h, CubeText(0.95f, 0.45f, 0.1f), -2.6, 0, 0, 1.0);
  cube.call("Yaw", 0.6);
  cube.call("Pitch", 0.45);
  objects.call("Append", cube);

  Ref quad = shape(h, CheckerQuadText(), 2.6, 0, 0, 1.3);
  quad.call("Yaw", -0.35);
  objects.call("Append", quad);

  // Two cubes that move as one: the group turns, they swing round its centre.
  Ref group = h.New("Group3D");
  group.call("Append", shape(h, CubeText(0.2f, 0.5f, 0.95f), 0, 1.5, 0, 0.55));
  group.call("Append", shape(h, CubeText(0.2f, 0.85f, 0.3f), 0, -1.5, 0, 0.55));
  group.call("Roll", 0.5);
  group.call("Yaw", 0.5);
  group.call("Update");
  objects.call("Append", group);
}

} // namespace du3v_tool
