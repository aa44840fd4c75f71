// Options.h: the du3v program's command line.
//
//   du3v render MODEL.3dmf [-o OUT.png] [--size WxH] [--yaw DEG] [--pitch DEG]
//                          [--distance D] [--wireframe] [--fog] [--sky RRGGBB] [--frames N]
//   du3v info MODEL.3dmf
//   du3v demo [-o OUT.png] [--size WxH] [--frames N]
//
// ParseCommand never exits or prints: it returns the command or the message
// for the user, so every path is testable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace du3v_tool {

enum class Command { Render, Info, Demo, Help };

struct Options {
  Command command = Command::Help;
  std::string helpFor; // with Help: the command whose help is wanted ("" for the overview)
  std::string model;   // render, info
  std::string output;  // render: MODEL.png by default; demo: du3v-demo.png
  int width = 640, height = 480;
  std::optional<double> yaw, pitch; // degrees; a pleasant three-quarter view by default
  std::optional<double> distance;   // from the model's centre; framed from its bounds by default
  bool wireframe = false;
  bool fog = false;
  uint32_t sky = 0xC8C8FF;
  int frames = 1;
};

struct Parsed {
  std::optional<Options> options;
  std::string error; // set when options is empty
};

Parsed ParseCommand(const std::vector<std::string> &args);
std::string HelpText(const std::string &command);

} // namespace du3v_tool
