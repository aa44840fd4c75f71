/* Q3View.h: views and their loops, the immediate-mode submit calls, cameras,
   lights and window-point picks of the 3D library (q3). Renderers and draw
   contexts are in Q3Render.h.

   A view draws, picks or bounds what is submitted to it between a start and
   an end call (a pass). An end call answers kQ3ViewStatusRetraverse when the
   caller must submit everything once more; loop until it answers otherwise.

   Where the QuickDraw 3D interface leaves a choice open, q3 decides:
   - Loops: one loop at a time per view. A start call while a loop runs fails
     with kQ3ErrorViewIsStarted; an end call that does not match the running
     loop (or with none running) posts kQ3ErrorViewNotStarted and answers
     kQ3ViewStatusError. Every submit call outside a loop posts
     kQ3ErrorViewNotStarted and fails. Each pass starts from the identity
     transform and default state; pushes left open at the end of a pass are
     dropped, a pop without a push fails with kQ3ErrorNothingToPop.
   - Retraversal: an end call asks for another pass when the camera, the
     draw context or the renderer changed during the pass, or when
     Q3View_RequestRetraverse asked for one. Q3View_Cancel makes the running
     loop's end call answer kQ3ViewStatusCancelled (nothing is drawn).
   - Rendering needs a camera, a renderer and a draw context, picking a
     camera and a draw context (kQ3ErrorCameraNotSet, kQ3ErrorRendererNotSet,
     kQ3ErrorDrawContextNotSet); bounding needs nothing. The view's camera,
     renderer, draw context and light group cannot be changed while a loop
     runs (kQ3ErrorViewIsStarted). A NULL light group removes the lights.
   - Default state of a pass: backfacing Both, interpolation Vertex, fill
     Filled, orientation counter-clockwise, fog off, pick ID 0, Lambert
     illumination, no texture, the default material (ambient coefficient 1,
     diffuse 0.5 grey, specular 0.5 grey, specular control 4, opaque).
   - Lighting is computed in world space: Phong is ambient + Lambert diffuse +
     specular colour x (R.V)^control summed over the lights that are on;
     brightness scales a light's colour and may exceed 1; the result is
     clamped to 0..1 per channel. Lights come from the view's light group;
     without one, nothing but the NULL illumination is lit (surfaces are
     black under Lambert and Phong).
   - Interpolation None lights each triangle once with its face normal (the
     face's normal attribute, else the geometric normal) and the mean of its
     corners' materials; Vertex lights every vertex and interpolates the
     colours; Pixel interpolates normals and lights every pixel. A vertex
     without a normal takes its face's normal.
   - Fog distance d is the depth along the viewing axis (-z in camera space).
     The fog alpha mode is treated as fog off.
   - Transparent triangles (transparency colour below 1 or a texture with
     alpha) are drawn after the opaque ones of the pass, farthest first, with
     the depth test on and without writing depth.
   - Textures are sampled at the nearest texel; geometry without UVs is drawn
     in its diffuse colour.
   - Fill styles Edges and Points and the wire-frame renderer draw unlit
     lines and one-pixel points in the surface (diffuse) colour; back faces
     are culled for them as for filled triangles. Lines cover the pixels
     whose centre they pass, stepping along their major axis, start included
     and end excluded.
   - Picks test the ray through the pixel centre from the hither plane to the
     yon plane; back faces are skipped under backfacing Remove. Points hit
     within vertexTolerance pixels, lines within edgeTolerance pixels of the
     pixel centre. Each submitted geometry gives at most one hit, its
     nearest. numHitsToReturn 0 keeps every hit. Details: pick ID, object
     (a new reference, disposed by the caller), local-to-world, XYZ (world),
     distance (world, from the camera location), normal (world, unit, for
     triangles) and UV (where the geometry has UVs). Path, shape part and
     pick part details are not provided.
   - Bounds: boxes are exact and rounded outwards; spheres are the minimal
     enclosing sphere of the world-space vertices (Welzl's algorithm),
     rounded outwards. kQ3ComputeBoundsApproximate gives the same results.
   - Cameras: a degenerate placement (location at the point of interest, or
     up parallel to the view direction) still yields a valid frame: the
     direction falls back to -z and the up vector to +y (or +z). Ranges need
     0 < hither < yon, the field of view 0 < fov < pi and a positive aspect
     ratio (kQ3ErrorInvalidCameraValues otherwise). */
