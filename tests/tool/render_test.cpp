// The du3v program end to end: a model file through the plugin into a PNG.
#include <gtest/gtest.h>

#include "DemoScene.h"
#include "Png.h"
#include "Scene.h"

#include <cstdio>
#include <fstream>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

using namespace du3v_tool;

namespace {
struct File {
  std::string path;
  File(const std::string &name, const std::string &bytes) : path(name) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  ~File() { std::remove(path.c_str()); }
};

uint32_t pngPixel(const std::string &path, int x, int y, int *w = nullptr, int *h = nullptr) {
  int width, height, channels;
  unsigned char *data = stbi_load(path.c_str(), &width, &height, &channels, 3);
  if (!data) return 0xFFFFFFFF;
  if (w) *w = width;
  if (h) *h = height;
  const unsigned char *p = data + (static_cast<size_t>(y) * width + x) * 3;
  const uint32_t rgb = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  stbi_image_free(data);
  return rgb;
}

Options renderOptions(const std::string &model, const std::string &out) {
  Options o;
  o.command = Command::Render;
  o.model = model;
  o.output = out;
  o.width = 64;
  o.height = 48;
  return o;
}
} // namespace

TEST(Png, WritesAndReplacesOnlyWhenComplete) {
  std::vector<uint32_t> pixels{0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
  ASSERT_EQ(WritePng("tool_png.png", 2, 2, pixels), "");
  int w, h;
  EXPECT_EQ(pngPixel("tool_png.png", 1, 1, &w, &h), 0x123456u);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  EXPECT_NE(WritePng("no_such_folder/x.png", 2, 2, pixels), "");
  EXPECT_NE(WritePng("tool_png.png", 3, 2, pixels), ""); // size mismatch
  EXPECT_EQ(pngPixel("tool_png.png", 0, 0), 0xFF0000u);  // the old picture stays
  std::remove("tool_png.png");
}

TEST(Render, ModelFileToPicture) {
  File model("tool_cube.3dmf", CubeText(1, 0, 0));
  Options o = renderOptions(model.path, "tool_cube.png");
  o.sky = 0x000080;
  RenderReport report = RenderModel(o);
  ASSERT_EQ(report.error, "");
  ASSERT_EQ(report.picture.width, 64);
  ASSERT_EQ(report.picture.height, 48);
  // Framed from its bounds: the model covers the centre, the sky the corners.
  const uint32_t centre = report.picture.pixels[24 * 64 + 32];
  EXPECT_GT(centre >> 16, 60u) << std::hex << centre;
  EXPECT_EQ((centre >> 8) & 255, 0u);
  EXPECT_EQ(report.picture.pixels[0], 0x000080u);
  // And through the PNG file, as the program writes it.
  ASSERT_EQ(WritePng(o.output, report.picture.width, report.picture.height, report.picture.pixels), "");
  EXPECT_EQ(pngPixel(o.output, 32, 24), centre);
  EXPECT_EQ(pngPixel(o.output, 63, 47), 0x000080u);
  std::remove(o.output.c_str());
}

TEST(Render, InfoTellsWhatAFileHolds) {
  File model("tool_info.3dmf", CubeText(0, 1, 0) + "Container ( Triangle ( 0 0 0 1 0 0 0 1 0 ) )\n");
  Options o = renderOptions(model.path, "");
  InfoReport info = InfoModel(o);
  ASSERT_EQ(info.error, "");
  ASSERT_EQ(info.kinds.size(), 2u);
  EXPECT_EQ(info.kinds[0], (std::pair<std::string, int>{"TriMesh", 1}));
  EXPECT_EQ(info.kinds[1], (std::pair<std::string, int>{"Triangle", 1}));
  EXPECT_EQ(info.triangles, 13);
  ASSERT_TRUE(info.hasBounds);
  EXPECT_NEAR(info.min[0], -1, 1e-5);
  EXPECT_NEAR(info.max[2], 1, 1e-5);
  o.model = "tool_missing.3dmf";
  EXPECT_NE(InfoModel(o).error, "");
}

TEST(Render, BrokenInputFailsCleanly) {
  File empty("tool_empty.3dmf", "");
  File junk("tool_junk.3dmf", "this is not a model\n");
  File nothing("tool_nothing.3dmf", "3DMetafile ( 1 6 Normal nil> )\n");
  for (const std::string &path : {std::string("tool_missing.3dmf"), empty.path, junk.path, nothing.path}) {
    RenderReport report = RenderModel(renderOptions(path, "tool_out.png"));
    EXPECT_NE(report.error, "") << path;
  }
}
