// Png.h: writes pictures as PNG files, through stb_image_write.
//
// WritePng writes to a temporary file beside the target and renames it into
// place, so a failure never leaves a partial picture under the asked name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace du3v_tool {

// pixels: 0xRRGGBB, top row first. Returns "" or the reason it failed.
std::string WritePng(const std::string &path, int width, int height, const std::vector<uint32_t> &pixels);

} // namespace du3v_tool
