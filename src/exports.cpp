// The shared library's own object file: the plugin's code comes whole from
// du3v_core; the export list (du3v.map, du3v.def) names KIVOPluginMain alone.
#ifdef _WIN32
#include <windows.h>

// The load-time entry does nothing of the plugin's own.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
