// Types.h: the type chains of q3's objects.
//
// Every object carries a pointer to the TypeInfo of its leaf type; following
// `parent` walks up to the root (Root, which has no public type code). The
// table is constexpr, so it needs no constructors at load time. Later
// modules add their leaf types here, each pointing at its documented parent,
// and construct their objects with that TypeInfo.
#pragma once

#include "Q3Core.h"

namespace q3 {

struct TypeInfo {
  TQ3ObjectType type;
  const TypeInfo *parent; // nullptr only for Root
};

namespace type {
inline constexpr TypeInfo Root{kQ3ObjectTypeInvalid, nullptr};

inline constexpr TypeInfo View{kQ3ObjectTypeView, &Root};
inline constexpr TypeInfo Pick{kQ3ObjectTypePick, &Root};
inline constexpr TypeInfo WindowPointPick{kQ3PickTypeWindowPoint, &Pick};
inline constexpr TypeInfo WindowRectPick{kQ3PickTypeWindowRect, &Pick};
inline constexpr TypeInfo WorldRayPick{kQ3PickTypeWorldRay, &Pick};
inline constexpr TypeInfo Element{kQ3ObjectTypeElement, &Root};

inline constexpr TypeInfo Shared{kQ3ObjectTypeShared, &Root};

inline constexpr TypeInfo Shape{kQ3SharedTypeShape, &Shared};
inline constexpr TypeInfo Geometry{kQ3ShapeTypeGeometry, &Shape};
inline constexpr TypeInfo TriMesh{kQ3GeometryTypeTriMesh, &Geometry};
inline constexpr TypeInfo Triangle{kQ3GeometryTypeTriangle, &Geometry};
inline constexpr TypeInfo Polygon{kQ3GeometryTypePolygon, &Geometry};
inline constexpr TypeInfo Box{kQ3GeometryTypeBox, &Geometry};
inline constexpr TypeInfo Mesh{kQ3GeometryTypeMesh, &Geometry};
inline constexpr TypeInfo GeneralPolygon{kQ3GeometryTypeGeneralPolygon, &Geometry};
inline constexpr TypeInfo Line{kQ3GeometryTypeLine, &Geometry};
inline constexpr TypeInfo PolyLine{kQ3GeometryTypePolyLine, &Geometry};
inline constexpr TypeInfo Point{kQ3GeometryTypePoint, &Geometry};
inline constexpr TypeInfo TriGrid{kQ3GeometryTypeTriGrid, &Geometry};
inline constexpr TypeInfo Polyhedron{kQ3GeometryTypePolyhedron, &Geometry};
inline constexpr TypeInfo Ellipsoid{kQ3GeometryTypeEllipsoid, &Geometry};
inline constexpr TypeInfo Cylinder{kQ3GeometryTypeCylinder, &Geometry};
inline constexpr TypeInfo Cone{kQ3GeometryTypeCone, &Geometry};
inline constexpr TypeInfo Disk{kQ3GeometryTypeDisk, &Geometry};
inline constexpr TypeInfo Torus{kQ3GeometryTypeTorus, &Geometry};
inline constexpr TypeInfo Ellipse{kQ3GeometryTypeEllipse, &Geometry};

inline constexpr TypeInfo Shader{kQ3ShapeTypeShader, &Shape};
inline constexpr TypeInfo SurfaceShader{kQ3ShaderTypeSurface, &Shader};
inline constexpr TypeInfo TextureShader{kQ3SurfaceShaderTypeTexture, &SurfaceShader};
inline constexpr TypeInfo IlluminationShader{kQ3ShaderTypeIllumination, &Shader};
inline constexpr TypeInfo PhongIllumination{kQ3IlluminationTypePhong, &IlluminationShader};
inline constexpr TypeInfo LambertIllumination{kQ3IlluminationTypeLambert, &IlluminationShader};
inline constexpr TypeInfo NullIllumination{kQ3IlluminationTypeNULL, &IlluminationShader};

inline constexpr TypeInfo Style{kQ3ShapeTypeStyle, &Shape};
inline constexpr TypeInfo BackfacingStyle{kQ3StyleTypeBackfacing, &Style};
inline constexpr TypeInfo InterpolationStyle{kQ3StyleTypeInterpolation, &Style};
inline constexpr TypeInfo FillStyle{kQ3StyleTypeFill, &Style};
inline constexpr TypeInfo OrientationStyle{kQ3StyleTypeOrientation, &Style};
inline constexpr TypeInfo PickIDStyle{kQ3StyleTypePickID, &Style};
inline constexpr TypeInfo FogStyle{kQ3StyleTypeFog, &Style};
inline constexpr TypeInfo Transform{kQ3ShapeTypeTransform, &Shape};
inline constexpr TypeInfo TranslateTransform{kQ3TransformTypeTranslate, &Transform};
inline constexpr TypeInfo ScaleTransform{kQ3TransformTypeScale, &Transform};
inline constexpr TypeInfo RotateTransform{kQ3TransformTypeRotate, &Transform};
inline constexpr TypeInfo RotateAboutPointTransform{kQ3TransformTypeRotateAboutPoint, &Transform};
inline constexpr TypeInfo RotateAboutAxisTransform{kQ3TransformTypeRotateAboutAxis, &Transform};
inline constexpr TypeInfo QuaternionTransform{kQ3TransformTypeQuaternion, &Transform};
inline constexpr TypeInfo MatrixTransform{kQ3TransformTypeMatrix, &Transform};
inline constexpr TypeInfo ResetTransform{kQ3TransformTypeReset, &Transform};
inline constexpr TypeInfo Light{kQ3ShapeTypeLight, &Shape};
inline constexpr TypeInfo AmbientLight{kQ3LightTypeAmbient, &Light};
inline constexpr TypeInfo DirectionalLight{kQ3LightTypeDirectional, &Light};
inline constexpr TypeInfo PointLight{kQ3LightTypePoint, &Light};
inline constexpr TypeInfo Camera{kQ3ShapeTypeCamera, &Shape};
inline constexpr TypeInfo ViewAngleAspectCamera{kQ3CameraTypeViewAngleAspect, &Camera};

inline constexpr TypeInfo Group{kQ3ShapeTypeGroup, &Shape};
inline constexpr TypeInfo DisplayGroup{kQ3GroupTypeDisplay, &Group};
inline constexpr TypeInfo OrderedDisplayGroup{kQ3DisplayGroupTypeOrdered, &DisplayGroup};
inline constexpr TypeInfo LightGroup{kQ3GroupTypeLight, &Group};
inline constexpr TypeInfo InfoGroup{kQ3GroupTypeInfo, &Group};

inline constexpr TypeInfo Renderer{kQ3SharedTypeRenderer, &Shared};
inline constexpr TypeInfo InteractiveRenderer{kQ3RendererTypeInteractive, &Renderer};
inline constexpr TypeInfo WireFrameRenderer{kQ3RendererTypeWireFrame, &Renderer};
inline constexpr TypeInfo Set{kQ3SharedTypeSet, &Shared};
inline constexpr TypeInfo AttributeSet{kQ3SetTypeAttribute, &Set};
inline constexpr TypeInfo DrawContext{kQ3SharedTypeDrawContext, &Shared};
inline constexpr TypeInfo PixmapDrawContext{kQ3DrawContextTypePixmap, &DrawContext};
inline constexpr TypeInfo Win32DCDrawContext{kQ3DrawContextTypeWin32DC, &DrawContext};
inline constexpr TypeInfo Texture{kQ3SharedTypeTexture, &Shared};
inline constexpr TypeInfo PixmapTexture{kQ3TextureTypePixmap, &Texture};
inline constexpr TypeInfo MipmapTexture{kQ3TextureTypeMipmap, &Texture};
inline constexpr TypeInfo File{kQ3SharedTypeFile, &Shared};
inline constexpr TypeInfo Storage{kQ3SharedTypeStorage, &Shared};
inline constexpr TypeInfo MemoryStorage{kQ3StorageTypeMemory, &Storage};
} // namespace type

// True when `type` is `info` or one of its ancestors (Root excluded).
constexpr bool typeChainContains(const TypeInfo &info, TQ3ObjectType wanted) {
  if (wanted == kQ3ObjectTypeInvalid) return false;
  for (const TypeInfo *t = &info; t; t = t->parent)
    if (t->type == wanted) return true;
  return false;
}

// The type one step below `ancestor` on the way to `info` (kQ3ObjectTypeInvalid
// when `ancestor` is not above `info`). With type::Root as ancestor this is the
// object's kind.
constexpr TQ3ObjectType typeBelow(const TypeInfo &info, const TypeInfo &ancestor) {
  for (const TypeInfo *t = &info; t && t->parent; t = t->parent)
    if (t->parent == &ancestor) return t->type;
  return kQ3ObjectTypeInvalid;
}

} // namespace q3
