// Object.h: q3's object model, for every module that defines or takes objects.
//
// What a module may rely on:
// - Object is the base of every q3 object: a leaf TypeInfo (Types.h) whose
//   chain answers Q3Object_IsType, a reference count starting at 1 (the
//   creator's), and a virtual destructor. SharedObject adds the edit index;
//   Shape is the base of geometries, groups, shaders, styles, transforms,
//   lights and cameras. Non-shared kinds (views, picks) derive from Object.
// - create<T>(args...) makes and registers an object; it posts
//   kQ3ErrorNotInitialized or kQ3ErrorOutOfMemory and returns nullptr on
//   failure. Check arguments before calling it: constructors cannot fail.
//   Return handleOf(obj) to the caller.
// - validate<T>(ref) is the one way to turn a public reference into an
//   object: it refuses (posting exactly one error) when the library is down,
//   the reference is zero, not live, or not a T (or not of `required` type);
//   it never dereferences a reference it has not found live.
// - An object that keeps another holds it in a Ref<T>; Ref releases on
//   destruction. Destructors must not touch other objects except through
//   Ref / release(): at the final Q3Exit every object is destroyed in an
//   arbitrary order and release() then does nothing.
// - A SharedObject whose data changes calls edited().
#pragma once

#include "Errors.h"
#include "Library.h"
#include "Registry.h"
#include "Types.h"

#include <new>
#include <utility>

namespace q3 {

class Object {
public:
  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;
  virtual ~Object() = default;

  const TypeInfo &typeInfo() const { return *type_; }
  TQ3ObjectType leafType() const { return type_->type; }
  bool isType(TQ3ObjectType type) const { return typeChainContains(*type_, type); }
  // Shapes other than cameras and lights, and attribute sets.
  bool isDrawable() const;
  TQ3Object handle() const { return registry::handleOf(this); }

  TQ3Uns32 referenceCount() const { return refCount_; }
  // Adds a reference. The count saturates instead of wrapping: an object
  // with that many references stays until the final Q3Exit.
  void retain() {
    if (refCount_ != kPinned) ++refCount_;
  }

protected:
  explicit Object(const TypeInfo &leaf) : type_(&leaf) {}

private:
  static constexpr TQ3Uns32 kPinned = 0xFFFFFFFFu;
  friend void release(Object *obj);
  friend bool registry::add(Object *obj);
  friend void registry::destroy(Object *obj);
  friend void registry::close();
  friend TQ3Object registry::handleOf(const Object *obj);

  const TypeInfo *type_;
  TQ3Uns32 refCount_ = 1;
  TQ3Uns32 token_ = 0;
  Object *prevLive_ = nullptr;
  Object *nextLive_ = nullptr;
};

// Gives one reference back; the object goes with its last. Does nothing for
// nullptr or while the registry is closing (see Registry.h).
void release(Object *obj);

class SharedObject : public Object {
public:
  TQ3Uns32 editIndex() const { return editIndex_; }
  // Call after every change to the object's data.
  void edited();

protected:
  explicit SharedObject(const TypeInfo &leaf);

private:
  TQ3Uns32 editIndex_;
};

class SubmitTarget;

class Shape : public SharedObject {
public:
  // Enters the view's current pass (Submit.h). Shapes without an effect
  // there (cameras, for example) submit nothing.
  virtual void submit(SubmitTarget &target) const { (void)target; }

protected:
  using SharedObject::SharedObject;
};

// One owned reference. Stores the base pointer so that dropping it never
// converts a pointer to an object that may already be gone.
template <class T> class Ref {
public:
  Ref() = default;
  // Takes over a reference the caller already owns (e.g. from create()).
  static Ref adopt(T *obj) {
    Ref r;
    r.obj_ = obj;
    return r;
  }
  // Adds a reference of its own.
  static Ref share(T *obj) {
    if (obj) obj->retain();
    return adopt(obj);
  }
  Ref(const Ref &other) : obj_(other.obj_) {
    if (obj_) obj_->retain();
  }
  Ref(Ref &&other) noexcept : obj_(std::exchange(other.obj_, nullptr)) {}
  Ref &operator=(Ref other) noexcept {
    std::swap(obj_, other.obj_);
    return *this;
  }
  ~Ref() { release(obj_); }

  T *get() const { return static_cast<T *>(obj_); }
  T *operator->() const { return get(); }
  explicit operator bool() const { return obj_ != nullptr; }
  void reset() { release(std::exchange(obj_, nullptr)); }
  // Hands the reference to the caller (who returns or releases it).
  T *detach() { return static_cast<T *>(std::exchange(obj_, nullptr)); }

private:
  Object *obj_ = nullptr;
};

inline TQ3Object handleOf(const Object *obj) { return obj ? obj->handle() : nullptr; }

template <class T, class... Args> T *create(Args &&...args) {
  if (!requireInitialized()) return nullptr;
  T *obj = nullptr;
  try {
    obj = new T(std::forward<Args>(args)...);
  } catch (const std::bad_alloc &) {
    // reported below; nothing may escape into a C caller
  }
  if (obj && registry::add(obj)) return obj;
  delete obj;
  postError(kQ3ErrorOutOfMemory);
  return nullptr;
}

// The live object behind ref, or nullptr after posting kQ3ErrorNotInitialized,
// kQ3ErrorNULLParameter or kQ3ErrorInvalidObject.
Object *validateObject(TQ3Object ref);

template <class T> T *validate(TQ3Object ref) {
  Object *obj = validateObject(ref);
  if (!obj) return nullptr;
  T *typed = dynamic_cast<T *>(obj);
  if (!typed) postError(kQ3ErrorInvalidObjectType);
  return typed;
}

// As validate<T>, and the object must also be of `required` type (for calls
// that take one leaf kind of a class, e.g. only display groups).
template <class T> T *validate(TQ3Object ref, TQ3ObjectType required) {
  Object *obj = validateObject(ref);
  if (!obj) return nullptr;
  T *typed = dynamic_cast<T *>(obj);
  if (!typed || !obj->isType(required)) {
    postError(kQ3ErrorInvalidObjectType);
    return nullptr;
  }
  return typed;
}

// For pointer arguments a call writes through or reads from.
inline bool requirePointer(const void *p) {
  if (p) return true;
  postError(kQ3ErrorNULLParameter);
  return false;
}

} // namespace q3
