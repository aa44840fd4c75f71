// DrawContextPixmap.cpp: the pixmap draw context and the pixel-type codecs.
#include "DrawContext.h"

#include "Attribute.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace q3 {

namespace {
constexpr uint32_t kMaxSide = 16384;

uint32_t expand5(uint32_t v) { return (v << 3) | (v >> 2); }
uint32_t expand6(uint32_t v) { return (v << 2) | (v >> 4); }
uint32_t reduce(uint32_t v, uint32_t bits) { return (v * ((1u << bits) - 1) + 127) / 255; }
} // namespace

void encodePixel(uint32_t argb, TQ3PixelType type, TQ3Endian byteOrder, uint8_t *out) {
  const uint32_t a = argb >> 24, r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
  const bool little = byteOrder == kQ3EndianLittle;
  switch (type) {
  case kQ3PixelTypeRGB32:
  case kQ3PixelTypeARGB32: {
    const uint8_t first = type == kQ3PixelTypeARGB32 ? uint8_t(a) : 0;
    const uint8_t big[4] = {first, uint8_t(r), uint8_t(g), uint8_t(b)};
    for (int i = 0; i < 4; ++i) out[i] = little ? big[3 - i] : big[i];
    return;
  }
  case kQ3PixelTypeRGB24:
    out[0] = uint8_t(little ? b : r);
    out[1] = uint8_t(g);
    out[2] = uint8_t(little ? r : b);
    return;
  case kQ3PixelTypeRGB16:
  case kQ3PixelTypeARGB16:
  case kQ3PixelTypeRGB16_565: {
    uint32_t v;
    if (type == kQ3PixelTypeRGB16_565)
      v = reduce(r, 5) << 11 | reduce(g, 6) << 5 | reduce(b, 5);
    else
      v = reduce(r, 5) << 10 | reduce(g, 5) << 5 | reduce(b, 5);
    if (type == kQ3PixelTypeARGB16 && a >= 128) v |= 0x8000;
    out[little ? 0 : 1] = uint8_t(v & 255);
    out[little ? 1 : 0] = uint8_t(v >> 8);
    return;
  }
  }
}

uint32_t decodePixel(const uint8_t *in, TQ3PixelType type, TQ3Endian byteOrder) {
  const bool little = byteOrder == kQ3EndianLittle;
  switch (type) {
  case kQ3PixelTypeRGB32:
  case kQ3PixelTypeARGB32: {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | in[little ? 3 - i : i];
    return type == kQ3PixelTypeRGB32 ? (v | 0xFF000000u) : v;
  }
  case kQ3PixelTypeRGB24: {
    const uint32_t r = in[little ? 2 : 0], g = in[1], b = in[little ? 0 : 2];
    return 0xFF000000u | r << 16 | g << 8 | b;
  }
  case kQ3PixelTypeRGB16:
  case kQ3PixelTypeARGB16:
  case kQ3PixelTypeRGB16_565: {
    const uint32_t v = little ? (in[0] | in[1] << 8) : (in[1] | in[0] << 8);
    uint32_t r, g, b, a = 255;
    if (type == kQ3PixelTypeRGB16_565) {
      r = expand5(v >> 11 & 31), g = expand6(v >> 5 & 63), b = expand5(v & 31);
    } else {
      r = expand5(v >> 10 & 31), g = expand5(v >> 5 & 31), b = expand5(v & 31);
      if (type == kQ3PixelTypeARGB16) a = (v & 0x8000) ? 255 : 0;
    }
    return a << 24 | r << 16 | g << 8 | b;
  }
  }
  return 0;
}

namespace {
// One row of frame pixels into the pixmap; the usual types get a loop of
// their own, the rest go pixel by pixel.
void encodeRow(const uint32_t *src, int n, TQ3PixelType type, TQ3Endian order, uint8_t *out) {
  const bool little = order == kQ3EndianLittle;
  if (type == kQ3PixelTypeRGB32 || type == kQ3PixelTypeARGB32) {
    const uint32_t keep = type == kQ3PixelTypeARGB32 ? 0xFFFFFFFFu : 0x00FFFFFFu;
    // Whole words in the destination's byte order: a loop the compiler
    // turns into SSE2 copies.
    const bool swap = little != (std::endian::native == std::endian::little);
    if (swap) {
      for (int x = 0; x < n; ++x) {
        const uint32_t v = src[x] & keep;
        const uint32_t w = v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
        std::memcpy(out + size_t(x) * 4, &w, 4);
      }
    } else {
      for (int x = 0; x < n; ++x) {
        const uint32_t v = src[x] & keep;
        std::memcpy(out + size_t(x) * 4, &v, 4);
      }
    }
    return;
  }
  if (type == kQ3PixelTypeRGB24) {
    for (int x = 0; x < n; ++x, out += 3) {
      const uint32_t v = src[x];
      out[little ? 2 : 0] = uint8_t(v >> 16), out[1] = uint8_t(v >> 8), out[little ? 0 : 2] = uint8_t(v);
    }
    return;
  }
  const uint32_t bpp = bytesPerPixel(type);
  for (int x = 0; x < n; ++x) encodePixel(src[x], type, order, out + size_t(x) * bpp);
}
} // namespace