#ifndef Q3_VIEW_H
#define Q3_VIEW_H

#include "Q3Core.h"
#include "Q3Style.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum TQ3ViewStatus {
  kQ3ViewStatusDone = 0,
  kQ3ViewStatusRetraverse = 1,
  kQ3ViewStatusError = 2,
  kQ3ViewStatusCancelled = 3
} TQ3ViewStatus;

typedef enum TQ3ComputeBounds { kQ3ComputeBoundsExact = 0, kQ3ComputeBoundsApproximate = 1 } TQ3ComputeBounds;

/* ---- Views ---- */
Q3_EXTERN_API_C(TQ3Status) Q3View_SetCamera(TQ3ViewObject view, TQ3CameraObject camera);
Q3_EXTERN_API_C(TQ3Status) Q3View_GetCamera(TQ3ViewObject view, TQ3CameraObject *camera);
Q3_EXTERN_API_C(TQ3Status) Q3View_SetLightGroup(TQ3ViewObject view, TQ3GroupObject lightGroup);
Q3_EXTERN_API_C(TQ3Status) Q3View_GetLightGroup(TQ3ViewObject view, TQ3GroupObject *lightGroup);
Q3_EXTERN_API_C(TQ3Status) Q3View_SetRenderer(TQ3ViewObject view, TQ3RendererObject renderer);
Q3_EXTERN_API_C(TQ3Status) Q3View_SetRendererByType(TQ3ViewObject view, TQ3ObjectType theType);
Q3_EXTERN_API_C(TQ3Status) Q3View_GetRenderer(TQ3ViewObject view, TQ3RendererObject *renderer);
Q3_EXTERN_API_C(TQ3Status) Q3View_SetDrawContext(TQ3ViewObject view, TQ3DrawContextObject drawContext);
Q3_EXTERN_API_C(TQ3Status) Q3View_GetDrawContext(TQ3ViewObject view, TQ3DrawContextObject *drawContext);

