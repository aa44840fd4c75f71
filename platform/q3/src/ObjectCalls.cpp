// ObjectCalls.cpp: the public calls every object answers (Q3Object_*,
// Q3Shared_*, Q3Shape_GetType). Each validates its argument through
// validate<T>, which posts the one error of a failing call.
#include "Object.h"

Q3_EXTERN_API_C(TQ3Status) Q3Object_Dispose(TQ3Object object) {
  q3::Object *obj = q3::validate<q3::Object>(object);
  if (!obj) return kQ3Failure;
  q3::release(obj);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Object_GetType(TQ3Object object) {
  const q3::Object *obj = q3::validate<q3::Object>(object);
  return obj ? q3::typeBelow(obj->typeInfo(), q3::type::Root) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Object_GetLeafType(TQ3Object object) {
  const q3::Object *obj = q3::validate<q3::Object>(object);
  return obj ? obj->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Boolean) Q3Object_IsType(TQ3Object object, TQ3ObjectType type) {
  const q3::Object *obj = q3::validate<q3::Object>(object);
  return obj && obj->isType(type) ? kQ3True : kQ3False;
}

Q3_EXTERN_API_C(TQ3Boolean) Q3Object_IsDrawable(TQ3Object object) {
  const q3::Object *obj = q3::validate<q3::Object>(object);
  return obj && obj->isDrawable() ? kQ3True : kQ3False;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Shared_GetType(TQ3SharedObject sharedObject) {
  const q3::SharedObject *obj = q3::validate<q3::SharedObject>(sharedObject);
  return obj ? q3::typeBelow(obj->typeInfo(), q3::type::Shared) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3SharedObject) Q3Shared_GetReference(TQ3SharedObject sharedObject) {
  q3::SharedObject *obj = q3::validate<q3::SharedObject>(sharedObject);
  if (!obj) return nullptr;
  obj->retain();
  return sharedObject;
}

Q3_EXTERN_API_C(TQ3Uns32) Q3Shared_GetReferenceCount(TQ3SharedObject sharedObject) {
  const q3::SharedObject *obj = q3::validate<q3::SharedObject>(sharedObject);
  return obj ? obj->referenceCount() : 0;
}

Q3_EXTERN_API_C(TQ3Uns32) Q3Shared_GetEditIndex(TQ3SharedObject sharedObject) {
  const q3::SharedObject *obj = q3::validate<q3::SharedObject>(sharedObject);
  return obj ? obj->editIndex() : 0;
}

Q3_EXTERN_API_C(TQ3Status) Q3Shared_Edited(TQ3SharedObject sharedObject) {
  q3::SharedObject *obj = q3::validate<q3::SharedObject>(sharedObject);
  if (!obj) return kQ3Failure;
  obj->edited();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Shape_GetType(TQ3ShapeObject shape) {
  const q3::Shape *obj = q3::validate<q3::Shape>(shape);
  return obj ? q3::typeBelow(obj->typeInfo(), q3::type::Shape) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Uns32) Q3Object_CountLive(void) { return q3::registry::liveCount(); }