bool PixmapDrawContext::validPixmap(const TQ3Pixmap &p) {
  const uint32_t bpp = bytesPerPixel(rawEnum(p.pixelType));
  const bool ok = p.image && bpp != 0 && rawEnum(p.byteOrder) <= kQ3EndianLittle && p.pixelSize == bpp * 8 &&
                  p.width > 0 && p.height > 0 && p.width <= kMaxSide && p.height <= kMaxSide &&
                  p.rowBytes >= p.width * bpp;
  if (!ok) postError(kQ3ErrorInvalidParameter);
  return ok;
}

bool PixmapDrawContext::setPixmap(const TQ3Pixmap &p) {
  if (!validPixmap(p)) return false;
  pixmap_ = p;
  edited();
  return true;
}

PixelArea PixmapDrawContext::area() const {
  const int w = int(pixmap_.width), h = int(pixmap_.height);
  if (!data().paneState) return {0, 0, w, h};
  const TQ3Area &pane = data().pane;
  const int x0 = std::clamp(paneEdge(pane.min.x), 0, w), x1 = std::clamp(paneEdge(pane.max.x), 0, w);
  const int y0 = std::clamp(paneEdge(pane.min.y), 0, h), y1 = std::clamp(paneEdge(pane.max.y), 0, h);
  return {x0, y0, x1 - x0, y1 - y0};
}

void PixmapDrawContext::loadBackground() {
  const PixelArea a = area();
  const uint32_t bpp = bytesPerPixel(pixmap_.pixelType);
  const uint8_t *base = static_cast<const uint8_t *>(pixmap_.image);
  for (int y = 0; y < frame_.height; ++y) {
    const uint8_t *row = base + size_t(a.y + y) * pixmap_.rowBytes + size_t(a.x) * bpp;
    for (int x = 0; x < frame_.width; ++x)
      frame_.argb[size_t(y) * frame_.width + x] =
          decodePixel(row + size_t(x) * bpp, pixmap_.pixelType, pixmap_.byteOrder);
  }
}

bool PixmapDrawContext::present() {
  const PixelArea a = area();
  // The pixmap or pane may have changed since beginFrame; write only the
  // part both agree on.
  const int w = std::min(a.width, frame_.width), h = std::min(a.height, frame_.height);
  const uint32_t bpp = bytesPerPixel(pixmap_.pixelType);
  uint8_t *base = static_cast<uint8_t *>(pixmap_.image);
  for (int y = 0; y < h; ++y) {
    uint8_t *row = base + size_t(a.y + y) * pixmap_.rowBytes + size_t(a.x) * bpp;
    encodeRow(&frame_.argb[size_t(y) * frame_.width], w, pixmap_.pixelType, pixmap_.byteOrder, row);
  }
  return true;
}

} // namespace q3

Q3_EXTERN_API_C(TQ3DrawContextObject) Q3PixmapDrawContext_New(const TQ3PixmapDrawContextData *contextData) {
  if (!q3::requireInitialized() || !q3::requirePointer(contextData) ||
      !q3::PixmapDrawContext::validPixmap(contextData->pixmap))
    return nullptr;
  q3::PixmapDrawContext *dc = q3::create<q3::PixmapDrawContext>(*contextData);
  if (dc && !dc->setData(contextData->drawContextData)) {
    q3::release(dc);
    return nullptr;
  }
  return q3::handleOf(dc);
}

Q3_EXTERN_API_C(TQ3Status) Q3PixmapDrawContext_SetPixmap(TQ3DrawContextObject drawContext, const TQ3Pixmap *pixmap) {
  q3::PixmapDrawContext *dc = q3::validate<q3::PixmapDrawContext>(drawContext);
  if (!dc || !q3::requirePointer(pixmap)) return kQ3Failure;
  return dc->setPixmap(*pixmap) ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3Status) Q3PixmapDrawContext_GetPixmap(TQ3DrawContextObject drawContext, TQ3Pixmap *pixmap) {
  const q3::PixmapDrawContext *dc = q3::validate<q3::PixmapDrawContext>(drawContext);
  if (!dc || !q3::requirePointer(pixmap)) return kQ3Failure;
  *pixmap = dc->pixmap();
  return kQ3Success;
}
