/* Q3Core.h: library lifetime, errors and the object model of q3. */
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

/* Objects: opaque, reference counted. The typed names are documentation;
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

/* Lifetime of the library. */
Q3_EXTERN_API_C(TQ3Boolean) Q3IsInitialized(void);
Q3_EXTERN_API_C(TQ3Status) Q3Initialize(void);
Q3_EXTERN_API_C(TQ3Status) Q3Exit(void);

/* The most recent error; through firstError (optional) the oldest one not
   yet reported. Reading clears both. */
Q3_EXTERN_API_C(TQ3Error) Q3Error_Get(TQ3Error *firstError);

/* Gives one reference back; the object goes with its last reference. */
Q3_EXTERN_API_C(TQ3Status) Q3Object_Dispose(TQ3Object object);

#ifdef __cplusplus
}
#endif
#endif
