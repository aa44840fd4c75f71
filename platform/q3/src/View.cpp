// View.cpp: making views.
#include "View.h"

Q3_EXTERN_API_C(TQ3ViewObject) Q3View_New(void) { return q3::handleOf(q3::create<q3::View>()); }
