// Scene.h: drives the Du3V plugin the way a script does, through the
// reference host: a Zu3ROzuvu control on a window, objects read from 3DMF,
// a camera framed from the model's bounds, pictures of the scene.
#pragma once

#include "Options.h"

#include <string>
#include <vector>

namespace du3v_tool {

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels; // 0xRRGGBB, top row first
};

struct RenderReport {
  std::string error; // empty when it worked
  Picture picture;
  int objects = 0;     // objects drawn (groups' members counted, not the groups)
  long triangles = 0;  // in the shapes those objects draw
  double medianMs = 0; // per frame
};

struct InfoReport {
  std::string error;
  std::vector<std::pair<std::string, int>> kinds; // top-level objects by kind, in first-seen order
  long triangles = 0;
  bool hasBounds = false;
  double min[3] = {0, 0, 0}, max[3] = {0, 0, 0};
};

// What a model file holds, read through the plugin (the walk over the shape
// the plugin hands out uses q3's group and geometry queries).
InfoReport InfoModel(const Options &options);

// Renders the model file as the options say.
RenderReport RenderModel(const Options &options);
// Renders the built-in sample scene.
RenderReport RenderDemo(const Options &options);

} // namespace du3v_tool
