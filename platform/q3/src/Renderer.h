// Renderer.h: renderer objects. A renderer only names how a rendering pass
// draws (RendererPass.h does the drawing): the interactive renderer fills,
// lights and textures; the wire-frame renderer draws edges unlit.
#pragma once

#include "Object.h"

namespace q3 {

class Renderer : public SharedObject {
public:
  explicit Renderer(const TypeInfo &leaf) : SharedObject(leaf) {}
  bool wireFrame() const { return leafType() == kQ3RendererTypeWireFrame; }
};

} // namespace q3
