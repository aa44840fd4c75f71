// Object.cpp: reference counting, edit indices and validation of references.
#include "Object.h"

namespace {
// One counter for every shared object, kept across Q3Exit, so an edit index
// is never repeated and a later change always has a larger one.
TQ3Uns32 lastEditIndex = 0;

TQ3Uns32 nextEditIndex() {
  if (++lastEditIndex == 0) ++lastEditIndex; // 0 is the failure answer
  return lastEditIndex;
}
} // namespace

namespace q3 {

bool Object::isDrawable() const {
  if (isType(kQ3SetTypeAttribute)) return true;
  return isType(kQ3SharedTypeShape) && !isType(kQ3ShapeTypeCamera) && !isType(kQ3ShapeTypeLight);
}

void release(Object *obj) {
  if (!obj || registry::isClosing()) return;
  if (obj->refCount_ == Object::kPinned) return;
  if (--obj->refCount_ == 0) registry::destroy(obj);
}

SharedObject::SharedObject(const TypeInfo &leaf) : Object(leaf), editIndex_(nextEditIndex()) {}

void SharedObject::edited() { editIndex_ = nextEditIndex(); }

Object *validateObject(TQ3Object ref) {
  if (!requireInitialized()) return nullptr;
  if (!ref) {
    postError(kQ3ErrorNULLParameter);
    return nullptr;
  }
  Object *obj = registry::find(ref);
  if (!obj) postError(kQ3ErrorInvalidObject);
  return obj;
}

} // namespace q3
