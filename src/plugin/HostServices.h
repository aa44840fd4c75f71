// HostServices.h: the host's entry points, reached by name.
//
// KIVOPluginMain stores the host's resolver; every service below is a small
// wrapper that resolves its entry point on first use and caches it. A
// service the host lacks leaves the cache empty, so it is asked for again on
// the next call, and the wrapper answers 0, false, nil or 0.0, or does
// nothing. Everything runs on the host's one thread; nothing is locked.
#pragma once

#include <windows.h>

#include <cstdint>

namespace du3v {

typedef struct HostObjectRecord *HostObject;
typedef HostObject HostControl;
typedef HostObject HostString;
typedef HostObject HostPicture;
typedef HostObject HostGraphics;
typedef HostObject HostFolderItem;
typedef void *HostClassRef;

// The host's rectangle, in window coordinates.
struct HostRect {
  int16_t top, left, bottom, right;
};
static_assert(sizeof(HostRect) == 8, "HostRect is four 16-bit words");

// Filled by lockPictureDescription: word 2 the global memory handle of a
// packed DIB, word 3 the width, word 4 the height.
struct PictureDescription {
  uint32_t words[6];
};
static_assert(sizeof(PictureDescription) == 24, "PictureDescription is six words");

typedef void *(*HostResolverFunction)(const char *name);
extern HostResolverFunction HostResolver;

// One lazily resolved entry point: null until the host hands one out.
struct HostFunction {
  const char *name;
  void *address;
};
// Steps 1 of every wrapper: resolve when the cache is empty; the answer
// (perhaps null) is stored and returned.
void *ResolveHostFunction(HostFunction &function);

struct ClassDefinition;
struct ControlDefinition;

void PluginRegisterClass(ClassDefinition *definition);
void PluginRegisterControl(ControlDefinition *definition);
double KIVOGetZKVersion();
bool KIVOinRuntime();
HostObject PluginNewInstance(const char *className);
HostClassRef pluginObjectType(const char *className);
HostObject CreateInstance(HostClassRef type);
void KIVOLockObject(HostObject object);
void KIVOUnlockObject(HostObject object);
void RuntimeRaiseException(HostObject exception);
const char *StringGetCString(HostString string);
HostString KIVOpathFromFolderItem(HostFolderItem item);
void KIVOUnlockString(HostString string);
void lockPictureDescription(HostPicture picture, PictureDescription *description);
void unlockPictureDescription(HostPicture picture);
HostPicture KIVOBuildPictureFromBuffer(int32_t width, int32_t height, int32_t format, const void *buffer,
                                       int32_t rowBytes);
void drawPicturePrimitive(HDC dc, HostPicture picture, const HostRect *rect, int32_t flags);
void GetControlBounds(HostControl control, HostRect *rect);
HWND KIVOGetControlHandle(HostControl control);
HDC KIVOGraphicsDC(HostGraphics graphics);
void KIVOInvalidateControl(HostControl control);
// The script's handler of an event (named by the event's host word), or null.
void *GetEventInstance(HostControl control, uint32_t eventHostWord);

// The byte length of a host string: the word at byte 12 (0 for null).
uint32_t HostStringLength(HostString string);

} // namespace du3v
