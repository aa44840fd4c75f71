// The Vector3D script class: its definition record. Members are listed here as
// they are built; a record never names a function that does not exist yet.
#include "plugin/Registration.h"

namespace du3v {

ClassDefinition Vector3DClass = {
    kRecordVersion, "Vector3D", nullptr, 12, 0, nullptr, nullptr, nullptr, 0, nullptr, 0, {},
};

} // namespace du3v
