// DemoScene.h: the built-in sample scene of `du3v demo`: 3DMF text carried
// in the program, read through the plugin like any script's data.
#pragma once

#include "host/Host.h"

#include <string>

namespace du3v_tool {

// 3DMF text of a unit cube (edge 2, centred) in one diffuse colour.
std::string CubeText(float r, float g, float b);
// 3DMF text of a 2x2 quad in the XY plane, textured with an 8x8 checker.
std::string CheckerQuadText();

// Appends the demo's objects to the scene group.
void BuildDemoScene(host::Host &host, const host::Ref &objects);

} // namespace du3v_tool
