/* Q3Math.h: point, vector, quaternion, matrix and bounding-volume arithmetic.

   The contract every call here keeps:

   Results. Each call writes its result through the last pointer argument and
   returns that pointer (or a scalar). The result may be the same record as
   any operand: every call reads all of its operands before it writes.

   Null pointers. A call given a null pointer posts kQ3ErrorNULLParameter and
   returns NULL (0 for scalar results, kQ3False, kQ3Failure), writing nothing.

   Precision. The records are single precision. Every call reads them, computes
   in double precision and rounds each stored component to single precision
   once. For a sum, difference or product of two components that gives exactly
   the single-precision result; for lengths, normalisation (whose squared
   length can neither underflow nor overflow across the float range), dot and
   cross products, transforms, matrix products, determinants, inversion and
   quaternion products it removes the intermediate rounding.

   Points are row vectors multiplied on the left: p' = p x M. A 4x4 matrix
   holds its translation in the fourth row (value[3][0..2]); a 3x3 matrix used
   on 2D points in its third row. Q3Point3D_Transform (and the 2D point
   transforms) divide by the resulting w when it is neither 0 nor 1; a w of 0
   leaves the coordinates undivided. Vector transforms ignore translation and
   the projective column. Q3Matrix4x4_Multiply(a, b) is a x b: apply a, then b.

   Angles are in radians. A positive angle turns counter-clockwise seen from
   the tip of the axis looking towards the origin: about z, x turns towards y;
   about x, y towards z; about y, z towards x. SetRotate_XYZ turns about x
   first, then y, then z.

   Quaternions are {w, x, y, z}; q rotates v as q v q^-1, with the true
   inverse, so any non-zero quaternion rotates without scaling.
   Q3Quaternion_Multiply(a, b) is "a, then b": the Hamilton product b a.
   Q3Quaternion_Invert gives the true inverse (conjugate over squared length).
   SetRotateAboutAxis takes its axis as unit length as given (it does not
   normalise it). InterpolateLinear is spherical (constant angular speed along
   the arc from q1 to q2 as given); InterpolateFast is the normalised linear
   blend. Both give q1 exactly at t = 0 and q2 exactly at t = 1. MatchReflection
   gives -q1 when q1 . q2 < 0 and q1 otherwise.

   Zero. Normalising, inverting or rotating a zero vector or quaternion gives
   zero, never NaN. A zero quaternion rotates nothing: its matrix is the
   identity and it leaves vectors unchanged.

   Matrices. Q3Matrix3x3_Invert and Q3Matrix4x4_Invert of a singular matrix (or
   one with a non-finite element, or whose inverse does not fit in single
   precision) post kQ3ErrorNonInvertibleMatrix, leave the result unchanged and
   return NULL.

   Bounding volumes. An empty box or sphere has isEmpty = kQ3True and zeroed
   fields (Reset). Unions ignore empty operands. Spheres built from points are
   the minimal enclosing sphere, rounded outwards so that every point lies in
   the single-precision sphere. Points with a non-finite coordinate are left
   out of bounds built from arrays. Array calls take the byte stride of their
   elements; a stride smaller than the element posts
   kQ3ErrorParameterOutOfRange. */
#ifndef Q3_MATH_H
#define Q3_MATH_H

#include "Q3Base.h"

#define kQ3Pi 3.14159265358979323846
#define kQ32Pi (2.0 * kQ3Pi)
#define kQ3PiOver2 (kQ3Pi / 2.0)
#define kQ33PiOver2 (3.0 * kQ3Pi / 2.0)
#define kQ3RealZero ((float)1.19209290e-07)
#define kQ3MaxFloat ((float)3.40282347e+38)

/* Degrees to radians and back, in single precision. */
#define Q3Math_DegreesToRadians(x) ((float)((x) * (kQ3Pi / 180.0)))
#define Q3Math_RadiansToDegrees(x) ((float)((x) * (180.0 / kQ3Pi)))

