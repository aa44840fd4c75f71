/* Q3Core.h: library lifetime, errors, object types, the calls every object
   answers, and the first concrete objects (illumination shaders, views). */
#ifndef Q3_CORE_H
#define Q3_CORE_H

#include "Q3Base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Error codes posted by failing calls (Q3Error_Get). The values follow the
   QuickDraw 3D numbering, counting up from -28500. */
typedef enum TQ3Error {
  kQ3ErrorNone = 0,
  kQ3ErrorInternalError = -28500,
  kQ3ErrorNoRecovery,
  kQ3ErrorLastFatalError,
  kQ3ErrorNotInitialized,
  kQ3ErrorAlreadyInitialized,
  kQ3ErrorUnimplemented,
  kQ3ErrorRegistrationFailed,
  kQ3ErrorUnixError,
  kQ3ErrorMacintoshError,
  kQ3ErrorX11Error,
  kQ3ErrorMemoryLeak,
  kQ3ErrorOutOfMemory,
  kQ3ErrorNULLParameter,
  kQ3ErrorParameterOutOfRange,
  kQ3ErrorInvalidParameter,
  kQ3ErrorInvalidData,
  kQ3ErrorAcceleratorAlreadySet,
  kQ3ErrorVector3DNotUnitLength,
  kQ3ErrorVector3DZeroLength,
  kQ3ErrorInvalidObject,
  kQ3ErrorInvalidObjectClass,
  kQ3ErrorInvalidObjectType,
  kQ3ErrorInvalidObjectName,
  kQ3ErrorObjectClassInUse,
  kQ3ErrorAccessRestricted,
  kQ3ErrorMetaHandlerRequired,
  kQ3ErrorNeedRequiredMethods,
  kQ3ErrorNoSubclassType,
  kQ3ErrorUnknownElementType,
  kQ3ErrorNotSupported,
  kQ3ErrorNoExtensionsFolder,
  kQ3ErrorExtensionError,
  kQ3ErrorPrivateExtensionError,
  kQ3ErrorDegenerateGeometry,
  kQ3ErrorGeometryInsufficientNumberOfPoints,
  kQ3ErrorNoStorageSetForFile,
  kQ3ErrorEndOfFile,
  kQ3ErrorFileCancelled,
  kQ3ErrorInvalidMetafile,
  kQ3ErrorInvalidMetafilePrimitive,
  kQ3ErrorInvalidMetafileLabel,
  kQ3ErrorInvalidMetafileObject,
  kQ3ErrorInvalidMetafileSubObject,
  kQ3ErrorInvalidSubObjectForObject,
  kQ3ErrorUnresolvableReference,
  kQ3ErrorUnknownObject,
  kQ3ErrorStorageInUse,
  kQ3ErrorStorageAlreadyOpen,
  kQ3ErrorStorageNotOpen,
  kQ3ErrorStorageIsOpen,
  kQ3ErrorFileAlreadyOpen,
  kQ3ErrorFileNotOpen,
  kQ3ErrorFileIsOpen,
  kQ3ErrorBeginWriteAlreadyCalled,
  kQ3ErrorBeginWriteNotCalled,
  kQ3ErrorEndWriteNotCalled,
  kQ3ErrorReadStateInactive,
  kQ3ErrorStateUnavailable,
  kQ3ErrorWriteStateInactive,
  kQ3ErrorSizeNotLongAligned,
  kQ3ErrorFileModeRestriction,
  kQ3ErrorInvalidHexString,
  kQ3ErrorWroteMoreThanSize,
  kQ3ErrorWroteLessThanSize,
  kQ3ErrorReadLessThanSize,
  kQ3ErrorReadMoreThanSize,
  kQ3ErrorNoBeginGroup,
  kQ3ErrorSizeMismatch,
  kQ3ErrorStringExceedsMaximumLength,
  kQ3ErrorValueExceedsMaximumSize,
  kQ3ErrorNonUniqueLabel,
  kQ3ErrorEndOfContainer,
  kQ3ErrorUnmatchedEndGroup,
  kQ3ErrorFileVersionExists,
  kQ3ErrorViewNotStarted,
  kQ3ErrorViewIsStarted,
  kQ3ErrorRendererNotSet,
  kQ3ErrorRenderingIsActive,
  kQ3ErrorImmediateModeUnderflow,
  kQ3ErrorDisplayNotSet,
  kQ3ErrorCameraNotSet,
  kQ3ErrorDrawContextNotSet,
  kQ3ErrorNonInvertibleMatrix,
  kQ3ErrorRenderingNotStarted,
  kQ3ErrorPickingNotStarted,
  kQ3ErrorBoundsNotStarted,
  kQ3ErrorDataNotAvailable,
  kQ3ErrorNothingToPop,
  kQ3ErrorUnknownStudioType,
  kQ3ErrorAlreadyRendering,
  kQ3ErrorStartGroupRange,
  kQ3ErrorUnsupportedGeometryType,
  kQ3ErrorInvalidGeometryType,
  kQ3ErrorUnsupportedFunctionality,
  kQ3ErrorInvalidPositionForGroup,
  kQ3ErrorInvalidObjectForGroup,
  kQ3ErrorInvalidObjectForPosition,
  kQ3ErrorScaleOfZero,
  kQ3ErrorBadStringType,
  kQ3ErrorAttributeNotContained,
  kQ3ErrorAttributeInvalidType,
  kQ3ErrorInvalidCameraValues,
  kQ3ErrorBadDrawContextType,
  kQ3ErrorBadDrawContextFlag,
  kQ3ErrorBadDrawContext,
  kQ3ErrorUnsupportedPixelDepth,
  kQ3ErrorController,
  kQ3ErrorTracker,
  kQ3ErrorWin32Error,
  kQ3ErrorTypeAlreadyExistsAndHasSubclasses,
  kQ3ErrorTypeAlreadyExistsAndOtherClassesDependOnIt,
  kQ3ErrorTypeAlreadyExistsAndHasObjectInstances,
  kQ3ErrorPickingLoopFailed,
  kQ3ErrorRenderingLoopFailed,
  kQ3ErrorWritingLoopFailed,
  kQ3ErrorBoundingLoopFailed
} TQ3Error;

