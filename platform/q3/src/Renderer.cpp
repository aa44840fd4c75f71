// Renderer.cpp: making renderers.
#include "Renderer.h"

#include "Q3Render.h"

Q3_EXTERN_API_C(TQ3RendererObject) Q3Renderer_NewFromType(TQ3ObjectType rendererObjectType) {
  if (!q3::requireInitialized()) return nullptr;
  switch (rendererObjectType) {
  case kQ3RendererTypeInteractive: return q3::handleOf(q3::create<q3::Renderer>(q3::type::InteractiveRenderer));
  case kQ3RendererTypeWireFrame: return q3::handleOf(q3::create<q3::Renderer>(q3::type::WireFrameRenderer));
  default: q3::postError(kQ3ErrorInvalidObjectType); return nullptr;
  }
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Renderer_GetType(TQ3RendererObject renderer) {
  const q3::Renderer *r = q3::validate<q3::Renderer>(renderer);
  return r ? r->leafType() : kQ3ObjectTypeInvalid;
}
