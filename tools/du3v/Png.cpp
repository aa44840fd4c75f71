#include "Png.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_EXCEPT_PNG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace du3v_tool {

std::string WritePng(const std::string &path, int width, int height, const std::vector<uint32_t> &pixels) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) return "picture size mismatch";
  std::vector<unsigned char> rgb(pixels.size() * 3);
  for (size_t i = 0; i < pixels.size(); ++i) {
    rgb[3 * i] = static_cast<unsigned char>(pixels[i] >> 16);
    rgb[3 * i + 1] = static_cast<unsigned char>(pixels[i] >> 8);
    rgb[3 * i + 2] = static_cast<unsigned char>(pixels[i]);
  }
  const std::string temporary = path + ".part";
  if (!stbi_write_png(temporary.c_str(), width, height, 3, rgb.data(), width * 3)) {
    std::remove(temporary.c_str());
    return "cannot write " + path;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    std::remove(temporary.c_str());
    return "cannot write " + path + ": " + why;
  }
  return "";
}

} // namespace du3v_tool
