/* Q3Style.h: the values of the style objects and style submits, shared by
   the 3DMF reader (style objects read from files) and the views that apply
   them. Values are those of the QuickDraw 3D interface. */
#ifndef Q3_STYLE_H
#define Q3_STYLE_H

#include "Q3Core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum TQ3BackfacingStyle {
  kQ3BackfacingStyleBoth = 0,
  kQ3BackfacingStyleRemove = 1,
  kQ3BackfacingStyleFlip = 2
} TQ3BackfacingStyle;

typedef enum TQ3InterpolationStyle {
  kQ3InterpolationStyleNone = 0,
  kQ3InterpolationStyleVertex = 1,
  kQ3InterpolationStylePixel = 2
} TQ3InterpolationStyle;

typedef enum TQ3FillStyle { kQ3FillStyleFilled = 0, kQ3FillStyleEdges = 1, kQ3FillStylePoints = 2 } TQ3FillStyle;

typedef enum TQ3OrientationStyle {
  kQ3OrientationStyleCounterClockwise = 0,
  kQ3OrientationStyleClockwise = 1
} TQ3OrientationStyle;

typedef enum TQ3Switch { kQ3Off = 0, kQ3On = 1 } TQ3Switch;

typedef enum TQ3FogMode {
  kQ3FogModeLinear = 0,
  kQ3FogModeExponential = 1,
  kQ3FogModeExponentialSquared = 2,
  kQ3FogModeAlpha = 3
} TQ3FogMode;

typedef struct TQ3FogStyleData {
  TQ3Switch state;
  TQ3FogMode mode;
  float fogStart;
  float fogEnd;
  float density;
  TQ3ColorARGB color;
} TQ3FogStyleData;

#ifdef __cplusplus
}
static_assert(sizeof(TQ3FogStyleData) == 36, "fog style record: state, mode, start, end, density, ARGB colour");
#endif
#endif
