/* Q3Geometry.h: geometries.

   Every geometry may carry an attribute set of its own (Q3Geometry_Get/
   SetAttributeSet). A TriMesh is made from a TQ3TriMeshData record: q3
   copies every array and takes its own references to the attribute sets,
   so the caller keeps ownership of the record. Q3TriMesh_GetData fills a
   record with arrays q3 allocates and references the caller holds;
   Q3TriMesh_EmptyData gives them back. Other geometry kinds (triangle,
   polygon, general polygon, line, polyline, point, box, mesh, trigrid,
   polyhedron, ellipsoid, cylinder, cone, disk, torus, ellipse) come from
   3DMF files.

   Every geometry is drawn, picked and bounded as a tessellation in its local
   coordinates; q3 adds calls that describe it, for diagnostics and tests. */
#ifndef Q3_GEOMETRY_H
#define Q3_GEOMETRY_H

#include "Q3Core.h"
#include "Q3Set.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TQ3TriMeshTriangleData {
  TQ3Uns32 pointIndices[3];
} TQ3TriMeshTriangleData;

/* kQ3ArrayIndexNULL in triangleIndices: no triangle on that side. */
#define kQ3ArrayIndexNULL 0xFFFFFFFFu
typedef struct TQ3TriMeshEdgeData {
  TQ3Uns32 pointIndices[2];
  TQ3Uns32 triangleIndices[2];
} TQ3TriMeshEdgeData;

/* data holds one value record of attributeType per element (per triangle,
   edge or point); attributeUseArray, when not NULL, one char per element:
   non-zero where the element has the value. */
typedef struct TQ3TriMeshAttributeData {
  TQ3AttributeType attributeType;
  void *data;
  char *attributeUseArray;
} TQ3TriMeshAttributeData;

typedef struct TQ3TriMeshData {
  TQ3AttributeSet triMeshAttributeSet;
  TQ3Uns32 numTriangles;
  TQ3TriMeshTriangleData *triangles;
  TQ3Uns32 numTriangleAttributeTypes;
  TQ3TriMeshAttributeData *triangleAttributeTypes;
  TQ3Uns32 numEdges;
  TQ3TriMeshEdgeData *edges;
  TQ3Uns32 numEdgeAttributeTypes;
  TQ3TriMeshAttributeData *edgeAttributeTypes;
  TQ3Uns32 numPoints;
  TQ3Point3D *points;
  TQ3Uns32 numVertexAttributeTypes;
  TQ3TriMeshAttributeData *vertexAttributeTypes;
  TQ3BoundingBox bBox;
} TQ3TriMeshData;

/* Fails with kQ3ErrorInvalidParameter on an index past numPoints, a
   non-finite point, an attribute type without a per-element record, or a
   missing array. The bounding box is recomputed from the points. */
Q3_EXTERN_API_C(TQ3GeometryObject) Q3TriMesh_New(const TQ3TriMeshData *triMeshData);
Q3_EXTERN_API_C(TQ3Status) Q3TriMesh_GetData(TQ3GeometryObject triMesh, TQ3TriMeshData *triMeshData);
Q3_EXTERN_API_C(TQ3Status) Q3TriMesh_EmptyData(TQ3TriMeshData *triMeshData);

/* The type just below kQ3ShapeTypeGeometry. */
Q3_EXTERN_API_C(TQ3ObjectType) Q3Geometry_GetType(TQ3GeometryObject geometry);
/* Hands out a reference (NULL when the geometry has no set). */
Q3_EXTERN_API_C(TQ3Status) Q3Geometry_GetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet *attributeSet);
/* Takes a reference; NULL removes the set. */
Q3_EXTERN_API_C(TQ3Status) Q3Geometry_SetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet attributeSet);

/* q3's additions: the tessellation the views draw. */
typedef struct TQ3GeometryMeshInfo {
  TQ3Uns32 numVertices;
  TQ3Uns32 numTriangles;
  TQ3Uns32 numFaces;
  TQ3Uns32 numLines;
  TQ3Uns32 numPoints;
  TQ3BoundingBox bounds; /* of the vertices, local coordinates */
} TQ3GeometryMeshInfo;

#define kQ3MeshValueNormal 1u
#define kQ3MeshValueUV 2u
#define kQ3MeshValueDiffuse 4u
#define kQ3MeshValueTransparency 8u
typedef struct TQ3GeometryMeshValues {
  TQ3Uns32 mask; /* kQ3MeshValue* present */
  TQ3Vector3D normal;
  TQ3Param2D uv;
  TQ3ColorRGB diffuse;
  TQ3ColorRGB transparency;
} TQ3GeometryMeshValues;

Q3_EXTERN_API_C(TQ3Status) Q3Geometry_GetMeshInfo(TQ3GeometryObject geometry, TQ3GeometryMeshInfo *info);
Q3_EXTERN_API_C(TQ3Status)
Q3Geometry_GetMeshVertex(TQ3GeometryObject geometry, TQ3Uns32 index, TQ3Point3D *point, TQ3GeometryMeshValues *values);
/* The triangle's vertex indices and its face index. */
Q3_EXTERN_API_C(TQ3Status)
Q3Geometry_GetMeshTriangle(TQ3GeometryObject geometry, TQ3Uns32 index, TQ3Uns32 vertices[3], TQ3Uns32 *face);
/* The values of a face; index kQ3ArrayIndexNULL gives the geometry's own. */
Q3_EXTERN_API_C(TQ3Status)
Q3Geometry_GetMeshFace(TQ3GeometryObject geometry, TQ3Uns32 index, TQ3GeometryMeshValues *values);

/* q3's addition: one decoded texel as 0xAARRGGBB, row 0 the top row. */
Q3_EXTERN_API_C(TQ3Status) Q3Texture_GetPixel(TQ3TextureObject texture, TQ3Uns32 x, TQ3Uns32 y, TQ3Uns32 *argb);

#ifdef __cplusplus
}
#endif
#endif