/* Object types: four-character codes, as in the 3DMF format. Each object has
   a chain of types from its kind (view, pick, shared, ...) down to its leaf
   type; Q3Object_IsType answers for any type of that chain. */
typedef TQ3Int32 TQ3ObjectType;
#define Q3_OBJECT_TYPE(a, b, c, d)                                                                                     \
  ((TQ3ObjectType)(((TQ3Uns32)(a) << 24) | ((TQ3Uns32)(b) << 16) | ((TQ3Uns32)(c) << 8) | (TQ3Uns32)(d)))

#define kQ3ObjectTypeInvalid 0

/* Objects that are not reference-shared: one owner, Q3Object_Dispose ends them. */
#define kQ3ObjectTypeView Q3_OBJECT_TYPE('v', 'i', 'e', 'w')
#define kQ3ObjectTypePick Q3_OBJECT_TYPE('p', 'i', 'c', 'k')
#define kQ3PickTypeWindowPoint Q3_OBJECT_TYPE('p', 'k', 'w', 'p')
#define kQ3PickTypeWindowRect Q3_OBJECT_TYPE('p', 'k', 'w', 'r')
#define kQ3PickTypeWorldRay Q3_OBJECT_TYPE('p', 'k', 'r', 'y')
#define kQ3ObjectTypeElement Q3_OBJECT_TYPE('e', 'l', 'm', 'n')
#define kQ3ElementTypeAttribute Q3_OBJECT_TYPE('e', 'a', 't', 't')

/* Shared objects: reference counted with Q3Shared_GetReference. */
#define kQ3ObjectTypeShared Q3_OBJECT_TYPE('s', 'h', 'r', 'd')

