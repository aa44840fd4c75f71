/* Q3Set.h: attribute sets, textures and texture shaders.

   An attribute set holds at most one value per attribute type; adding a type
   again replaces its value. The surface shader attribute holds a reference
   to a texture shader. Sets are what geometries, their faces and vertices
   carry, and what a display group applies to its later members.

   Textures hold pixels decoded once from a storage: pixel types RGB32 0,
   ARGB32 1, RGB16 2 (5-5-5, top bit ignored), ARGB16 3 (1-bit alpha),
   RGB16_565 4, RGB24 5, each in either byte order; row 0 is the top row.
   A texture shader applies a texture with a wrap or clamp mode per axis. */
#ifndef Q3_SET_H
#define Q3_SET_H

#include "Q3Core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef TQ3Int32 TQ3AttributeType;
#define kQ3AttributeTypeNone 0
#define kQ3AttributeTypeSurfaceUV 1          /* TQ3Param2D */
#define kQ3AttributeTypeShadingUV 2          /* TQ3Param2D */
#define kQ3AttributeTypeNormal 3             /* TQ3Vector3D */
#define kQ3AttributeTypeAmbientCoefficient 4 /* float */
#define kQ3AttributeTypeDiffuseColor 5       /* TQ3ColorRGB */
#define kQ3AttributeTypeSpecularColor 6      /* TQ3ColorRGB */
#define kQ3AttributeTypeSpecularControl 7    /* float */
#define kQ3AttributeTypeTransparencyColor 8  /* TQ3ColorRGB, 1 1 1 = opaque */
#define kQ3AttributeTypeSurfaceTangent 9     /* not kept */
#define kQ3AttributeTypeHighlightState 10    /* TQ3Switch */
#define kQ3AttributeTypeSurfaceShader 11     /* TQ3ShaderObject */

/* TQ3PixelType and TQ3Endian are in Q3Base.h: textures and draw contexts share them. */

typedef enum TQ3ShaderUVBoundary { kQ3ShaderUVBoundaryWrap = 0, kQ3ShaderUVBoundaryClamp = 1 } TQ3ShaderUVBoundary;

typedef struct TQ3StoragePixmap {
  TQ3StorageObject image;
  TQ3Uns32 width;
  TQ3Uns32 height;
  TQ3Uns32 rowBytes;
  TQ3Uns32 pixelSize; /* bits per pixel */
  TQ3PixelType pixelType;
  TQ3Endian bitOrder;
  TQ3Endian byteOrder;
} TQ3StoragePixmap;

Q3_EXTERN_API_C(TQ3AttributeSet) Q3AttributeSet_New(void);
/* data points at the value record of the type (see above). Unknown types
   fail with kQ3ErrorAttributeInvalidType. */
Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Add(TQ3AttributeSet attributeSet, TQ3AttributeType type, const void *data);
/* Copies the value out; a surface shader comes with a reference for the caller.
   Fails with kQ3ErrorAttributeNotContained when the set lacks the type. */
Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Get(TQ3AttributeSet attributeSet, TQ3AttributeType type, void *data);
Q3_EXTERN_API_C(TQ3Boolean) Q3AttributeSet_Contains(TQ3AttributeSet attributeSet, TQ3AttributeType type);
Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Clear(TQ3AttributeSet attributeSet, TQ3AttributeType type);
Q3_EXTERN_API_C(TQ3Status) Q3AttributeSet_Empty(TQ3AttributeSet attributeSet);

/* Decodes the pixmap now; the storage is not kept. Dimensions up to 4096. */
Q3_EXTERN_API_C(TQ3TextureObject) Q3PixmapTexture_New(const TQ3StoragePixmap *pixmap);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Texture_GetType(TQ3TextureObject texture);
Q3_EXTERN_API_C(TQ3Status) Q3Texture_GetWidth(TQ3TextureObject texture, TQ3Uns32 *width);
Q3_EXTERN_API_C(TQ3Status) Q3Texture_GetHeight(TQ3TextureObject texture, TQ3Uns32 *height);

/* Takes a reference to texture (which may be NULL: no texture). */
Q3_EXTERN_API_C(TQ3ShaderObject) Q3TextureShader_New(TQ3TextureObject texture);
/* Hands out a reference (NULL when the shader has none). */
Q3_EXTERN_API_C(TQ3Status) Q3TextureShader_GetTexture(TQ3ShaderObject shader, TQ3TextureObject *texture);
Q3_EXTERN_API_C(TQ3Status) Q3Shader_SetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary uBoundary);
Q3_EXTERN_API_C(TQ3Status) Q3Shader_SetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary vBoundary);
Q3_EXTERN_API_C(TQ3Status) Q3Shader_GetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary *uBoundary);
Q3_EXTERN_API_C(TQ3Status) Q3Shader_GetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary *vBoundary);

#ifdef __cplusplus
}
#endif
#endif
