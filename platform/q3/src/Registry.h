// Registry.h: the table of live objects behind every object reference.
//
// What it owns: every object made through q3::create(), from registration
// until destroy() or close(). A public reference is a 32-bit token that maps
// to its object here; tokens are scrambled serial numbers, never below
// 0x10000 (small integers typed by a user are never live) and never handed
// out twice while the process runs, across Q3Exit and Q3Initialize too, so
// a stale reference cannot reach a newer object that happens to reuse the
// memory. find() only looks the token up: it never reads memory through it.
//
// Only Library.cpp opens and closes the registry, and only Object.h / Object.cpp
// add, find and destroy; other modules go through create() and validate().
#pragma once

#include "Q3Core.h"

namespace q3 {
class Object;

namespace registry {
// Makes the empty table. False when memory runs out.
bool open();
// Destroys every live object, oldest first, whatever its reference count,
// then frees the table. While it runs, isClosing() is true and release()
// does nothing, so destructors may drop the references they hold in any
// order without touching objects already gone.
void close();
bool isClosing();

// Gives obj its token and records it. False when memory runs out (obj is
// then not registered and still the caller's to delete).
bool add(Object *obj);
// Unregisters obj, then deletes it.
void destroy(Object *obj);
// The live object behind ref, or nullptr. Never dereferences ref.
Object *find(TQ3Object ref);
// The public reference of a registered object.
TQ3Object handleOf(const Object *obj);
// How many objects are registered (0 while closed).
TQ3Uns32 liveCount();
} // namespace registry
} // namespace q3
