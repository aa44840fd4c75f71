/* Q3Base.h: basic types and the export macro of the 3D library (q3).
   Every q3 call is a C function with the C calling convention. */
#ifndef Q3_BASE_H
#define Q3_BASE_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(Q3_BUILDING_LIBRARY)
#define Q3_EXTERN_API_C(type) __declspec(dllexport) type __cdecl
#else
#define Q3_EXTERN_API_C(type) __declspec(dllimport) type __cdecl
#endif
#else
#define Q3_EXTERN_API_C(type) __attribute__((visibility("default"))) type
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t TQ3Int32;
typedef uint32_t TQ3Uns32;
typedef int16_t TQ3Int16;
typedef uint16_t TQ3Uns16;
typedef uint8_t TQ3Uns8;
typedef float TQ3Float32;
typedef double TQ3Float64;

typedef enum TQ3Status { kQ3Failure = 0, kQ3Success = 1 } TQ3Status;
typedef enum TQ3Boolean { kQ3False = 0, kQ3True = 1 } TQ3Boolean;

/* Value records. Points are row vectors (p x M), translation in the fourth
   row of a 4x4 matrix; quaternions are {w, x, y, z}. The plugin hands its own
   blocks of floats to q3 as these records, so their layouts are fixed. */
typedef struct TQ3Param2D {
  float u, v;
} TQ3Param2D;
typedef struct TQ3Point2D {
  float x, y;
} TQ3Point2D;
typedef struct TQ3Point3D {
  float x, y, z;
} TQ3Point3D;
typedef struct TQ3RationalPoint3D {
  float x, y, w;
} TQ3RationalPoint3D;
typedef struct TQ3RationalPoint4D {
  float x, y, z, w;
} TQ3RationalPoint4D;
typedef struct TQ3Vector2D {
  float x, y;
} TQ3Vector2D;
typedef struct TQ3Vector3D {
  float x, y, z;
} TQ3Vector3D;
typedef struct TQ3Quaternion {
  float w, x, y, z;
} TQ3Quaternion;
typedef struct TQ3Matrix3x3 {
  float value[3][3];
} TQ3Matrix3x3;
typedef struct TQ3Matrix4x4 {
  float value[4][4];
} TQ3Matrix4x4;
typedef struct TQ3BoundingBox {
  TQ3Point3D min;
  TQ3Point3D max;
  TQ3Boolean isEmpty;
} TQ3BoundingBox;
typedef struct TQ3BoundingSphere {
  TQ3Point3D origin;
  float radius;
  TQ3Boolean isEmpty;
} TQ3BoundingSphere;
typedef struct TQ3ColorRGB {
  float r, g, b;
} TQ3ColorRGB;
typedef struct TQ3ColorARGB {
  float a, r, g, b;
} TQ3ColorARGB;
typedef struct TQ3Area {
  TQ3Point2D min, max;
} TQ3Area;

/* Pixel layouts of textures and draw contexts. */
typedef enum TQ3PixelType {
  kQ3PixelTypeRGB32 = 0,
  kQ3PixelTypeARGB32 = 1,
  kQ3PixelTypeRGB16 = 2,
  kQ3PixelTypeARGB16 = 3,
  kQ3PixelTypeRGB16_565 = 4,
  kQ3PixelTypeRGB24 = 5
} TQ3PixelType;

typedef enum TQ3Endian { kQ3EndianBig = 0, kQ3EndianLittle = 1 } TQ3Endian;

/* The library's version, major and minor. */
Q3_EXTERN_API_C(TQ3Status) Q3GetVersion(TQ3Uns32 *majorRevision, TQ3Uns32 *minorRevision);

#ifdef __cplusplus
}
#endif
#ifdef __cplusplus
static_assert(sizeof(TQ3Point3D) == 12 && sizeof(TQ3Vector3D) == 12, "point and vector records are three floats");
static_assert(sizeof(TQ3Quaternion) == 16, "quaternion record is four floats");
static_assert(sizeof(TQ3Matrix4x4) == 64, "4x4 matrix record is sixteen floats");
static_assert(sizeof(TQ3BoundingBox) == 28 && sizeof(TQ3BoundingSphere) == 20, "bounding records");
static_assert(sizeof(TQ3Status) == 4 && sizeof(TQ3Boolean) == 4, "enums are 32-bit");
#endif
#endif
