#include "Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace du3v_tool {

namespace {
bool parseDouble(const std::string &text, double &out) {
  if (text.empty()) return false;
  char *end = nullptr;
  errno = 0;
  out = std::strtod(text.c_str(), &end);
  return errno == 0 && end && *end == '\0' && std::isfinite(out);
}

bool parseInt(const std::string &text, long low, long high, int &out) {
  if (text.empty() || text.size() > 10) return false;
  char *end = nullptr;
  errno = 0;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno || !end || *end || v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

bool parseSize(const std::string &text, int &w, int &h) {
  const size_t x = text.find_first_of("xX");
  return x != std::string::npos && parseInt(text.substr(0, x), 1, 8192, w) && parseInt(text.substr(x + 1), 1, 8192, h);
}

bool parseColour(std::string text, uint32_t &out) {
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.size() != 6) return false;
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  out = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
  return true;
}

Parsed fail(const std::string &message) { return Parsed{std::nullopt, message}; }
} // namespace

Parsed ParseCommand(const std::vector<std::string> &args) {
  Options o;
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    o.command = Command::Help;
    if (args.size() > 1) o.helpFor = args[1];
    return Parsed{o, {}};
  }
  const std::string &name = args[0];
  if (name == "render")
    o.command = Command::Render;
  else if (name == "info")
    o.command = Command::Info;
  else if (name == "demo")
    o.command = Command::Demo;
  else
    return fail("unknown command '" + name + "' (commands: render, info, demo; try --help)");

  for (size_t i = 1; i < args.size(); ++i) {
    const std::string &a = args[i];
    auto value = [&](std::string &out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    const bool rendering = o.command != Command::Info;
    const bool viewing = o.command == Command::Render;
    if (a == "--help" || a == "-h") {
      o.helpFor = name;
      o.command = Command::Help;
      return Parsed{o, {}};
    } else if ((a == "-o" || a == "--output") && rendering) {
      if (!value(o.output) || o.output.empty()) return fail(a + " needs a file name");
    } else if (a == "--size" && rendering) {
      if (!value(v) || !parseSize(v, o.width, o.height))
        return fail("--size wants WIDTHxHEIGHT, each 1 to 8192 (got '" + v + "')");
    } else if ((a == "--yaw" || a == "--pitch") && viewing) {
      double d;
      if (!value(v) || !parseDouble(v, d)) return fail(a + " wants degrees (got '" + v + "')");
      (a == "--yaw" ? o.yaw : o.pitch) = d;
    } else if (a == "--distance" && viewing) {
      double d;
      if (!value(v) || !parseDouble(v, d) || d <= 0) return fail("--distance wants a number above 0 (got '" + v + "')");
      o.distance = d;
    } else if (a == "--wireframe" && viewing) {
      o.wireframe = true;
    } else if (a == "--fog" && viewing) {
      o.fog = true;
    } else if (a == "--sky" && viewing) {
      if (!value(v) || !parseColour(v, o.sky)) return fail("--sky wants a colour RRGGBB (got '" + v + "')");
    } else if (a == "--frames" && rendering) {
      if (!value(v) || !parseInt(v, 1, 10000, o.frames)) return fail("--frames wants 1 to 10000 (got '" + v + "')");
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option '" + a + "' for " + name + " (try du3v " + name + " --help)");
    } else if (o.command != Command::Demo && o.model.empty()) {
      o.model = a;
    } else {
      return fail("unexpected argument '" + a + "'");
    }
  }
  if (o.command != Command::Demo && o.model.empty())
    return fail(name + " needs a 3DMF file (try du3v " + name + " --help)");
  if (o.command == Command::Demo && o.output.empty()) o.output = "du3v-demo.png";
  if (o.command == Command::Render && o.output.empty()) {
    const size_t slash = o.model.find_last_of('/');
    const size_t dot = o.model.find_last_of('.');
    o.output =
        (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? o.model.substr(0, dot) : o.model) +
        ".png";
  }
  return Parsed{o, {}};
}

std::string HelpText(const std::string &command) {
  if (command == "render")
    return "du3v render MODEL.3dmf [options]\n"
           "  Reads a text or binary 3DMF file through the plugin, frames it from its bounds and\n"
           "  writes a PNG.\n"
           "  -o, --output FILE   the PNG to write (default: MODEL.png)\n"
           "  --size WxH          picture size in pixels (default 640x480)\n"
           "  --yaw DEG           turn the view about the vertical axis (default 30)\n"
           "  --pitch DEG         look down on the model by DEG (default 20)\n"
           "  --distance D        camera distance from the model's centre (default: framed)\n"
           "  --wireframe         draw edges only\n"
           "  --fog               linear fog over the model's depth\n"
           "  --sky RRGGBB        background colour (default C8C8FF)\n"
           "  --frames N          render N frames and report the median time per frame\n";
  if (command == "info")
    return "du3v info MODEL.3dmf\n"
           "  Tells what the file holds: top-level objects by kind, triangle count and bounds.\n";
  if (command == "demo")
    return "du3v demo [-o OUT.png] [--size WxH] [--frames N]\n"
           "  Renders the built-in sample scene (a lit solid, a textured quad, a turned group)\n"
           "  to du3v-demo.png.\n";
  return "du3v: renders 3DMF models through the Du3V plugin\n"
         "  du3v render MODEL.3dmf [-o OUT.png] [...]   render a model to a PNG\n"
         "  du3v info MODEL.3dmf                        what a model holds\n"
         "  du3v demo                                   render the sample scene\n"
         "  du3v COMMAND --help                         the options of a command\n";
}

} // namespace du3v_tool
