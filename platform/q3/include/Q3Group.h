/* Q3Group.h: groups.

   A group holds an ordered list of objects, each with a reference of the
   group's own: Q3Group_AddObject adds one (the caller keeps its reference),
   removing or emptying gives it back. Positions name an entry; they stay
   valid until that entry is removed, and a stale or foreign position is
   refused (kQ3ErrorInvalidPositionForGroup), never followed.

   - Display groups take drawable objects (geometries, groups, styles,
     transforms, shaders, attribute sets). Submitting one pushes the view
     state, submits the members in order and pops, unless the group is
     inline. Its state (Q3DisplayGroup_GetState/SetState) decides whether it
     is drawn, picked and bounded at all.
   - Ordered display groups keep their members sorted by kind: transforms,
     styles, attribute sets, shaders, geometries, groups, then the rest;
     members of one kind keep the order they were added in.
   - Light groups take lights; views read them, submitting them draws nothing.
   - Info groups and plain groups (Q3Group_New) take any shared object and
     draw nothing, resp. draw like a display group.
   A group never takes itself or a group that contains it
   (kQ3ErrorInvalidObjectForGroup). */
#ifndef Q3_GROUP_H
#define Q3_GROUP_H

#include "Q3Core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueTQ3GroupPosition *TQ3GroupPosition;

/* Display group state masks. The default state is every mask but IsInline. */
typedef TQ3Uns32 TQ3DisplayGroupState;
#define kQ3DisplayGroupStateNone 0u
#define kQ3DisplayGroupStateMaskIsDrawn (1u << 0)
#define kQ3DisplayGroupStateMaskIsInline (1u << 1)
#define kQ3DisplayGroupStateMaskUseBoundingBox (1u << 2)
#define kQ3DisplayGroupStateMaskUseBoundingSphere (1u << 3)
#define kQ3DisplayGroupStateMaskIsPicked (1u << 4)
#define kQ3DisplayGroupStateMaskIsWritten (1u << 5)

Q3_EXTERN_API_C(TQ3GroupObject) Q3Group_New(void);
Q3_EXTERN_API_C(TQ3GroupObject) Q3DisplayGroup_New(void);
Q3_EXTERN_API_C(TQ3GroupObject) Q3OrderedDisplayGroup_New(void);
Q3_EXTERN_API_C(TQ3GroupObject) Q3LightGroup_New(void);
Q3_EXTERN_API_C(TQ3GroupObject) Q3InfoGroup_New(void);
/* The type just below kQ3ShapeTypeGroup (kQ3GroupTypeDisplay, ...), or
   kQ3ShapeTypeGroup itself for a plain group. */
Q3_EXTERN_API_C(TQ3ObjectType) Q3Group_GetType(TQ3GroupObject group);

/* The position of the new entry, NULL on failure. */
Q3_EXTERN_API_C(TQ3GroupPosition) Q3Group_AddObject(TQ3GroupObject group, TQ3Object object);
/* *position becomes NULL when there is no first / next entry. */
Q3_EXTERN_API_C(TQ3Status) Q3Group_GetFirstPosition(TQ3GroupObject group, TQ3GroupPosition *position);
Q3_EXTERN_API_C(TQ3Status) Q3Group_GetLastPosition(TQ3GroupObject group, TQ3GroupPosition *position);
Q3_EXTERN_API_C(TQ3Status) Q3Group_GetNextPosition(TQ3GroupObject group, TQ3GroupPosition *position);
Q3_EXTERN_API_C(TQ3Status) Q3Group_GetPreviousPosition(TQ3GroupObject group, TQ3GroupPosition *position);
/* Hands out a reference the caller disposes. */
Q3_EXTERN_API_C(TQ3Status)
Q3Group_GetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object *object);
/* The entry takes a reference to object and gives back the old one's. */
Q3_EXTERN_API_C(TQ3Status) Q3Group_SetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object);
/* Removes the entry and hands its reference to the caller. */
Q3_EXTERN_API_C(TQ3Object) Q3Group_RemovePosition(TQ3GroupObject group, TQ3GroupPosition position);
Q3_EXTERN_API_C(TQ3Status) Q3Group_CountObjects(TQ3GroupObject group, TQ3Uns32 *nObjects);
Q3_EXTERN_API_C(TQ3Status) Q3Group_EmptyObjects(TQ3GroupObject group);

Q3_EXTERN_API_C(TQ3Status) Q3DisplayGroup_GetState(TQ3GroupObject group, TQ3DisplayGroupState *state);
Q3_EXTERN_API_C(TQ3Status) Q3DisplayGroup_SetState(TQ3GroupObject group, TQ3DisplayGroupState state);

#ifdef __cplusplus
}
#endif
#endif
