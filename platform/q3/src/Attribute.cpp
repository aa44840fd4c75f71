// Attribute.cpp: attribute sets, textures and texture shaders, and their
// public calls.
#include "Attribute.h"

#include "Q3Geometry.h"
#include "Storage.h"
#include "Submit.h"

#include <cmath>

namespace q3 {

void TextureShader::setBoundary(bool u, TQ3ShaderUVBoundary mode) {
  (u ? uBoundary_ : vBoundary_) = mode;
  image_.reset();
  edited();
}

std::shared_ptr<const TextureImage> TextureShader::image() const {
  if (!texture_ || !texture_->image()) return nullptr;
  const bool wrapU = uBoundary_ == kQ3ShaderUVBoundaryWrap, wrapV = vBoundary_ == kQ3ShaderUVBoundaryWrap;
  const auto &source = texture_->image();
  if (source->wrapU == wrapU && source->wrapV == wrapV) return source;
  if (!image_) {
    try {
      auto copy = std::make_shared<TextureImage>(*source);
      copy->wrapU = wrapU;
      copy->wrapV = wrapV;
      image_ = std::move(copy);
    } catch (const std::bad_alloc &) {
      postError(kQ3ErrorOutOfMemory);
      return source; // drawn with the texture's own modes rather than not at all
    }
  }
  return image_;
}

void TextureShader::submit(SubmitTarget &target) const { target.surfaceTexture(image()); }

AttributeValues AttributeSet::values() const {
  AttributeValues v = values_;
  if (const auto *shader = dynamic_cast<const TextureShader *>(shader_.get())) {
    if (auto image = shader->image()) {
      v.texture = std::move(image);
      v.mask |= AttributeValues::kTexture;
    }
  }
  return v;
}

void AttributeSet::submit(SubmitTarget &target) const { target.attributes(values()); }

uint32_t bytesPerPixel(uint32_t pixelType) {
  switch (pixelType) {
  case kQ3PixelTypeRGB32:
  case kQ3PixelTypeARGB32: return 4;
  case kQ3PixelTypeRGB16:
  case kQ3PixelTypeARGB16:
  case kQ3PixelTypeRGB16_565: return 2;
  case kQ3PixelTypeRGB24: return 3;
  default: return 0;
  }
}

namespace {
constexpr uint32_t kMaxTextureSide = 4096;

uint32_t expand5(uint32_t v) { return (v * 255) / 31; }
uint32_t expand6(uint32_t v) { return (v * 255) / 63; }
uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

uint32_t decodePixel(const uint8_t *p, uint32_t pixelType, bool little) {
  switch (pixelType) {
  case kQ3PixelTypeRGB32:
  case kQ3PixelTypeARGB32: {
    const uint32_t w = little ? (uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0])
                              : (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
    return pixelType == kQ3PixelTypeRGB32 ? (w | 0xFF000000u) : w;
  }
  case kQ3PixelTypeRGB24: return little ? argb(0xFF, p[2], p[1], p[0]) : argb(0xFF, p[0], p[1], p[2]);
  default: {
    const uint32_t w = little ? (uint32_t(p[1]) << 8 | p[0]) : (uint32_t(p[0]) << 8 | p[1]);
    if (pixelType == kQ3PixelTypeRGB16_565)
      return argb(0xFF, expand5((w >> 11) & 31), expand6((w >> 5) & 63), expand5(w & 31));
    // RGB16 carries junk in bit 15; only ARGB16 reads it as alpha.
    const uint32_t a = pixelType == kQ3PixelTypeARGB16 ? ((w & 0x8000u) ? 0xFF : 0) : 0xFF;
    return argb(a, expand5((w >> 10) & 31), expand5((w >> 5) & 31), expand5(w & 31));
  }
  }
}
} // namespace

std::shared_ptr<const TextureImage> decodePixels(const uint8_t *data, uint64_t size, const PixelLayout &layout) {
  const uint32_t bpp = bytesPerPixel(layout.pixelType);
  if (bpp == 0 || layout.byteOrder > kQ3EndianLittle) {
    postError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  if (layout.width == 0 || layout.height == 0 || layout.width > kMaxTextureSide || layout.height > kMaxTextureSide ||
      uint64_t(layout.rowBytes) < uint64_t(layout.width) * bpp || uint64_t(layout.rowBytes) * layout.height > size ||
      (!data && size)) {
    postError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  try {
    auto image = std::make_shared<TextureImage>();
    image->width = layout.width;
    image->height = layout.height;
    image->argb.resize(size_t(layout.width) * layout.height);
    const bool little = layout.byteOrder == kQ3EndianLittle;
    uint32_t *out = image->argb.data();
    for (uint32_t y = 0; y < layout.height; ++y) {
      const uint8_t *row = data + size_t(y) * layout.rowBytes; // bytes past a row's pixels are padding
      for (uint32_t x = 0; x < layout.width; ++x) {
        *out = decodePixel(row + size_t(x) * bpp, layout.pixelType, little);
        if ((*out >> 24) != 0xFF) image->hasAlpha = true;
        ++out;
      }
    }
    return image;
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
}

} // namespace q3

namespace {
using q3::AttributeValues;

// The AttributeValues bit of a public attribute type; 0 for types q3 does not keep.
uint32_t bitOf(TQ3AttributeType type) {
  switch (type) {
  case kQ3AttributeTypeSurfaceUV:
  case kQ3AttributeTypeShadingUV: return AttributeValues::kUV;
  case kQ3AttributeTypeNormal: return AttributeValues::kNormal;
  case kQ3AttributeTypeAmbientCoefficient: return AttributeValues::kAmbientCoefficient;
  case kQ3AttributeTypeDiffuseColor: return AttributeValues::kDiffuse;
  case kQ3AttributeTypeSpecularColor: return AttributeValues::kSpecular;
  case kQ3AttributeTypeSpecularControl: return AttributeValues::kSpecularControl;
  case kQ3AttributeTypeTransparencyColor: return AttributeValues::kTransparency;
  case kQ3AttributeTypeHighlightState: return AttributeValues::kHighlight;
  case kQ3AttributeTypeSurfaceShader: return AttributeValues::kTexture;
  default: return 0;
  }
}

q3::AttributeSet *validSet(TQ3AttributeSet set) { return q3::validate<q3::AttributeSet>(set); }
} // namespace

Q3_EXTERN_API_C(TQ3AttributeSet) Q3AttributeSet_New(void) { return q3::handleOf(q3::create<q3::AttributeSet>()); }

Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Add(TQ3AttributeSet attributeSet, TQ3AttributeType type, const void *data) {
  q3::AttributeSet *set = validSet(attributeSet);
  if (!set || !q3::requirePointer(data)) return kQ3Failure;
  const uint32_t bit = bitOf(type);
  if (!bit) {
    q3::postError(kQ3ErrorAttributeInvalidType);
    return kQ3Failure;
  }
  AttributeValues &v = set->stored();
  switch (type) {
  case kQ3AttributeTypeSurfaceUV:
  case kQ3AttributeTypeShadingUV: v.uv = *static_cast<const TQ3Param2D *>(data); break;
  case kQ3AttributeTypeNormal: v.normal = *static_cast<const TQ3Vector3D *>(data); break;
  case kQ3AttributeTypeAmbientCoefficient: v.ambientCoefficient = *static_cast<const float *>(data); break;
  case kQ3AttributeTypeDiffuseColor: v.diffuse = *static_cast<const TQ3ColorRGB *>(data); break;
  case kQ3AttributeTypeSpecularColor: v.specular = *static_cast<const TQ3ColorRGB *>(data); break;
  case kQ3AttributeTypeSpecularControl: v.specularControl = *static_cast<const float *>(data); break;
  case kQ3AttributeTypeTransparencyColor: v.transparency = *static_cast<const TQ3ColorRGB *>(data); break;
  case kQ3AttributeTypeHighlightState:
    if (*static_cast<const TQ3Uns32 *>(data) == 0) {
      v.mask &= ~bit;
      set->edited();
      return kQ3Success;
    }
    break;
  case kQ3AttributeTypeSurfaceShader: {
    q3::Shader *shader = q3::validate<q3::Shader>(*static_cast<const TQ3ShaderObject *>(data));
    if (!shader) return kQ3Failure;
    set->setSurfaceShader(q3::Ref<q3::Shader>::share(shader));
    set->edited();
    return kQ3Success; // the texture bit comes from the shader in values()
  }
  }
  v.mask |= bit;
  set->edited();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Boolean) Q3AttributeSet_Contains(TQ3AttributeSet attributeSet, TQ3AttributeType type) {
  const q3::AttributeSet *set = validSet(attributeSet);
  if (!set) return kQ3False;
  if (type == kQ3AttributeTypeSurfaceShader) return set->surfaceShader() ? kQ3True : kQ3False;
  const uint32_t bit = bitOf(type);
  return bit && set->stored().has(bit) ? kQ3True : kQ3False;
}

Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Get(TQ3AttributeSet attributeSet, TQ3AttributeType type, void *data) {
  const q3::AttributeSet *set = validSet(attributeSet);
  if (!set || !q3::requirePointer(data)) return kQ3Failure;
  if (Q3AttributeSet_Contains(attributeSet, type) != kQ3True) {
    q3::postError(kQ3ErrorAttributeNotContained);
    return kQ3Failure;
  }
  const AttributeValues &v = set->stored();
  switch (type) {
  case kQ3AttributeTypeSurfaceUV:
  case kQ3AttributeTypeShadingUV: *static_cast<TQ3Param2D *>(data) = v.uv; break;
  case kQ3AttributeTypeNormal: *static_cast<TQ3Vector3D *>(data) = v.normal; break;
  case kQ3AttributeTypeAmbientCoefficient: *static_cast<float *>(data) = v.ambientCoefficient; break;
  case kQ3AttributeTypeDiffuseColor: *static_cast<TQ3ColorRGB *>(data) = v.diffuse; break;
  case kQ3AttributeTypeSpecularColor: *static_cast<TQ3ColorRGB *>(data) = v.specular; break;
  case kQ3AttributeTypeSpecularControl: *static_cast<float *>(data) = v.specularControl; break;
  case kQ3AttributeTypeTransparencyColor: *static_cast<TQ3ColorRGB *>(data) = v.transparency; break;
  case kQ3AttributeTypeHighlightState: *static_cast<TQ3Uns32 *>(data) = 1; break;
  case kQ3AttributeTypeSurfaceShader:
    set->surfaceShader()->retain();
    *static_cast<TQ3ShaderObject *>(data) = set->surfaceShader()->handle();
    break;
  }
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Clear(TQ3AttributeSet attributeSet, TQ3AttributeType type) {
  q3::AttributeSet *set = validSet(attributeSet);
  if (!set) return kQ3Failure;
  if (type == kQ3AttributeTypeSurfaceShader)
    set->setSurfaceShader({});
  else
    set->stored().mask &= ~bitOf(type);
  set->edited();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Empty(TQ3AttributeSet attributeSet) {
  q3::AttributeSet *set = validSet(attributeSet);
  if (!set) return kQ3Failure;
  set->stored() = AttributeValues{};
  set->setSurfaceShader({});
  set->edited();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3TextureObject) Q3PixmapTexture_New(const TQ3StoragePixmap *pixmap) {
  if (!q3::requireInitialized() || !q3::requirePointer(pixmap)) return nullptr;
  const q3::Storage *storage = q3::validate<q3::Storage>(pixmap->image);
  if (!storage) return nullptr;
  const uint32_t bpp = q3::bytesPerPixel(pixmap->pixelType);
  if (bpp == 0 || pixmap->pixelSize != bpp * 8) {
    q3::postError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  q3::PixelLayout layout{pixmap->width, pixmap->height, pixmap->rowBytes, uint32_t(pixmap->pixelType),
                         uint32_t(pixmap->byteOrder)};
  auto image = q3::decodePixels(storage->data(), storage->size(), layout);
  if (!image) return nullptr;
  return q3::handleOf(q3::create<q3::Texture>(q3::type::PixmapTexture, std::move(image)));
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Texture_GetType(TQ3TextureObject texture) {
  const q3::Texture *t = q3::validate<q3::Texture>(texture);
  return t ? t->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3Texture_GetWidth(TQ3TextureObject texture, TQ3Uns32 *width) {
  const q3::Texture *t = q3::validate<q3::Texture>(texture);
  if (!t || !q3::requirePointer(width)) return kQ3Failure;
  *width = t->image()->width;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Texture_GetHeight(TQ3TextureObject texture, TQ3Uns32 *height) {
  const q3::Texture *t = q3::validate<q3::Texture>(texture);
  if (!t || !q3::requirePointer(height)) return kQ3Failure;
  *height = t->image()->height;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Texture_GetPixel(TQ3TextureObject texture, TQ3Uns32 x, TQ3Uns32 y, TQ3Uns32 *argb) {
  const q3::Texture *t = q3::validate<q3::Texture>(texture);
  if (!t || !q3::requirePointer(argb)) return kQ3Failure;
  const q3::TextureImage &image = *t->image();
  if (x >= image.width || y >= image.height) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  *argb = image.argb[size_t(y) * image.width + x];
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3ShaderObject) Q3TextureShader_New(TQ3TextureObject texture) {
  q3::Ref<q3::Texture> ref;
  if (texture) {
    q3::Texture *t = q3::validate<q3::Texture>(texture);
    if (!t) return nullptr;
    ref = q3::Ref<q3::Texture>::share(t);
  }
  return q3::handleOf(q3::create<q3::TextureShader>(std::move(ref)));
}

Q3_EXTERN_API_C(TQ3Status) Q3TextureShader_GetTexture(TQ3ShaderObject shader, TQ3TextureObject *texture) {
  const q3::TextureShader *s = q3::validate<q3::TextureShader>(shader);
  if (!s || !q3::requirePointer(texture)) return kQ3Failure;
  if (s->texture()) s->texture()->retain();
  *texture = q3::handleOf(s->texture());
  return kQ3Success;
}

namespace {
TQ3Status setBoundary(TQ3ShaderObject shader, bool u, TQ3ShaderUVBoundary mode) {
  q3::TextureShader *s = q3::validate<q3::TextureShader>(shader);
  if (!s) return kQ3Failure;
  if (mode != kQ3ShaderUVBoundaryWrap && mode != kQ3ShaderUVBoundaryClamp) {
    q3::postError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  s->setBoundary(u, mode);
  return kQ3Success;
}
TQ3Status getBoundary(TQ3ShaderObject shader, bool u, TQ3ShaderUVBoundary *mode) {
  const q3::TextureShader *s = q3::validate<q3::TextureShader>(shader);
  if (!s || !q3::requirePointer(mode)) return kQ3Failure;
  *mode = s->boundary(u);
  return kQ3Success;
}
} // namespace

Q3_EXTERN_API_C(TQ3Status) Q3Shader_SetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary uBoundary) {
  return setBoundary(shader, true, uBoundary);
}
Q3_EXTERN_API_C(TQ3Status) Q3Shader_SetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary vBoundary) {
  return setBoundary(shader, false, vBoundary);
}
Q3_EXTERN_API_C(TQ3Status) Q3Shader_GetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary *uBoundary) {
  return getBoundary(shader, true, uBoundary);
}
Q3_EXTERN_API_C(TQ3Status) Q3Shader_GetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary *vBoundary) {
  return getBoundary(shader, false, vBoundary);
}
