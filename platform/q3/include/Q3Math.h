/* Q3Math.h: point, vector, quaternion, matrix and bounding-volume arithmetic. */
#ifndef Q3_MATH_H
#define Q3_MATH_H

#include "Q3Base.h"

#endif