#define kQ3SharedTypeShape Q3_OBJECT_TYPE('s', 'h', 'a', 'p')
#define kQ3ShapeTypeGeometry Q3_OBJECT_TYPE('g', 'm', 't', 'r')
#define kQ3GeometryTypeBox Q3_OBJECT_TYPE('b', 'o', 'x', ' ')
#define kQ3GeometryTypeGeneralPolygon Q3_OBJECT_TYPE('g', 'p', 'g', 'n')
#define kQ3GeometryTypeLine Q3_OBJECT_TYPE('l', 'i', 'n', 'e')
#define kQ3GeometryTypeMarker Q3_OBJECT_TYPE('m', 'r', 'k', 'r')
#define kQ3GeometryTypePixmapMarker Q3_OBJECT_TYPE('m', 'r', 'k', 'p')
#define kQ3GeometryTypeMesh Q3_OBJECT_TYPE('m', 'e', 's', 'h')
#define kQ3GeometryTypeNURBCurve Q3_OBJECT_TYPE('n', 'r', 'b', 'c')
#define kQ3GeometryTypeNURBPatch Q3_OBJECT_TYPE('n', 'r', 'b', 'p')
#define kQ3GeometryTypePoint Q3_OBJECT_TYPE('p', 'n', 't', ' ')
#define kQ3GeometryTypePolygon Q3_OBJECT_TYPE('p', 'l', 'y', 'g')
#define kQ3GeometryTypePolyLine Q3_OBJECT_TYPE('p', 'l', 'y', 'l')
#define kQ3GeometryTypeTriangle Q3_OBJECT_TYPE('t', 'r', 'n', 'g')
#define kQ3GeometryTypeTriGrid Q3_OBJECT_TYPE('t', 'r', 'i', 'g')
#define kQ3GeometryTypeCone Q3_OBJECT_TYPE('c', 'o', 'n', 'e')
#define kQ3GeometryTypeCylinder Q3_OBJECT_TYPE('c', 'y', 'l', 'n')
#define kQ3GeometryTypeDisk Q3_OBJECT_TYPE('d', 'i', 's', 'k')
#define kQ3GeometryTypeEllipse Q3_OBJECT_TYPE('e', 'l', 'p', 's')
#define kQ3GeometryTypeEllipsoid Q3_OBJECT_TYPE('e', 'l', 'p', 'd')
#define kQ3GeometryTypePolyhedron Q3_OBJECT_TYPE('p', 'l', 'h', 'd')
#define kQ3GeometryTypeTorus Q3_OBJECT_TYPE('t', 'o', 'r', 's')
#define kQ3GeometryTypeTriMesh Q3_OBJECT_TYPE('t', 'm', 's', 'h')

#define kQ3ShapeTypeShader Q3_OBJECT_TYPE('s', 'h', 'd', 'r')
#define kQ3ShaderTypeSurface Q3_OBJECT_TYPE('s', 'u', 's', 'h')
#define kQ3SurfaceShaderTypeTexture Q3_OBJECT_TYPE('t', 'x', 's', 'u')
#define kQ3ShaderTypeIllumination Q3_OBJECT_TYPE('i', 'l', 's', 'h')
#define kQ3IlluminationTypePhong Q3_OBJECT_TYPE('p', 'h', 'i', 'l')
#define kQ3IlluminationTypeLambert Q3_OBJECT_TYPE('l', 'm', 'i', 'l')
#define kQ3IlluminationTypeNULL Q3_OBJECT_TYPE('n', 'u', 'i', 'l')

#define kQ3ShapeTypeStyle Q3_OBJECT_TYPE('s', 't', 'y', 'l')
#define kQ3StyleTypeBackfacing Q3_OBJECT_TYPE('b', 'c', 'k', 'f')
#define kQ3StyleTypeInterpolation Q3_OBJECT_TYPE('i', 'n', 't', 'p')
#define kQ3StyleTypeFill Q3_OBJECT_TYPE('f', 'i', 's', 't')
#define kQ3StyleTypePickID Q3_OBJECT_TYPE('p', 'k', 'i', 'd')
#define kQ3StyleTypePickParts Q3_OBJECT_TYPE('p', 'k', 'p', 't')
#define kQ3StyleTypeReceiveShadows Q3_OBJECT_TYPE('r', 'c', 's', 'h')
#define kQ3StyleTypeHighlight Q3_OBJECT_TYPE('h', 'i', 'g', 'h')
#define kQ3StyleTypeSubdivision Q3_OBJECT_TYPE('s', 'b', 'd', 'v')
#define kQ3StyleTypeOrientation Q3_OBJECT_TYPE('o', 'f', 'd', 'r')
#define kQ3StyleTypeAntiAlias Q3_OBJECT_TYPE('a', 'n', 't', 'i')
#define kQ3StyleTypeFog Q3_OBJECT_TYPE('f', 'o', 'g', 'g')

