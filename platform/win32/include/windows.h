/* windows.h: the small part of Win32 that Du3V's plugin, 3D library and
   reference host use, for the i386 Linux target. On Windows the real header
   is used instead, so everything here follows the documented Win32 contracts
   (names, values, layouts, results); tests run the same cases against both.

   Usage: #include <windows.h> as on Windows; link libw32.
   Handles are validated: a stale, foreign or null handle makes a call fail
   (returning its documented failure value) instead of crashing.
   Pixels: windows and memory bitmaps are 32-bit surfaces; COLORREF is
   0x00BBGGRR as on Windows.
   Extension (not Win32): W32_SetDebugOutputHook receives every
   OutputDebugStringA text, so tests can read debugger output. */
#ifndef DU3V_W32_WINDOWS_H
#define DU3V_W32_WINDOWS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WINAPI
#define CALLBACK
#define APIENTRY
#define W32_API __attribute__((visibility("default")))

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef const char *LPCSTR;
typedef char *LPSTR;
typedef DWORD *LPDWORD;
typedef DWORD COLORREF;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef uintptr_t SIZE_T;
typedef WORD ATOM;

typedef void *HANDLE;
typedef struct W32_HWND__ *HWND;
typedef struct W32_HDC__ *HDC;
typedef struct W32_HGDIOBJ__ *HGDIOBJ;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HPEN;
typedef HANDLE HGLOBAL;
typedef HANDLE HINSTANCE;
typedef HANDLE HMODULE;
typedef HANDLE HICON;
typedef HANDLE HCURSOR;
typedef HANDLE HMENU;

#define TRUE 1
#define FALSE 0

typedef struct tagRECT {
  LONG left, top, right, bottom;
} RECT, *LPRECT;
typedef const RECT *LPCRECT;

typedef struct tagPOINT {
  LONG x, y;
} POINT;

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)((c) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))
#define CLR_INVALID 0xFFFFFFFF

/* Errors */
#define ERROR_SUCCESS 0
#define NO_ERROR 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_PARAMETER 87
#define ERROR_NOT_LOCKED 158
#define ERROR_FILE_EXISTS 80
W32_API DWORD GetLastError(void);
W32_API void SetLastError(DWORD code);

/* Debugger output */
W32_API void OutputDebugStringA(LPCSTR text);
typedef void (*W32_DebugOutputHook)(const char *text, void *context);
W32_API void W32_SetDebugOutputHook(W32_DebugOutputHook hook, void *context);

/* Rectangles */
W32_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
W32_API BOOL SetRectEmpty(LPRECT rect);
W32_API BOOL InflateRect(LPRECT rect, int dx, int dy);
W32_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
W32_API BOOL IsRectEmpty(const RECT *rect);

/* GDI objects */
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DC_BRUSH 18
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10
W32_API HGDIOBJ GetStockObject(int object);
W32_API HBRUSH CreateSolidBrush(COLORREF color);
W32_API BOOL DeleteObject(HGDIOBJ object);
W32_API DWORD GetObjectType(HGDIOBJ object);
W32_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

W32_API int FillRect(HDC dc, const RECT *rect, HBRUSH brush);
W32_API int FrameRect(HDC dc, const RECT *rect, HBRUSH brush);
W32_API COLORREF GetPixel(HDC dc, int x, int y);
W32_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

/* Device-independent bitmaps */
#define BI_RGB 0
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define SRCCOPY 0x00CC0020
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER;
typedef struct tagRGBQUAD {
  BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
} RGBQUAD;
typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO;

W32_API HDC CreateCompatibleDC(HDC dc);
W32_API BOOL DeleteDC(HDC dc);
W32_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section, DWORD offset);
W32_API int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                              UINT lines, const void *bits, const BITMAPINFO *info, UINT usage);
W32_API int StretchDIBits(HDC dc, int xDest, int yDest, int destW, int destH, int xSrc, int ySrc, int srcW, int srcH,
                          const void *bits, const BITMAPINFO *info, UINT usage, DWORD rop);
W32_API BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);

/* Windows: top-level windows whose client area is a pixel surface. */
#define WS_POPUP 0x80000000u
#define WS_VISIBLE 0x10000000u
#define WS_CHILD 0x40000000u
#define WS_OVERLAPPEDWINDOW 0x00CF0000u
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_HIDE 0
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define WM_DESTROY 0x0002
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_ERASEBKGND 0x0014
typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct tagWNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
} WNDCLASSA;
W32_API ATOM RegisterClassA(const WNDCLASSA *wc);
W32_API BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance);
W32_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int w, int h,
                             HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
W32_API BOOL DestroyWindow(HWND window);
W32_API BOOL IsWindow(HWND window);
W32_API BOOL ShowWindow(HWND window, int cmd);
W32_API BOOL UpdateWindow(HWND window);
W32_API BOOL GetClientRect(HWND window, LPRECT rect);
W32_API BOOL MoveWindow(HWND window, int x, int y, int w, int h, BOOL repaint);
W32_API LRESULT DefWindowProcA(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
W32_API HDC GetDC(HWND window);
W32_API int ReleaseDC(HWND window, HDC dc);
W32_API HWND WindowFromDC(HDC dc);
W32_API HMODULE GetModuleHandleA(LPCSTR name);

/* Files */
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
typedef struct _SECURITY_ATTRIBUTES *LPSECURITY_ATTRIBUTES;
typedef struct _OVERLAPPED *LPOVERLAPPED;
W32_API HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                           DWORD flags, HANDLE templateFile);
W32_API DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
W32_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
W32_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped);
W32_API BOOL CloseHandle(HANDLE object);
W32_API BOOL DeleteFileA(LPCSTR path);

/* Global memory */
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
W32_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
W32_API HGLOBAL GlobalFree(HGLOBAL memory);
W32_API LPVOID GlobalLock(HGLOBAL memory);
W32_API BOOL GlobalUnlock(HGLOBAL memory);
W32_API SIZE_T GlobalSize(HGLOBAL memory);

#ifdef __cplusplus
}
#endif
#endif
