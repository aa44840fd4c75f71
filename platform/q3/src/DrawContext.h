// DrawContext.h: where a rendering loop's frames go.
//
// Contract: a DrawContext owns the Frame a rendering pass draws into
// (0xAARRGGBB colour and a depth buffer, row 0 at the top). beginFrame()
// sizes it to the drawing area and fills it as the clear method says;
// present() hands the finished frame to the destination (pixmap memory or a
// Win32 device context). area() is also what picks measure window points
// against. Pixmap writes never leave the pixmap: its geometry was checked
// when it was set.
#pragma once

#include "Object.h"
#include "Q3Render.h"
#include "RasterMath.h"

#include <cstdint>
#include <vector>

namespace q3 {

struct Frame {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
  std::vector<float> depth; // 0 at hither, 1 at yon; cleared beyond yon
  static constexpr float kCleared = 2.0f;
};

// A drawing area in the destination's pixels.
struct PixelArea {
  int x = 0, y = 0, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};

class DrawContext : public SharedObject {
public:
  const TQ3DrawContextData &data() const { return data_; }
  // False (with an error posted) when the values are unusable.
  bool setData(const TQ3DrawContextData &d);

  // The drawing area; empty when there is none (posts kQ3ErrorBadDrawContext).
  virtual PixelArea area() const = 0;
  // Prepares the frame for a pass. False when there is no drawing area.
  bool beginFrame();
  Frame &frame() { return frame_; }
  // Delivers the finished frame. False when the destination refused it.
  virtual bool present() = 0;

protected:
  DrawContext(const TypeInfo &leaf, const TQ3DrawContextData &d) : SharedObject(leaf), data_(d) {}
  // Fills the frame with what lies in the destination before drawing (the
  // kQ3ClearMethodNone start).
  virtual void loadBackground() = 0;
  static bool validData(const TQ3DrawContextData &d);

  Frame frame_;

private:
  TQ3DrawContextData data_;
};

class PixmapDrawContext : public DrawContext {
public:
  PixmapDrawContext(const TQ3PixmapDrawContextData &d)
      : DrawContext(type::PixmapDrawContext, d.drawContextData), pixmap_(d.pixmap) {}
  const TQ3Pixmap &pixmap() const { return pixmap_; }
  bool setPixmap(const TQ3Pixmap &p);
  // Posts kQ3ErrorInvalidParameter for a pixmap a frame could not be written to safely.
  static bool validPixmap(const TQ3Pixmap &p);

  PixelArea area() const override;
  bool present() override;

protected:
  void loadBackground() override;

private:
  TQ3Pixmap pixmap_;
};

class Win32DCDrawContext : public DrawContext {
public:
  Win32DCDrawContext(const TQ3Win32DCDrawContextData &d)
      : DrawContext(type::Win32DCDrawContext, d.drawContextData), hdc_(d.hdc) {}
  TQ3Win32HDC dc() const { return hdc_; }
  void setDC(TQ3Win32HDC dc) {
    hdc_ = dc;
    edited();
  }

  PixelArea area() const override;
  bool present() override;

protected:
  void loadBackground() override;

private:
  TQ3Win32HDC hdc_;
  std::vector<uint32_t> previous_; // the last frame, for kQ3ClearMethodNone
  int previousWidth_ = 0, previousHeight_ = 0;
};

// A pane edge rounded to a whole pixel.
int paneEdge(float v);

// Pixel conversions between the frame's 0xAARRGGBB and the pixel types
// (bytesPerPixel, shared with textures, is in Attribute.h).
void encodePixel(uint32_t argb, TQ3PixelType type, TQ3Endian byteOrder, uint8_t *out);
uint32_t decodePixel(const uint8_t *in, TQ3PixelType type, TQ3Endian byteOrder);

} // namespace q3