#define kQ3ShapeTypeTransform Q3_OBJECT_TYPE('x', 'f', 'r', 'm')
#define kQ3TransformTypeMatrix Q3_OBJECT_TYPE('m', 't', 'r', 'x')
#define kQ3TransformTypeScale Q3_OBJECT_TYPE('s', 'c', 'a', 'l')
#define kQ3TransformTypeTranslate Q3_OBJECT_TYPE('t', 'r', 'n', 's')
#define kQ3TransformTypeRotate Q3_OBJECT_TYPE('r', 'o', 't', 't')
#define kQ3TransformTypeRotateAboutPoint Q3_OBJECT_TYPE('r', 't', 'a', 'p')
#define kQ3TransformTypeRotateAboutAxis Q3_OBJECT_TYPE('r', 't', 'a', 'a')
#define kQ3TransformTypeQuaternion Q3_OBJECT_TYPE('q', 't', 'r', 'n')
#define kQ3TransformTypeReset Q3_OBJECT_TYPE('r', 's', 'e', 't')

#define kQ3ShapeTypeLight Q3_OBJECT_TYPE('l', 'g', 'h', 't')
#define kQ3LightTypeAmbient Q3_OBJECT_TYPE('a', 'm', 'b', 'n')
#define kQ3LightTypeDirectional Q3_OBJECT_TYPE('d', 'r', 'c', 't')
#define kQ3LightTypePoint Q3_OBJECT_TYPE('p', 'n', 't', 'l')
#define kQ3LightTypeSpot Q3_OBJECT_TYPE('s', 'p', 'o', 't')

#define kQ3ShapeTypeCamera Q3_OBJECT_TYPE('c', 'm', 'r', 'a')
#define kQ3CameraTypeOrthographic Q3_OBJECT_TYPE('o', 'r', 't', 'h')
#define kQ3CameraTypeViewPlane Q3_OBJECT_TYPE('v', 'w', 'p', 'l')
#define kQ3CameraTypeViewAngleAspect Q3_OBJECT_TYPE('v', 'a', 'n', 'a')

#define kQ3ShapeTypeGroup Q3_OBJECT_TYPE('g', 'r', 'u', 'p')
#define kQ3GroupTypeDisplay Q3_OBJECT_TYPE('d', 's', 'p', 'g')
#define kQ3DisplayGroupTypeOrdered Q3_OBJECT_TYPE('o', 'r', 'd', 'g')
#define kQ3DisplayGroupTypeIOProxy Q3_OBJECT_TYPE('i', 'o', 'p', 'x')
#define kQ3GroupTypeLight Q3_OBJECT_TYPE('l', 'g', 'h', 'g')
#define kQ3GroupTypeInfo Q3_OBJECT_TYPE('i', 'n', 'f', 'o')

#define kQ3ShapeTypeUnknown Q3_OBJECT_TYPE('u', 'n', 'k', 'n')
#define kQ3UnknownTypeText Q3_OBJECT_TYPE('u', 'k', 't', 'x')
#define kQ3UnknownTypeBinary Q3_OBJECT_TYPE('u', 'k', 'b', 'n')
#define kQ3ShapeTypeReference Q3_OBJECT_TYPE('r', 'f', 'r', 'n')
#define kQ3ReferenceTypeExternal Q3_OBJECT_TYPE('r', 'f', 'e', 'x')