Q3_EXTERN_API_C(TQ3Status) Q3View_StartRendering(TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndRendering(TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3View_StartPicking(TQ3ViewObject view, TQ3PickObject pick);
Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndPicking(TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3View_StartBoundingBox(TQ3ViewObject view, TQ3ComputeBounds computeBounds);
Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndBoundingBox(TQ3ViewObject view, TQ3BoundingBox *result);
Q3_EXTERN_API_C(TQ3Status) Q3View_StartBoundingSphere(TQ3ViewObject view, TQ3ComputeBounds computeBounds);
Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndBoundingSphere(TQ3ViewObject view, TQ3BoundingSphere *result);
Q3_EXTERN_API_C(TQ3Status) Q3View_Cancel(TQ3ViewObject view);

/* q3's addition, for tests: the next `passes` end calls of this view answer
   kQ3ViewStatusRetraverse (0xFFFFFFFF: every end call until set again). */
Q3_EXTERN_API_C(TQ3Status) Q3View_RequestRetraverse(TQ3ViewObject view, TQ3Uns32 passes);
/* q3's addition, for tests: how many passes the view's latest loop ended. */
Q3_EXTERN_API_C(TQ3Status) Q3View_GetPassCount(TQ3ViewObject view, TQ3Uns32 *passes);

/* ---- Submitting inside a loop ---- */
Q3_EXTERN_API_C(TQ3Status) Q3Object_Submit(TQ3Object object, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3DisplayGroup_Submit(TQ3GroupObject group, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3Shader_Submit(TQ3ShaderObject shader, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3Push_Submit(TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3Pop_Submit(TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3TranslateTransform_Submit(const TQ3Vector3D *translate, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3ScaleTransform_Submit(const TQ3Vector3D *scale, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3QuaternionTransform_Submit(const TQ3Quaternion *quaternion, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3MatrixTransform_Submit(const TQ3Matrix4x4 *matrix, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3ResetTransform_Submit(TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3BackfacingStyle_Submit(TQ3BackfacingStyle backfacingStyle, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3InterpolationStyle_Submit(TQ3InterpolationStyle interpolationStyle, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3FillStyle_Submit(TQ3FillStyle fillStyle, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3OrientationStyle_Submit(TQ3OrientationStyle frontFacingDirection, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3FogStyle_Submit(const TQ3FogStyleData *fogData, TQ3ViewObject view);
Q3_EXTERN_API_C(TQ3Status) Q3PickIDStyle_Submit(TQ3Uns32 id, TQ3ViewObject view);

/* ---- Cameras ---- */
typedef struct TQ3CameraPlacement {
  TQ3Point3D cameraLocation;
  TQ3Point3D pointOfInterest;
  TQ3Vector3D upVector;
} TQ3CameraPlacement;

typedef struct TQ3CameraRange {
  float hither;
  float yon;
} TQ3CameraRange;

/* The part of the view plane (from -1,-1 to 1,1) the camera shows: origin
   is its top-left corner. The whole plane is origin (-1, 1), 2 x 2. */
typedef struct TQ3CameraViewPort {
  TQ3Point2D origin;
  float width;
  float height;
} TQ3CameraViewPort;

typedef struct TQ3CameraData {
  TQ3CameraPlacement placement;
  TQ3CameraRange range;
  TQ3CameraViewPort viewPort;
} TQ3CameraData;

typedef struct TQ3ViewAngleAspectCameraData {
  TQ3CameraData cameraData;
  float fov; /* radians, across the smaller dimension of the view */
  float aspectRatioXToY;
} TQ3ViewAngleAspectCameraData;

Q3_EXTERN_API_C(TQ3CameraObject) Q3ViewAngleAspectCamera_New(const TQ3ViewAngleAspectCameraData *cameraData);
Q3_EXTERN_API_C(TQ3Status)
Q3ViewAngleAspectCamera_SetData(TQ3CameraObject camera, const TQ3ViewAngleAspectCameraData *cameraData);
Q3_EXTERN_API_C(TQ3Status)
Q3ViewAngleAspectCamera_GetData(TQ3CameraObject camera, TQ3ViewAngleAspectCameraData *cameraData);
Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_SetFOV(TQ3CameraObject camera, float fov);
Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_GetFOV(TQ3CameraObject camera, float *fov);
Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_SetAspectRatio(TQ3CameraObject camera, float aspectRatioXToY);
Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_GetAspectRatio(TQ3CameraObject camera, float *aspectRatioXToY);

Q3_EXTERN_API_C(TQ3ObjectType) Q3Camera_GetType(TQ3CameraObject camera);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetData(TQ3CameraObject camera, const TQ3CameraData *cameraData);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetData(TQ3CameraObject camera, TQ3CameraData *cameraData);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetPlacement(TQ3CameraObject camera, const TQ3CameraPlacement *placement);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetPlacement(TQ3CameraObject camera, TQ3CameraPlacement *placement);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetRange(TQ3CameraObject camera, const TQ3CameraRange *range);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetRange(TQ3CameraObject camera, TQ3CameraRange *range);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetViewPort(TQ3CameraObject camera, const TQ3CameraViewPort *viewPort);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetViewPort(TQ3CameraObject camera, TQ3CameraViewPort *viewPort);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetWorldToView(TQ3CameraObject camera, TQ3Matrix4x4 *worldToView);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetWorldToFrustum(TQ3CameraObject camera, TQ3Matrix4x4 *worldToFrustum);
Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetViewToFrustum(TQ3CameraObject camera, TQ3Matrix4x4 *viewToFrustum);

/* ---- Lights ---- */
typedef struct TQ3LightData {
  TQ3Boolean isOn;
  float brightness;
  TQ3ColorRGB color;
} TQ3LightData;

/* direction: the way the light travels. */
typedef struct TQ3DirectionalLightData {
  TQ3LightData lightData;
  TQ3Boolean castsShadows;
  TQ3Vector3D direction;
} TQ3DirectionalLightData;

typedef enum TQ3AttenuationType {
  kQ3AttenuationTypeNone = 0,
  kQ3AttenuationTypeInverseDistance = 1,
  kQ3AttenuationTypeInverseDistanceSquared = 2
} TQ3AttenuationType;

typedef struct TQ3PointLightData {
  TQ3LightData lightData;
  TQ3Boolean castsShadows;
  TQ3AttenuationType attenuation;
  TQ3Point3D location;
} TQ3PointLightData;

Q3_EXTERN_API_C(TQ3LightObject) Q3AmbientLight_New(const TQ3LightData *lightData);
Q3_EXTERN_API_C(TQ3Status) Q3AmbientLight_GetData(TQ3LightObject light, TQ3LightData *lightData);
Q3_EXTERN_API_C(TQ3Status) Q3AmbientLight_SetData(TQ3LightObject light, const TQ3LightData *lightData);

Q3_EXTERN_API_C(TQ3LightObject) Q3DirectionalLight_New(const TQ3DirectionalLightData *directionalLightData);
Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_GetData(TQ3LightObject light, TQ3DirectionalLightData *data);
Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_SetData(TQ3LightObject light, const TQ3DirectionalLightData *data);
Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_GetDirection(TQ3LightObject light, TQ3Vector3D *direction);
Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_SetDirection(TQ3LightObject light, const TQ3Vector3D *direction);
Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_GetCastShadowsState(TQ3LightObject light, TQ3Boolean *castsShadows);
Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_SetCastShadowsState(TQ3LightObject light, TQ3Boolean castsShadows);

Q3_EXTERN_API_C(TQ3LightObject) Q3PointLight_New(const TQ3PointLightData *pointLightData);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetData(TQ3LightObject light, TQ3PointLightData *data);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetData(TQ3LightObject light, const TQ3PointLightData *data);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetLocation(TQ3LightObject light, TQ3Point3D *location);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetLocation(TQ3LightObject light, const TQ3Point3D *location);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetAttenuation(TQ3LightObject light, TQ3AttenuationType *attenuation);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetAttenuation(TQ3LightObject light, TQ3AttenuationType attenuation);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetCastShadowsState(TQ3LightObject light, TQ3Boolean *castsShadows);
Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetCastShadowsState(TQ3LightObject light, TQ3Boolean castsShadows);

Q3_EXTERN_API_C(TQ3ObjectType) Q3Light_GetType(TQ3LightObject light);
Q3_EXTERN_API_C(TQ3Status) Q3Light_GetState(TQ3LightObject light, TQ3Boolean *isOn);
Q3_EXTERN_API_C(TQ3Status) Q3Light_SetState(TQ3LightObject light, TQ3Boolean isOn);
Q3_EXTERN_API_C(TQ3Status) Q3Light_GetBrightness(TQ3LightObject light, float *brightness);
Q3_EXTERN_API_C(TQ3Status) Q3Light_SetBrightness(TQ3LightObject light, float brightness);
Q3_EXTERN_API_C(TQ3Status) Q3Light_GetColor(TQ3LightObject light, TQ3ColorRGB *color);
Q3_EXTERN_API_C(TQ3Status) Q3Light_SetColor(TQ3LightObject light, const TQ3ColorRGB *color);
Q3_EXTERN_API_C(TQ3Status) Q3Light_GetData(TQ3LightObject light, TQ3LightData *lightData);
Q3_EXTERN_API_C(TQ3Status) Q3Light_SetData(TQ3LightObject light, const TQ3LightData *lightData);

/* ---- Picks ---- */
typedef enum TQ3PickSort { kQ3PickSortNone = 0, kQ3PickSortNearToFar = 1, kQ3PickSortFarToNear = 2 } TQ3PickSort;

typedef TQ3Uns32 TQ3PickDetail;
#define kQ3PickDetailNone 0u
#define kQ3PickDetailMaskPickID (1u << 0)
#define kQ3PickDetailMaskPath (1u << 1)
#define kQ3PickDetailMaskObject (1u << 2)
#define kQ3PickDetailMaskLocalToWorldMatrix (1u << 3)
#define kQ3PickDetailMaskXYZ (1u << 4)
#define kQ3PickDetailMaskDistance (1u << 5)
#define kQ3PickDetailMaskNormal (1u << 6)
#define kQ3PickDetailMaskShapePart (1u << 7)
#define kQ3PickDetailMaskPickPart (1u << 8)
#define kQ3PickDetailMaskUV (1u << 9)

#define kQ3ReturnAllHits 0u

typedef struct TQ3PickData {
  TQ3PickSort sort;
  TQ3PickDetail mask;
  TQ3Uns32 numHitsToReturn;
} TQ3PickData;

/* point: pixels from the top-left corner of the draw context's drawing area
   (its pane when it has one), x right, y down. */
typedef struct TQ3WindowPointPickData {
  TQ3PickData data;
  TQ3Point2D point;
  float vertexTolerance;
  float edgeTolerance;
} TQ3WindowPointPickData;

Q3_EXTERN_API_C(TQ3PickObject) Q3WindowPointPick_New(const TQ3WindowPointPickData *data);
Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_GetData(TQ3PickObject pick, TQ3WindowPointPickData *data);
Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_SetData(TQ3PickObject pick, const TQ3WindowPointPickData *data);
Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_GetPoint(TQ3PickObject pick, TQ3Point2D *point);
Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_SetPoint(TQ3PickObject pick, const TQ3Point2D *point);

Q3_EXTERN_API_C(TQ3ObjectType) Q3Pick_GetType(TQ3PickObject pick);
Q3_EXTERN_API_C(TQ3Status) Q3Pick_GetData(TQ3PickObject pick, TQ3PickData *data);
Q3_EXTERN_API_C(TQ3Status) Q3Pick_SetData(TQ3PickObject pick, const TQ3PickData *data);
Q3_EXTERN_API_C(TQ3Status) Q3Pick_GetNumHits(TQ3PickObject pick, TQ3Uns32 *numHits);
Q3_EXTERN_API_C(TQ3Status) Q3Pick_EmptyHitList(TQ3PickObject pick);
Q3_EXTERN_API_C(TQ3Status) Q3Pick_GetPickDetailValidMask(TQ3PickObject pick, TQ3Uns32 index, TQ3PickDetail *mask);
/* data receives: pick ID TQ3Uns32; object TQ3Object (a new reference);
   local-to-world TQ3Matrix4x4; XYZ TQ3Point3D; distance float; normal
   TQ3Vector3D; UV TQ3Param2D. Exactly one detail bit per call. */
Q3_EXTERN_API_C(TQ3Status)
Q3Pick_GetPickDetailData(TQ3PickObject pick, TQ3Uns32 index, TQ3PickDetail pickDetail, void *detailData);

#ifdef __cplusplus
}
static_assert(sizeof(TQ3ViewAngleAspectCameraData) == 68, "camera record: placement, range, view port, fov, aspect");
static_assert(sizeof(TQ3DirectionalLightData) == 36 && sizeof(TQ3PointLightData) == 40, "light records");
static_assert(sizeof(TQ3WindowPointPickData) == 28, "window-point pick record");
#endif
#endif
