/* Q3Render.h: renderers and draw contexts of the 3D library (q3).

   Renderers: kQ3RendererTypeInteractive ('ctwn') fills, z-buffers, lights,
   textures, fogs and culls; kQ3RendererTypeWireFrame ('wrfr') draws the
   edges of triangles (and lines and points) unlit. Both rasterise in
   software, deterministically: pixel centres at +0.5, the top-left fill
   rule, no threads, so both targets give the same pixels.

   Draw contexts receive each finished frame at the end of a rendering loop.
   q3's choices where the interface is silent:
   - Drawing area: a pixmap context draws into the whole pixmap, or into its
     pane (clipped to the pixmap) when paneState is true. A Win32 DC context
     draws into its pane, in window coordinates, whenever the pane is not
     empty, whatever paneState says; with an empty pane it takes the client
     area of the DC's window. Pane edges are rounded to whole pixels; max is
     exclusive.
   - kQ3ClearMethodWithColor starts each frame from the clear colour;
     kQ3ClearMethodNone starts from the pixmap's pixels (pixmap) or from the
     previous frame (Win32 DC, black at first). Masks are stored, not used.
   - Pixel values: channels round to nearest; ARGB32 writes the frame's
     alpha (255 where drawn, the clear colour's alpha elsewhere); RGB32
     writes 0 in the unused byte; ARGB16's alpha bit is set from alpha 128.
     Byte orders as in the library's pixel-type notes: RGB24 little-endian is
     blue, green, red; 32-bit big-endian is A/x, R, G, B; 16-bit little-endian
     has its low byte first. bitOrder is ignored.
   - A pixmap is refused (kQ3ErrorInvalidParameter) when its image is NULL,
     its pixel size does not match its type, a side is 0 or above 16384, or
     rowBytes is smaller than a row's pixels; so a frame is never written
     outside the caller's buffer.
   - The Win32 DC context renders into its own buffer and copies the frame
     into the device context at the pane with SetDIBitsToDevice (32-bit
     top-down DIB) at the end of each frame. */
#ifndef Q3_RENDER_H
#define Q3_RENDER_H

#include "Q3Core.h"

/* The device-context handle, named by its tag so that this header does not
   pull <windows.h> (and its macros) into every user of q3; it is the same
   type as HDC: STRICT handles on Windows, the Win32 layer's on Linux. */
#if defined(_WIN32)
struct HDC__;
typedef struct HDC__ *TQ3Win32HDC;
#else
struct W32_HDC__;
typedef struct W32_HDC__ *TQ3Win32HDC;
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Renderers ---- */
Q3_EXTERN_API_C(TQ3RendererObject) Q3Renderer_NewFromType(TQ3ObjectType rendererObjectType);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Renderer_GetType(TQ3RendererObject renderer);

/* ---- Pixels (TQ3PixelType and TQ3Endian are in Q3Base.h) ---- */
typedef struct TQ3Bitmap {
  TQ3Uns8 *image;
  TQ3Uns32 width;
  TQ3Uns32 height;
  TQ3Uns32 rowBytes;
  TQ3Endian bitOrder;
} TQ3Bitmap;

typedef struct TQ3Pixmap {
  void *image;
  TQ3Uns32 width;
  TQ3Uns32 height;
  TQ3Uns32 rowBytes;
  TQ3Uns32 pixelSize;
  TQ3PixelType pixelType;
  TQ3Endian bitOrder;
  TQ3Endian byteOrder;
} TQ3Pixmap;

/* ---- Draw contexts ---- */
typedef enum TQ3DrawContextClearImageMethod {
  kQ3ClearMethodNone = 0,
  kQ3ClearMethodWithColor = 1
} TQ3DrawContextClearImageMethod;

typedef struct TQ3DrawContextData {
  TQ3DrawContextClearImageMethod clearImageMethod;
  TQ3ColorARGB clearImageColor;
  TQ3Area pane;
  TQ3Boolean paneState;
  TQ3Bitmap mask;
  TQ3Boolean maskState;
  TQ3Boolean doubleBufferState;
} TQ3DrawContextData;

typedef struct TQ3PixmapDrawContextData {
  TQ3DrawContextData drawContextData;
  TQ3Pixmap pixmap;
} TQ3PixmapDrawContextData;

typedef struct TQ3Win32DCDrawContextData {
  TQ3DrawContextData drawContextData;
  TQ3Win32HDC hdc;
} TQ3Win32DCDrawContextData;

Q3_EXTERN_API_C(TQ3ObjectType) Q3DrawContext_GetType(TQ3DrawContextObject drawContext);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetData(TQ3DrawContextObject context, const TQ3DrawContextData *contextData);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetData(TQ3DrawContextObject context, TQ3DrawContextData *contextData);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetClearImageColor(TQ3DrawContextObject context, const TQ3ColorARGB *color);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetClearImageColor(TQ3DrawContextObject context, TQ3ColorARGB *color);
Q3_EXTERN_API_C(TQ3Status)
Q3DrawContext_SetClearImageMethod(TQ3DrawContextObject context, TQ3DrawContextClearImageMethod method);
Q3_EXTERN_API_C(TQ3Status)
Q3DrawContext_GetClearImageMethod(TQ3DrawContextObject context, TQ3DrawContextClearImageMethod *method);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetPane(TQ3DrawContextObject context, const TQ3Area *pane);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetPane(TQ3DrawContextObject context, TQ3Area *pane);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetPaneState(TQ3DrawContextObject context, TQ3Boolean state);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetPaneState(TQ3DrawContextObject context, TQ3Boolean *state);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetDoubleBufferState(TQ3DrawContextObject context, TQ3Boolean state);
Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetDoubleBufferState(TQ3DrawContextObject context, TQ3Boolean *state);

Q3_EXTERN_API_C(TQ3DrawContextObject) Q3PixmapDrawContext_New(const TQ3PixmapDrawContextData *contextData);
Q3_EXTERN_API_C(TQ3Status) Q3PixmapDrawContext_SetPixmap(TQ3DrawContextObject drawContext, const TQ3Pixmap *pixmap);
Q3_EXTERN_API_C(TQ3Status) Q3PixmapDrawContext_GetPixmap(TQ3DrawContextObject drawContext, TQ3Pixmap *pixmap);

Q3_EXTERN_API_C(TQ3DrawContextObject) Q3Win32DCDrawContext_New(const TQ3Win32DCDrawContextData *drawContextData);
Q3_EXTERN_API_C(TQ3Status) Q3Win32DCDrawContext_SetDC(TQ3DrawContextObject drawContext, TQ3Win32HDC newHDC);
Q3_EXTERN_API_C(TQ3Status) Q3Win32DCDrawContext_GetDC(TQ3DrawContextObject drawContext, TQ3Win32HDC *curHDC);

#ifdef __cplusplus
}
static_assert(sizeof(TQ3Bitmap) == 20, "bitmap record: five words");
static_assert(sizeof(TQ3DrawContextData) == 68, "draw context record");
static_assert(sizeof(TQ3Win32DCDrawContextData) == 72, "Win32 DC draw context record");
static_assert(sizeof(TQ3PixmapDrawContextData) == 100, "pixmap draw context record");
#endif
#endif
