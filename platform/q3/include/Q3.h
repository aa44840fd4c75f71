/* Q3.h: the whole C interface of the 3D library (q3).
   q3 implements the QuickDraw 3D interface calls Du3V makes. Include this one
   header; link libq3 (q3.dll on Windows). Every object is reference counted;
   every call validates its object arguments and posts an error readable with
   Q3Error_Get instead of crashing on a dead or foreign reference. */
#ifndef Q3_H
#define Q3_H

#include "Q3Base.h"
#include "Q3Core.h"
#include "Q3Geometry.h"
#include "Q3Group.h"
#include "Q3Math.h"
#include "Q3Render.h"
#include "Q3Set.h"
#include "Q3Storage.h"
#include "Q3Style.h"
#include "Q3Transform.h"
#include "Q3View.h"

#endif
