// du3v: renders 3DMF models through the Du3V plugin, from the command line.
// It is a host like the scripting environment: it loads the plugin library
// and drives it the way a script would.
#include "Options.h"
#include "Png.h"
#include "Scene.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using namespace du3v_tool;

namespace {
int fail(const std::string &message, int code) {
  std::fprintf(stderr, "du3v: %s\n", message.c_str());
  return code;
}

int writePicture(const Options &o, const RenderReport &report) {
  if (!report.error.empty()) return fail(report.error, 1);
  const std::string problem = WritePng(o.output, report.picture.width, report.picture.height, report.picture.pixels);
  if (!problem.empty()) return fail(problem, 1);
  std::printf("wrote %s: %dx%d, %d objects, %ld triangles, %.2f ms per frame", o.output.c_str(), report.picture.width,
              report.picture.height, report.objects, report.triangles, report.medianMs);
  if (o.frames > 1) std::printf(" (median of %d frames)", o.frames);
  std::printf("\n");
  return 0;
}
int printInfo(const Options &o, const InfoReport &info) {
  if (!info.error.empty()) return fail(info.error, 1);
  std::printf("%s\n  top-level objects:", o.model.c_str());
  for (const auto &kind : info.kinds) std::printf(" %s x%d", kind.first.c_str(), kind.second);
  std::printf("\n  triangles: %ld\n", info.triangles);
  if (info.hasBounds)
    std::printf("  bounds: (%g, %g, %g) to (%g, %g, %g)\n", info.min[0], info.min[1], info.min[2], info.max[0],
                info.max[1], info.max[2]);
  else
    std::printf("  bounds: none (nothing drawable)\n");
  return 0;
}
} // namespace

int main(int argc, char **argv) {
  Parsed parsed = ParseCommand(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) return fail(parsed.error, 2);
  const Options &o = *parsed.options;
  try {
    switch (o.command) {
    case Command::Help: std::fputs(HelpText(o.helpFor).c_str(), stdout); return 0;
    case Command::Render: return writePicture(o, RenderModel(o));
    case Command::Demo: return writePicture(o, RenderDemo(o));
    case Command::Info: return printInfo(o, InfoModel(o));
    }
  } catch (const std::exception &e) {
    // A plugin that does not answer as its declarations promise.
    return fail(std::string("internal error: ") + e.what(), 3);
  }
  return 0;
}