#define kQ3SharedTypeRenderer Q3_OBJECT_TYPE('r', 'd', 'd', 'r')
#define kQ3RendererTypeWireFrame Q3_OBJECT_TYPE('w', 'r', 'f', 'r')
#define kQ3RendererTypeGeneric Q3_OBJECT_TYPE('g', 'n', 'r', 'r')
#define kQ3RendererTypeInteractive Q3_OBJECT_TYPE('c', 't', 'w', 'n')

#define kQ3SharedTypeSet Q3_OBJECT_TYPE('s', 'e', 't', ' ')
#define kQ3SetTypeAttribute Q3_OBJECT_TYPE('a', 't', 't', 'r')

#define kQ3SharedTypeDrawContext Q3_OBJECT_TYPE('d', 'c', 't', 'x')
#define kQ3DrawContextTypePixmap Q3_OBJECT_TYPE('d', 'p', 'x', 'p')
#define kQ3DrawContextTypeWin32DC Q3_OBJECT_TYPE('d', 'w', '3', '2')

#define kQ3SharedTypeTexture Q3_OBJECT_TYPE('t', 'x', 't', 'r')
#define kQ3TextureTypePixmap Q3_OBJECT_TYPE('t', 'x', 'p', 'm')
#define kQ3TextureTypeMipmap Q3_OBJECT_TYPE('t', 'x', 'm', 'm')

#define kQ3SharedTypeFile Q3_OBJECT_TYPE('f', 'i', 'l', 'e')
#define kQ3SharedTypeStorage Q3_OBJECT_TYPE('s', 't', 'r', 'g')
#define kQ3StorageTypeMemory Q3_OBJECT_TYPE('m', 'e', 'm', 's')
#define kQ3SharedTypeString Q3_OBJECT_TYPE('s', 't', 'r', 'n')
#define kQ3StringTypeCString Q3_OBJECT_TYPE('s', 't', 'r', 'c')
#define kQ3SharedTypeShapePart Q3_OBJECT_TYPE('s', 'p', 'r', 't')
#define kQ3SharedTypeViewHints Q3_OBJECT_TYPE('v', 'w', 'h', 'n')

/* Objects: opaque 32-bit references. A reference is a token, not an address:
   q3 looks it up among its live objects before touching anything, and never
   hands the same token out twice, so a disposed reference stays dead even
   when a new object is made afterwards. The typed names are documentation;
   every call checks the object's real type. */
typedef struct OpaqueTQ3Object *TQ3Object;
typedef TQ3Object TQ3SharedObject;
typedef TQ3Object TQ3ShapeObject;
typedef TQ3Object TQ3GeometryObject;
typedef TQ3Object TQ3GroupObject;
typedef TQ3Object TQ3ShaderObject;
typedef TQ3Object TQ3ViewObject;
typedef TQ3Object TQ3DrawContextObject;
typedef TQ3Object TQ3CameraObject;
typedef TQ3Object TQ3RendererObject;
typedef TQ3Object TQ3LightObject;
typedef TQ3Object TQ3PickObject;
typedef TQ3Object TQ3StyleObject;
typedef TQ3Object TQ3TransformObject;
typedef TQ3Object TQ3AttributeSet;
typedef TQ3Object TQ3TextureObject;
typedef TQ3Object TQ3StorageObject;
typedef TQ3Object TQ3FileObject;

/* Lifetime of the library.
   Initialisation nests: each successful Q3Initialize must be balanced by one
   Q3Exit, and only the Q3Exit that balances the first Q3Initialize shuts the
   library down. Q3IsInitialized answers whether the library is up and never
   posts an error. Q3Exit without a matching Q3Initialize fails with
   kQ3ErrorNotInitialized.
   At the final Q3Exit every object still alive is destroyed, whatever its
   reference count; their references are dead from then on, also after a
   later Q3Initialize (kQ3ErrorInvalidObject).
   Every other call that takes or makes an object fails with
   kQ3ErrorNotInitialized while the library is down. Q3Error_Get and
   Q3GetVersion work at any time. */
Q3_EXTERN_API_C(TQ3Boolean) Q3IsInitialized(void);
Q3_EXTERN_API_C(TQ3Status) Q3Initialize(void);
Q3_EXTERN_API_C(TQ3Status) Q3Exit(void);

