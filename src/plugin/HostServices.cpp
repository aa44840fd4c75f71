#include "plugin/HostServices.h"

#include <cstring>

namespace du3v {

HostResolverFunction HostResolver = nullptr;

void *ResolveHostFunction(HostFunction &function) {
  if (!function.address && HostResolver) function.address = HostResolver(function.name);
  return function.address;
}

// Each wrapper keeps its own cache entry, named as the host names the service.
#define DU3V_HOST_SERVICE(Result, Name, Params, Args, Missing)                                                         \
  Result Name Params {                                                                                                 \
    static HostFunction entry{#Name, nullptr};                                                                         \
    using Function = Result(*) Params;                                                                                 \
    auto call = reinterpret_cast<Function>(ResolveHostFunction(entry));                                                \
    return call ? call Args : Missing;                                                                                 \
  }
#define DU3V_HOST_PROCEDURE(Name, Params, Args)                                                                        \
  void Name Params {                                                                                                   \
    static HostFunction entry{#Name, nullptr};                                                                         \
    using Function = void(*) Params;                                                                                   \
    if (auto call = reinterpret_cast<Function>(ResolveHostFunction(entry))) call Args;                                 \
  }

DU3V_HOST_PROCEDURE(PluginRegisterClass, (ClassDefinition * definition), (definition))
DU3V_HOST_PROCEDURE(PluginRegisterControl, (ControlDefinition * definition), (definition))
DU3V_HOST_SERVICE(double, KIVOGetZKVersion, (), (), 0.0)
DU3V_HOST_SERVICE(bool, KIVOinRuntime, (), (), false)
DU3V_HOST_SERVICE(HostObject, PluginNewInstance, (const char *className), (className), nullptr)
DU3V_HOST_SERVICE(HostClassRef, pluginObjectType, (const char *className), (className), nullptr)
DU3V_HOST_PROCEDURE(KIVOLockObject, (HostObject object), (object))
DU3V_HOST_PROCEDURE(KIVOUnlockObject, (HostObject object), (object))
DU3V_HOST_PROCEDURE(RuntimeRaiseException, (HostObject exception), (exception))
DU3V_HOST_SERVICE(const char *, StringGetCString, (HostString string), (string), nullptr)
DU3V_HOST_SERVICE(HostString, KIVOpathFromFolderItem, (HostFolderItem item), (item), nullptr)
DU3V_HOST_PROCEDURE(KIVOUnlockString, (HostString string), (string))
DU3V_HOST_PROCEDURE(lockPictureDescription, (HostPicture picture, PictureDescription *description),
                    (picture, description))
DU3V_HOST_PROCEDURE(unlockPictureDescription, (HostPicture picture), (picture))
DU3V_HOST_SERVICE(HostPicture, KIVOBuildPictureFromBuffer,
                  (int32_t width, int32_t height, int32_t format, const void *buffer, int32_t rowBytes),
                  (width, height, format, buffer, rowBytes), nullptr)
DU3V_HOST_PROCEDURE(drawPicturePrimitive, (HDC dc, HostPicture picture, const HostRect *rect, int32_t flags),
                    (dc, picture, rect, flags))
DU3V_HOST_PROCEDURE(GetControlBounds, (HostControl control, HostRect *rect), (control, rect))
DU3V_HOST_SERVICE(HWND, KIVOGetControlHandle, (HostControl control), (control), nullptr)
DU3V_HOST_SERVICE(HDC, KIVOGraphicsDC, (HostGraphics graphics), (graphics), nullptr)
DU3V_HOST_PROCEDURE(KIVOInvalidateControl, (HostControl control), (control))
DU3V_HOST_SERVICE(void *, GetEventInstance, (HostControl control, uint32_t eventHostWord), (control, eventHostWord),
                  nullptr)

// The wrapper gives null for a null class reference without asking the host.
HostObject CreateInstance(HostClassRef type) {
  static HostFunction entry{"CreateInstance", nullptr};
  if (!type) return nullptr;
  auto call = reinterpret_cast<HostObject (*)(HostClassRef)>(ResolveHostFunction(entry));
  return call ? call(type) : nullptr;
}

uint32_t HostStringLength(HostString string) {
  if (!string) return 0;
  uint32_t length;
  std::memcpy(&length, reinterpret_cast<const uint8_t *>(string) + 12, 4);
  return length;
}

} // namespace du3v