#ifdef __cplusplus
extern "C" {
#endif

/* Setting points and vectors. */
Q3_EXTERN_API_C(TQ3Point2D *) Q3Point2D_Set(TQ3Point2D *point2D, float x, float y);
Q3_EXTERN_API_C(TQ3Param2D *) Q3Param2D_Set(TQ3Param2D *param2D, float u, float v);
Q3_EXTERN_API_C(TQ3Point3D *) Q3Point3D_Set(TQ3Point3D *point3D, float x, float y, float z);
Q3_EXTERN_API_C(TQ3RationalPoint3D *) Q3RationalPoint3D_Set(TQ3RationalPoint3D *point3D, float x, float y, float w);
Q3_EXTERN_API_C(TQ3RationalPoint4D *)
Q3RationalPoint4D_Set(TQ3RationalPoint4D *point4D, float x, float y, float z, float w);
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Set(TQ3Vector2D *vector2D, float x, float y);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Set(TQ3Vector3D *vector3D, float x, float y, float z);

/* Changing dimension: a point gains w (or z) = 1; a rational point is divided
   by its weight unless that is 0 or 1. */
Q3_EXTERN_API_C(TQ3Point3D *) Q3Point2D_To3D(const TQ3Point2D *point2D, TQ3Point3D *result);
Q3_EXTERN_API_C(TQ3Point2D *) Q3RationalPoint3D_To2D(const TQ3RationalPoint3D *point3D, TQ3Point2D *result);
Q3_EXTERN_API_C(TQ3RationalPoint4D *) Q3Point3D_To4D(const TQ3Point3D *point3D, TQ3RationalPoint4D *result);
Q3_EXTERN_API_C(TQ3Point3D *) Q3RationalPoint4D_To3D(const TQ3RationalPoint4D *point4D, TQ3Point3D *result);

/* Point minus point: the vector p1 - p2. */
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Point2D_Subtract(const TQ3Point2D *p1, const TQ3Point2D *p2, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Param2D_Subtract(const TQ3Param2D *p1, const TQ3Param2D *p2, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Point3D_Subtract(const TQ3Point3D *p1, const TQ3Point3D *p2, TQ3Vector3D *result);

/* Distances between points. */
Q3_EXTERN_API_C(float) Q3Point2D_Distance(const TQ3Point2D *p1, const TQ3Point2D *p2);
Q3_EXTERN_API_C(float) Q3Point2D_DistanceSquared(const TQ3Point2D *p1, const TQ3Point2D *p2);
Q3_EXTERN_API_C(float) Q3Param2D_Distance(const TQ3Param2D *p1, const TQ3Param2D *p2);
Q3_EXTERN_API_C(float) Q3Param2D_DistanceSquared(const TQ3Param2D *p1, const TQ3Param2D *p2);
Q3_EXTERN_API_C(float) Q3Point3D_Distance(const TQ3Point3D *p1, const TQ3Point3D *p2);
Q3_EXTERN_API_C(float) Q3Point3D_DistanceSquared(const TQ3Point3D *p1, const TQ3Point3D *p2);

/* The point between p1 and p2 at the fraction r1 / (r1 + r2) of the way from
   p1. r1 + r2 = 0 posts kQ3ErrorParameterOutOfRange and returns NULL. */
Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_RRatio(const TQ3Point2D *p1, const TQ3Point2D *p2, float r1, float r2, TQ3Point2D *result);
Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_RRatio(const TQ3Param2D *p1, const TQ3Param2D *p2, float r1, float r2, TQ3Param2D *result);
Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_RRatio(const TQ3Point3D *p1, const TQ3Point3D *p2, float r1, float r2, TQ3Point3D *result);
Q3_EXTERN_API_C(TQ3RationalPoint4D *)
Q3RationalPoint4D_RRatio(const TQ3RationalPoint4D *p1, const TQ3RationalPoint4D *p2, float r1, float r2,
                         TQ3RationalPoint4D *result);

/* Point plus or minus vector. */
Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_Vector2D_Add(const TQ3Point2D *point2D, const TQ3Vector2D *vector2D, TQ3Point2D *result);
Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_Vector2D_Add(const TQ3Param2D *param2D, const TQ3Vector2D *vector2D, TQ3Param2D *result);
Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_Vector3D_Add(const TQ3Point3D *point3D, const TQ3Vector3D *vector3D, TQ3Point3D *result);
Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_Vector2D_Subtract(const TQ3Point2D *point2D, const TQ3Vector2D *vector2D, TQ3Point2D *result);
Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_Vector2D_Subtract(const TQ3Param2D *param2D, const TQ3Vector2D *vector2D, TQ3Param2D *result);
Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_Vector3D_Subtract(const TQ3Point3D *point3D, const TQ3Vector3D *vector3D, TQ3Point3D *result);

/* Affine combination: the sum of weights[i] x points[i] (the weights are
   expected to sum to 1). No points give the origin. */
Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_AffineComb(const TQ3Point2D *points2D, const float *weights, TQ3Uns32 numPoints, TQ3Point2D *result);
Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_AffineComb(const TQ3Param2D *params2D, const float *weights, TQ3Uns32 numPoints, TQ3Param2D *result);
Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_AffineComb(const TQ3Point3D *points3D, const float *weights, TQ3Uns32 numPoints, TQ3Point3D *result);

/* Vectors. Normalize leaves a zero vector zero. */
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Scale(const TQ3Vector2D *vector2D, float scalar, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Scale(const TQ3Vector3D *vector3D, float scalar, TQ3Vector3D *result);
Q3_EXTERN_API_C(float) Q3Vector2D_Length(const TQ3Vector2D *vector2D);
Q3_EXTERN_API_C(float) Q3Vector3D_Length(const TQ3Vector3D *vector3D);
Q3_EXTERN_API_C(float) Q3Vector2D_LengthSquared(const TQ3Vector2D *vector2D);
Q3_EXTERN_API_C(float) Q3Vector3D_LengthSquared(const TQ3Vector3D *vector3D);
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Normalize(const TQ3Vector2D *vector2D, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Normalize(const TQ3Vector3D *vector3D, TQ3Vector3D *result);
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Add(const TQ3Vector2D *v1, const TQ3Vector2D *v2, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Add(const TQ3Vector3D *v1, const TQ3Vector3D *v2, TQ3Vector3D *result);
Q3_EXTERN_API_C(TQ3Vector2D *)
Q3Vector2D_Subtract(const TQ3Vector2D *v1, const TQ3Vector2D *v2, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Vector3D_Subtract(const TQ3Vector3D *v1, const TQ3Vector3D *v2, TQ3Vector3D *result);
Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Negate(const TQ3Vector2D *vector2D, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Negate(const TQ3Vector3D *vector3D, TQ3Vector3D *result);
Q3_EXTERN_API_C(float) Q3Vector2D_Dot(const TQ3Vector2D *v1, const TQ3Vector2D *v2);
Q3_EXTERN_API_C(float) Q3Vector3D_Dot(const TQ3Vector3D *v1, const TQ3Vector3D *v2);
/* The z of the 3D cross product of (v1, 0) and (v2, 0). */
Q3_EXTERN_API_C(float) Q3Vector2D_Cross(const TQ3Vector2D *v1, const TQ3Vector2D *v2);
Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Cross(const TQ3Vector3D *v1, const TQ3Vector3D *v2, TQ3Vector3D *result);
/* (point2 - point1) x (point3 - point1): the normal of the triangle, pointing
   to the side from which its points run counter-clockwise. */
Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Point3D_CrossProductTri(const TQ3Point3D *point1, const TQ3Point3D *point2, const TQ3Point3D *point3,
                          TQ3Vector3D *crossVector);

/* Transforms by matrices (see the conventions above). */
Q3_EXTERN_API_C(TQ3Vector2D *)
Q3Vector2D_Transform(const TQ3Vector2D *vector2D, const TQ3Matrix3x3 *matrix3x3, TQ3Vector2D *result);
Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Vector3D_Transform(const TQ3Vector3D *vector3D, const TQ3Matrix4x4 *matrix4x4, TQ3Vector3D *result);
Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_Transform(const TQ3Point2D *point2D, const TQ3Matrix3x3 *matrix3x3, TQ3Point2D *result);
Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_Transform(const TQ3Param2D *param2D, const TQ3Matrix3x3 *matrix3x3, TQ3Param2D *result);
Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_Transform(const TQ3Point3D *point3D, const TQ3Matrix4x4 *matrix4x4, TQ3Point3D *result);
Q3_EXTERN_API_C(TQ3RationalPoint3D *)
Q3RationalPoint3D_Transform(const TQ3RationalPoint3D *point3D, const TQ3Matrix3x3 *matrix3x3,
                            TQ3RationalPoint3D *result);
Q3_EXTERN_API_C(TQ3RationalPoint4D *)
Q3RationalPoint4D_Transform(const TQ3RationalPoint4D *point4D, const TQ3Matrix4x4 *matrix4x4,
                            TQ3RationalPoint4D *result);
/* Arrays of numPoints elements, each a stride of inStructSize / outStructSize
   bytes apart. Input and output may be the same array or overlap. */
Q3_EXTERN_API_C(TQ3Status)
Q3Point3D_To3DTransformArray(const TQ3Point3D *inPoint3D, const TQ3Matrix4x4 *matrix, TQ3Point3D *outPoint3D,
                             TQ3Uns32 numPoints, TQ3Uns32 inStructSize, TQ3Uns32 outStructSize);
Q3_EXTERN_API_C(TQ3Status)
Q3Point3D_To4DTransformArray(const TQ3Point3D *inPoint3D, const TQ3Matrix4x4 *matrix, TQ3RationalPoint4D *outPoint4D,
                             TQ3Uns32 numPoints, TQ3Uns32 inStructSize, TQ3Uns32 outStructSize);
Q3_EXTERN_API_C(TQ3Status)
Q3RationalPoint4D_To4DTransformArray(const TQ3RationalPoint4D *inPoint4D, const TQ3Matrix4x4 *matrix,
                                     TQ3RationalPoint4D *outPoint4D, TQ3Uns32 numPoints, TQ3Uns32 inStructSize,
                                     TQ3Uns32 outStructSize);

/* Matrices. */
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Copy(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_Copy(const TQ3Matrix4x4 *matrix4x4, TQ3Matrix4x4 *result);
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_SetIdentity(TQ3Matrix3x3 *matrix3x3);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetIdentity(TQ3Matrix4x4 *matrix4x4);
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Transpose(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_Transpose(const TQ3Matrix4x4 *matrix4x4, TQ3Matrix4x4 *result);
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Invert(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_Invert(const TQ3Matrix4x4 *matrix4x4, TQ3Matrix4x4 *result);
/* The adjugate (transposed cofactor matrix): determinant x inverse. */
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Adjoint(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result);
Q3_EXTERN_API_C(TQ3Matrix3x3 *)
Q3Matrix3x3_Multiply(const TQ3Matrix3x3 *matrixA, const TQ3Matrix3x3 *matrixB, TQ3Matrix3x3 *result);
Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_Multiply(const TQ3Matrix4x4 *matrixA, const TQ3Matrix4x4 *matrixB, TQ3Matrix4x4 *result);
Q3_EXTERN_API_C(float) Q3Matrix3x3_Determinant(const TQ3Matrix3x3 *matrix3x3);
Q3_EXTERN_API_C(float) Q3Matrix4x4_Determinant(const TQ3Matrix4x4 *matrix4x4);

/* 2D transforms for points (x, y, 1) x M. */
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_SetTranslate(TQ3Matrix3x3 *matrix3x3, float xTrans, float yTrans);
Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_SetScale(TQ3Matrix3x3 *matrix3x3, float xScale, float yScale);
Q3_EXTERN_API_C(TQ3Matrix3x3 *)
Q3Matrix3x3_SetRotateAboutPoint(TQ3Matrix3x3 *matrix3x3, const TQ3Point2D *origin, float angle);

/* 3D transforms. */
Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetTranslate(TQ3Matrix4x4 *matrix4x4, float xTrans, float yTrans, float zTrans);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetScale(TQ3Matrix4x4 *matrix4x4, float xScale, float yScale, float zScale);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetRotate_X(TQ3Matrix4x4 *matrix4x4, float angle);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetRotate_Y(TQ3Matrix4x4 *matrix4x4, float angle);
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetRotate_Z(TQ3Matrix4x4 *matrix4x4, float angle);
Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotate_XYZ(TQ3Matrix4x4 *matrix4x4, float xAngle, float yAngle, float zAngle);
/* Turns about x, y and z (in that order) around the point origin. */
Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotateAboutPoint(TQ3Matrix4x4 *matrix4x4, const TQ3Point3D *origin, float xAngle, float yAngle,
                                float zAngle);
/* Turns by angle about the line through origin along the unit vector
   orientation. */
Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotateAboutAxis(TQ3Matrix4x4 *matrix4x4, const TQ3Point3D *origin, const TQ3Vector3D *orientation,
                               float angle);
/* The shortest turn that takes the direction of v1 to that of v2 (the vectors
   need not be unit length). A zero vector gives the identity. */
Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotateVectorToVector(TQ3Matrix4x4 *matrix4x4, const TQ3Vector3D *v1, const TQ3Vector3D *v2);
/* The rotation of the quaternion: p x M = q p q^-1. */
Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetQuaternion(TQ3Matrix4x4 *matrix, const TQ3Quaternion *quaternion);

/* Quaternions (see the conventions above). */
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Set(TQ3Quaternion *quaternion, float w, float x, float y, float z);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetIdentity(TQ3Quaternion *quaternion);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Copy(const TQ3Quaternion *quaternion, TQ3Quaternion *result);
/* True for exactly {1, 0, 0, 0}. */
Q3_EXTERN_API_C(TQ3Boolean) Q3Quaternion_IsIdentity(const TQ3Quaternion *quaternion);
Q3_EXTERN_API_C(float) Q3Quaternion_Dot(const TQ3Quaternion *q1, const TQ3Quaternion *q2);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Normalize(const TQ3Quaternion *quaternion, TQ3Quaternion *result);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Invert(const TQ3Quaternion *quaternion, TQ3Quaternion *result);
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_Multiply(const TQ3Quaternion *q1, const TQ3Quaternion *q2, TQ3Quaternion *result);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetRotate_X(TQ3Quaternion *quaternion, float angle);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetRotate_Y(TQ3Quaternion *quaternion, float angle);
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetRotate_Z(TQ3Quaternion *quaternion, float angle);
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_SetRotate_XYZ(TQ3Quaternion *quaternion, float xAngle, float yAngle, float zAngle);
/* {cos(angle/2), sin(angle/2) x axis}, the axis taken as unit length. */
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_SetRotateAboutAxis(TQ3Quaternion *quaternion, const TQ3Vector3D *axis, float angle);
/* As Q3Matrix4x4_SetRotateVectorToVector. */
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_SetRotateVectorToVector(TQ3Quaternion *quaternion, const TQ3Vector3D *v1, const TQ3Vector3D *v2);
/* The unit quaternion (with w >= 0) of the rotation in the upper 3x3 of the
   matrix. */
Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetMatrix(TQ3Quaternion *quaternion, const TQ3Matrix4x4 *matrix);
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_MatchReflection(const TQ3Quaternion *q1, const TQ3Quaternion *q2, TQ3Quaternion *result);
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_InterpolateFast(const TQ3Quaternion *q1, const TQ3Quaternion *q2, float t, TQ3Quaternion *result);
Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_InterpolateLinear(const TQ3Quaternion *q1, const TQ3Quaternion *q2, float t, TQ3Quaternion *result);
Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Vector3D_TransformQuaternion(const TQ3Vector3D *vector3D, const TQ3Quaternion *quaternion, TQ3Vector3D *result);
Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_TransformQuaternion(const TQ3Point3D *point3D, const TQ3Quaternion *quaternion, TQ3Point3D *result);

/* Bounding boxes. */
Q3_EXTERN_API_C(TQ3BoundingBox *) Q3BoundingBox_Copy(const TQ3BoundingBox *src, TQ3BoundingBox *dest);
Q3_EXTERN_API_C(TQ3BoundingBox *) Q3BoundingBox_Reset(TQ3BoundingBox *bBox);
Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_Set(TQ3BoundingBox *bBox, const TQ3Point3D *min, const TQ3Point3D *max, TQ3Boolean isEmpty);
Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_Union(const TQ3BoundingBox *v1, const TQ3BoundingBox *v2, TQ3BoundingBox *result);
Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_UnionPoint3D(const TQ3BoundingBox *bBox, const TQ3Point3D *point3D, TQ3BoundingBox *result);
Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_UnionRationalPoint4D(const TQ3BoundingBox *bBox, const TQ3RationalPoint4D *point4D,
                                   TQ3BoundingBox *result);
Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_SetFromPoints3D(TQ3BoundingBox *bBox, const TQ3Point3D *points3D, TQ3Uns32 numPoints,
                              TQ3Uns32 structSize);
Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_SetFromRationalPoints4D(TQ3BoundingBox *bBox, const TQ3RationalPoint4D *points4D, TQ3Uns32 numPoints,
                                      TQ3Uns32 structSize);

/* Bounding spheres. */
Q3_EXTERN_API_C(TQ3BoundingSphere *) Q3BoundingSphere_Copy(const TQ3BoundingSphere *src, TQ3BoundingSphere *dest);
Q3_EXTERN_API_C(TQ3BoundingSphere *) Q3BoundingSphere_Reset(TQ3BoundingSphere *bSphere);
Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_Set(TQ3BoundingSphere *bSphere, const TQ3Point3D *origin, float radius, TQ3Boolean isEmpty);
Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_Union(const TQ3BoundingSphere *s1, const TQ3BoundingSphere *s2, TQ3BoundingSphere *result);
Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_UnionPoint3D(const TQ3BoundingSphere *bSphere, const TQ3Point3D *point3D, TQ3BoundingSphere *result);
Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_UnionRationalPoint4D(const TQ3BoundingSphere *bSphere, const TQ3RationalPoint4D *point4D,
                                      TQ3BoundingSphere *result);
Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_SetFromPoints3D(TQ3BoundingSphere *bSphere, const TQ3Point3D *points3D, TQ3Uns32 numPoints,
                                 TQ3Uns32 structSize);
Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_SetFromRationalPoints4D(TQ3BoundingSphere *bSphere, const TQ3RationalPoint4D *points4D,
                                         TQ3Uns32 numPoints, TQ3Uns32 structSize);

#ifdef __cplusplus
}
#endif
#endif
