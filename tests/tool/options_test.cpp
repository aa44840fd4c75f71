#include <gtest/gtest.h>

#include "Options.h"

using namespace du3v_tool;

namespace {
Parsed parse(std::vector<std::string> args) { return ParseCommand(args); }
} // namespace

TEST(Options, RenderDefaultsAndValues) {
  Parsed p = parse({"render", "models/teapot.3dmf"});
  ASSERT_TRUE(p.options) << p.error;
  EXPECT_EQ(p.options->command, Command::Render);
  EXPECT_EQ(p.options->output, "models/teapot.png");
  EXPECT_EQ(p.options->width, 640);
  EXPECT_EQ(p.options->height, 480);
  EXPECT_EQ(p.options->sky, 0xC8C8FFu);
  EXPECT_FALSE(p.options->yaw);

  p = parse({"render", "a.b/model", "-o", "x.png", "--size", "320x200", "--yaw", "-45", "--pitch", "10.5", "--distance",
             "3", "--wireframe", "--fog", "--sky", "#102030", "--frames", "5"});
  ASSERT_TRUE(p.options) << p.error;
  const Options &o = *p.options;
  EXPECT_EQ(o.output, "x.png");
  EXPECT_EQ(o.width, 320);
  EXPECT_EQ(o.height, 200);
  EXPECT_EQ(*o.yaw, -45.0);
  EXPECT_EQ(*o.pitch, 10.5);
  EXPECT_EQ(*o.distance, 3.0);
  EXPECT_TRUE(o.wireframe && o.fog);
  EXPECT_EQ(o.sky, 0x102030u);
  EXPECT_EQ(o.frames, 5);
  EXPECT_EQ(parse({"render", "a.b/model"}).options->output, "a.b/model.png");
}

TEST(Options, DemoInfoAndHelp) {
  Parsed demo = parse({"demo"});
  ASSERT_TRUE(demo.options);
  EXPECT_EQ(demo.options->output, "du3v-demo.png");
  EXPECT_EQ(parse({"info", "m.3dmf"}).options->command, Command::Info);
  for (auto args : std::vector<std::vector<std::string>>{{}, {"--help"}, {"render", "--help"}, {"info", "-h"}}) {
    Parsed p = parse(args);
    ASSERT_TRUE(p.options);
    EXPECT_EQ(p.options->command, Command::Help);
  }
  EXPECT_NE(HelpText("render").find("--wireframe"), std::string::npos);
  EXPECT_NE(HelpText("").find("du3v demo"), std::string::npos);
}

TEST(Options, BadValuesAreRefusedWithAReason) {
  const struct {
    std::vector<std::string> args;
    const char *mentions;
  } cases[] = {
      {{"paint"}, "unknown command"},
      {{"render"}, "needs a 3DMF file"},
      {{"info"}, "needs a 3DMF file"},
      {{"render", "m", "--size", "0x10"}, "--size"},
      {{"render", "m", "--size", "640"}, "--size"},
      {{"render", "m", "--size", "99999x10"}, "--size"},
      {{"render", "m", "--yaw", "left"}, "--yaw"},
      {{"render", "m", "--pitch"}, "--pitch"},
      {{"render", "m", "--distance", "-1"}, "--distance"},
      {{"render", "m", "--distance", "nan"}, "--distance"},
      {{"render", "m", "--sky", "12345"}, "--sky"},
      {{"render", "m", "--sky", "GG0000"}, "--sky"},
      {{"render", "m", "--frames", "0"}, "--frames"},
      {{"render", "m", "--frames", "1e3"}, "--frames"},
      {{"render", "m", "-o"}, "-o"},
      {{"render", "m", "--bogus"}, "unknown option"},
      {{"render", "m", "n"}, "unexpected argument"},
      {{"info", "m", "--wireframe"}, "unknown option"},
      {{"demo", "--yaw", "3"}, "unknown option"},
  };
  for (const auto &c : cases) {
    Parsed p = parse(c.args);
    EXPECT_FALSE(p.options) << c.mentions;
    EXPECT_NE(p.error.find(c.mentions), std::string::npos) << p.error;
  }
}
