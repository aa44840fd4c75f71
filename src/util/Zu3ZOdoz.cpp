#include "util/Zu3ZOdoz.h"

namespace Zu3ZOdoz {
TQ3ShaderObject NullIlluminationShader = nullptr;
TQ3ViewObject BoundingView = nullptr;
} // namespace Zu3ZOdoz

namespace {
uint32_t QuesaUsers = 0;
}

void AcquireQuesa() {
  if (QuesaUsers == 0 && Q3IsInitialized() == kQ3False) CheckQuesa(Q3Initialize(), DiagnosticSite::QuesaInitialize);
  // Counted even when initialisation failed: the user still releases, and
  // its q3 calls fail and are reported where their status is tested.
  ++QuesaUsers;
}

void ReleaseQuesa() {
  if (QuesaUsers == 0) return;
  if (--QuesaUsers != 0) return;
  // The shared objects must go before the library does; they are made again
  // on first need once q3 is initialised anew.
  if (Zu3ZOdoz::NullIlluminationShader) {
    Q3Object_Dispose(Zu3ZOdoz::NullIlluminationShader);
    Zu3ZOdoz::NullIlluminationShader = nullptr;
  }
  if (Zu3ZOdoz::BoundingView) {
    Q3Object_Dispose(Zu3ZOdoz::BoundingView);
    Zu3ZOdoz::BoundingView = nullptr;
  }
  Q3Exit();
}

uint32_t QuesaUserCount() { return QuesaUsers; }