/* The most recent error; through firstError (optional) the oldest one not
   yet reported. Reading clears both. Every failing call posts exactly one
   error; kQ3ErrorNone means nothing failed since the last read. */
Q3_EXTERN_API_C(TQ3Error) Q3Error_Get(TQ3Error *firstError);

/* Object arguments: a zero reference posts kQ3ErrorNULLParameter, a dead or
   unknown one kQ3ErrorInvalidObject, one of the wrong kind
   kQ3ErrorInvalidObjectType; the call then fails (kQ3Failure, NULL, 0,
   kQ3False or kQ3ObjectTypeInvalid). */

/* Gives one reference back; the object goes with its last reference. Views,
   picks and other non-shared objects go at once. */
Q3_EXTERN_API_C(TQ3Status) Q3Object_Dispose(TQ3Object object);

/* The object's kind (the type just below the root: kQ3ObjectTypeShared,
   kQ3ObjectTypeView, kQ3ObjectTypePick, ...) and its most derived type. */
Q3_EXTERN_API_C(TQ3ObjectType) Q3Object_GetType(TQ3Object object);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Object_GetLeafType(TQ3Object object);

/* Whether type is anywhere in the object's type chain. An unknown type
   answers kQ3False without an error; an invalid object posts one. */
Q3_EXTERN_API_C(TQ3Boolean) Q3Object_IsType(TQ3Object object, TQ3ObjectType type);

/* Whether the object can be submitted for drawing: shapes other than
   cameras and lights, and attribute sets. */
Q3_EXTERN_API_C(TQ3Boolean) Q3Object_IsDrawable(TQ3Object object);

/* Shared objects. GetType gives the type just below kQ3ObjectTypeShared.
   GetReference adds a reference and returns the same object; the caller
   disposes it on its own. A non-shared object fails with
   kQ3ErrorInvalidObjectType. */
Q3_EXTERN_API_C(TQ3ObjectType) Q3Shared_GetType(TQ3SharedObject sharedObject);
Q3_EXTERN_API_C(TQ3SharedObject) Q3Shared_GetReference(TQ3SharedObject sharedObject);

/* q3's addition: how many references the shared object has (0 on failure).
   Meant for diagnostics and tests. */
Q3_EXTERN_API_C(TQ3Uns32) Q3Shared_GetReferenceCount(TQ3SharedObject sharedObject);

/* q3's addition: how many objects are alive (0 while the library is not
   initialised). Meant for leak checks in tests. */
Q3_EXTERN_API_C(TQ3Uns32) Q3Object_CountLive(void);

/* Change tracking: every change to a shared object's data gives it a new
   edit index; Q3Shared_Edited marks a change made from outside. Indices come
   from one library-wide counter, so an index is never repeated for any
   object and a newer change always has a larger index (0 on failure). */
Q3_EXTERN_API_C(TQ3Uns32) Q3Shared_GetEditIndex(TQ3SharedObject sharedObject);
Q3_EXTERN_API_C(TQ3Status) Q3Shared_Edited(TQ3SharedObject sharedObject);

/* Shapes: the type just below kQ3SharedTypeShape (kQ3ShapeTypeGeometry,
   kQ3ShapeTypeGroup, kQ3ShapeTypeShader, ...). */
Q3_EXTERN_API_C(TQ3ObjectType) Q3Shape_GetType(TQ3ShapeObject shape);

/* Illumination shaders: the lighting model of what follows them. */
Q3_EXTERN_API_C(TQ3ShaderObject) Q3NULLIllumination_New(void);
Q3_EXTERN_API_C(TQ3ShaderObject) Q3LambertIllumination_New(void);
Q3_EXTERN_API_C(TQ3ShaderObject) Q3PhongIllumination_New(void);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Shader_GetType(TQ3ShaderObject shader);
Q3_EXTERN_API_C(TQ3ObjectType) Q3IlluminationShader_GetType(TQ3ShaderObject shader);

/* Views: not shared; one owner. */
Q3_EXTERN_API_C(TQ3ViewObject) Q3View_New(void);

#ifdef __cplusplus
}
#endif
#endif
