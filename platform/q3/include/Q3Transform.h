/* Q3Transform.h: transform objects and style objects.

   A transform submitted in a view multiplies its matrix (row vectors, p x M)
   into the current transform; a reset transform returns it to the identity.
   A style object sets its style for later geometry. Both usually sit in a
   display group, acting on the members after them. */
#ifndef Q3_TRANSFORM_H
#define Q3_TRANSFORM_H

#include "Q3Core.h"
#include "Q3Style.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum TQ3Axis { kQ3AxisX = 0, kQ3AxisY = 1, kQ3AxisZ = 2 } TQ3Axis;

typedef struct TQ3RotateTransformData {
  TQ3Axis axis;
  float radians;
} TQ3RotateTransformData;

typedef struct TQ3RotateAboutPointTransformData {
  TQ3Axis axis;
  float radians;
  TQ3Point3D about;
} TQ3RotateAboutPointTransformData;

/* orientation is taken as unit length; positive radians turn
   counter-clockwise looking down the axis. */
typedef struct TQ3RotateAboutAxisTransformData {
  TQ3Point3D origin;
  TQ3Vector3D orientation;
  float radians;
} TQ3RotateAboutAxisTransformData;

Q3_EXTERN_API_C(TQ3TransformObject) Q3TranslateTransform_New(const TQ3Vector3D *translate);
Q3_EXTERN_API_C(TQ3TransformObject) Q3ScaleTransform_New(const TQ3Vector3D *scale);
Q3_EXTERN_API_C(TQ3TransformObject) Q3RotateTransform_New(const TQ3RotateTransformData *data);
Q3_EXTERN_API_C(TQ3TransformObject) Q3RotateAboutPointTransform_New(const TQ3RotateAboutPointTransformData *data);
Q3_EXTERN_API_C(TQ3TransformObject) Q3RotateAboutAxisTransform_New(const TQ3RotateAboutAxisTransformData *data);
Q3_EXTERN_API_C(TQ3TransformObject) Q3QuaternionTransform_New(const TQ3Quaternion *quaternion);
Q3_EXTERN_API_C(TQ3TransformObject) Q3MatrixTransform_New(const TQ3Matrix4x4 *matrix);
Q3_EXTERN_API_C(TQ3TransformObject) Q3ResetTransform_New(void);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Transform_GetType(TQ3TransformObject transform);
/* The transform's matrix (the identity for a reset transform). */
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Transform_GetMatrix(TQ3TransformObject transform, TQ3Matrix4x4 *matrix);

Q3_EXTERN_API_C(TQ3StyleObject) Q3BackfacingStyle_New(TQ3BackfacingStyle backfacingStyle);
Q3_EXTERN_API_C(TQ3StyleObject) Q3InterpolationStyle_New(TQ3InterpolationStyle interpolationStyle);
Q3_EXTERN_API_C(TQ3StyleObject) Q3FillStyle_New(TQ3FillStyle fillStyle);
Q3_EXTERN_API_C(TQ3StyleObject) Q3OrientationStyle_New(TQ3OrientationStyle frontFacingDirection);
Q3_EXTERN_API_C(TQ3StyleObject) Q3PickIDStyle_New(TQ3Uns32 id);
Q3_EXTERN_API_C(TQ3StyleObject) Q3FogStyle_New(const TQ3FogStyleData *data);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Style_GetType(TQ3StyleObject style);
Q3_EXTERN_API_C(TQ3Status) Q3BackfacingStyle_Get(TQ3StyleObject style, TQ3BackfacingStyle *backfacingStyle);
Q3_EXTERN_API_C(TQ3Status) Q3InterpolationStyle_Get(TQ3StyleObject style, TQ3InterpolationStyle *interpolationStyle);
Q3_EXTERN_API_C(TQ3Status) Q3FillStyle_Get(TQ3StyleObject style, TQ3FillStyle *fillStyle);
Q3_EXTERN_API_C(TQ3Status) Q3OrientationStyle_Get(TQ3StyleObject style, TQ3OrientationStyle *frontFacingDirection);
Q3_EXTERN_API_C(TQ3Status) Q3PickIDStyle_Get(TQ3StyleObject style, TQ3Uns32 *id);
Q3_EXTERN_API_C(TQ3Status) Q3FogStyle_GetData(TQ3StyleObject style, TQ3FogStyleData *data);

#ifdef __cplusplus
}
#endif
#endif
