// The Zu3ROzuvu control (module View3D): its definition record. Members and
// behaviour slots are filled in as they are built.
#include "plugin/Registration.h"

namespace du3v {

namespace {
ControlBehaviour View3DBehaviour = {};
} // namespace

ControlDefinition View3DControl = {
    kRecordVersion,
    "Zu3ROzuvu",
    440, // View3DData: 424 bytes used, 16 spare
    8,   // control flags
    128, // icon picture
    129, // icon picture, pressed
    256, // default width
    256, // default height
    nullptr,
    0,
    nullptr,
    0,
    nullptr,
    0,
    &View3DBehaviour,
    0,
    {},
};

} // namespace du3v
