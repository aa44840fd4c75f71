// PickPass.h: the picking pass of a view.
//
// Contract: at open the pass empties the pick's hit list and builds the
// world-space ray through the pick's pixel centre (from the hither to the
// yon plane) and the window mapping of the view's draw context. Triangles
// are hit by the ray (back faces skipped under backfacing Remove); points
// and lines are hit within the pick's vertex and edge tolerances, in
// pixels. close() sorts the hits.
#pragma once

#include "View.h"

namespace q3 {
class Pick;
std::unique_ptr<LoopPass> makePickPass(View &view, Pick &pick);
} // namespace q3
