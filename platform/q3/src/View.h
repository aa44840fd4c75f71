// View.h: the view, q3's one non-shared drawing object. It has a single
// owner: Q3Object_Dispose ends it and Q3Shared_GetReference refuses it.
// The camera, renderer, draw context, lights and loop state join it with
// rendering; this is the object those parts extend.
#pragma once

#include "Object.h"

namespace q3 {

class View : public Object {
public:
  View() : Object(type::View) {}
};

} // namespace q3
