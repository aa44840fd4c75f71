// Attribute.h: attribute sets, textures and texture shaders.
//
// - AttributeSet holds attribute values (AttributeValues of Mesh.h) and, for
//   the surface shader attribute, a reference to a shader. values() resolves
//   both into one AttributeValues (the texture of a texture shader included),
//   which is what geometries put into their Mesh and what submit() overlays
//   on the view's attributes.
// - Texture holds pixels decoded once into a TextureImage (decodePixels).
// - TextureShader holds a texture and its u/v boundary modes; image() gives
//   the TextureImage with those modes, shared until either changes.
#pragma once

#include "Mesh.h"
#include "Object.h"
#include "Q3Set.h"
#include "Shader.h"

#include <memory>

namespace q3 {

class SubmitTarget;

class Texture : public SharedObject {
public:
  Texture(const TypeInfo &leaf, std::shared_ptr<const TextureImage> image) : SharedObject(leaf), image_(image) {}
  const std::shared_ptr<const TextureImage> &image() const { return image_; }

private:
  std::shared_ptr<const TextureImage> image_;
};

class TextureShader : public Shader {
public:
  explicit TextureShader(Ref<Texture> texture) : Shader(type::TextureShader), texture_(std::move(texture)) {}
  Texture *texture() const { return texture_.get(); }
  void setBoundary(bool u, TQ3ShaderUVBoundary mode);
  TQ3ShaderUVBoundary boundary(bool u) const { return u ? uBoundary_ : vBoundary_; }
  // The texture's pixels with this shader's boundary modes; null without a texture.
  std::shared_ptr<const TextureImage> image() const;
  void submit(SubmitTarget &target) const override;

private:
  Ref<Texture> texture_;
  TQ3ShaderUVBoundary uBoundary_ = kQ3ShaderUVBoundaryWrap, vBoundary_ = kQ3ShaderUVBoundaryWrap;
  mutable std::shared_ptr<const TextureImage> image_;
};

class AttributeSet : public SharedObject {
public:
  AttributeSet() : SharedObject(type::AttributeSet) {}
  // The stored values, without the surface shader.
  AttributeValues &stored() { return values_; }
  const AttributeValues &stored() const { return values_; }
  void setSurfaceShader(Ref<Shader> shader) { shader_ = std::move(shader); }
  Shader *surfaceShader() const { return shader_.get(); }
  // Stored values plus the surface shader's texture (kTexture).
  AttributeValues values() const;
  void submit(SubmitTarget &target) const;

private:
  AttributeValues values_;
  Ref<Shader> shader_;
};

struct PixelLayout {
  uint32_t width = 0, height = 0, rowBytes = 0;
  uint32_t pixelType = 0; // TQ3PixelType
  uint32_t byteOrder = 0; // TQ3Endian
};

// Bytes per pixel of a pixel type, 0 for an unknown one.
uint32_t bytesPerPixel(uint32_t pixelType);

// Decodes `size` bytes of rows into a TextureImage, or returns null after
// posting an error: unknown pixel type or byte order, dimensions of 0 or
// above 4096, rowBytes below a row's pixels, or rows past the data.
std::shared_ptr<const TextureImage> decodePixels(const uint8_t *data, uint64_t size, const PixelLayout &layout);

} // namespace q3
