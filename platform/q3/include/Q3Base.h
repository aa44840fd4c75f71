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

/* The library's version, major and minor. */
Q3_EXTERN_API_C(TQ3Status) Q3GetVersion(TQ3Uns32 *majorRevision, TQ3Uns32 *minorRevision);

#ifdef __cplusplus
}
#endif
#endif
