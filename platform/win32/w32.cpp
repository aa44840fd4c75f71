// The Linux implementation of the Win32 subset declared in include/windows.h.
// Every handle is a key into one registry of live objects, so a stale or
// foreign handle is refused with the documented failure value. The plugin,
// the 3D library and the host share this one instance (it is a shared
// library), so a window created by the host is the window the plugin draws in.
#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

thread_local DWORD lastError = 0;

void fail(DWORD code) { lastError = code; }

// ---- registry -------------------------------------------------------------

enum class Kind { Brush, Bitmap, Dc, Window, File, Global };

struct Object {
  Kind kind;
  virtual ~Object() = default;
  explicit Object(Kind k) : kind(k) {}
};

std::recursive_mutex registryLock;
std::map<uintptr_t, std::unique_ptr<Object>> &registry() {
  static std::map<uintptr_t, std::unique_ptr<Object>> objects;
  return objects;
}

// Handles are addresses of the objects themselves, so they are unique while
// the object lives; a freed address is reused only by a new object.
template <class T> T *lookup(const void *handle, Kind kind) {
  auto &reg = registry();
  auto it = reg.find(reinterpret_cast<uintptr_t>(handle));
  if (it == reg.end() || it->second->kind != kind) return nullptr;
  return static_cast<T *>(it->second.get());
}

template <class T> void *add(std::unique_ptr<T> object) {
  void *handle = object.get();
  registry()[reinterpret_cast<uintptr_t>(handle)] = std::move(object);
  return handle;
}

void remove(const void *handle) { registry().erase(reinterpret_cast<uintptr_t>(handle)); }

// ---- pixel surfaces -------------------------------------------------------

// A view of pixels that a DC draws into: a window's buffer or a DIB section.
struct Surface {
  BYTE *bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int bpp = 32;
  bool bottomUp = false;
  const RGBQUAD *palette = nullptr;
  int paletteCount = 0;

  BYTE *row(int y) const { return bits + static_cast<ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  COLORREF get(int x, int y) const {
    const BYTE *p = row(y);
    switch (bpp) {
    case 32: p += 4 * x; return RGB(p[2], p[1], p[0]);
    case 24: p += 3 * x; return RGB(p[2], p[1], p[0]);
    case 8: {
      int i = p[x];
      if (i >= paletteCount) return 0;
      return RGB(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
    }
    }
    return CLR_INVALID;
  }

  int nearestIndex(COLORREF c) const {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < paletteCount; ++i) {
      long dr = palette[i].rgbRed - GetRValue(c), dg = palette[i].rgbGreen - GetGValue(c),
           db = palette[i].rgbBlue - GetBValue(c);
      long d = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
    }
    return best;
  }

  void set(int x, int y, COLORREF c) {
    BYTE *p = row(y);
    switch (bpp) {
    case 32:
      p += 4 * x;
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c), p[3] = 0;
      break;
    case 24:
      p += 3 * x;
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
      break;
    case 8: p[x] = static_cast<BYTE>(nearestIndex(c)); break;
    }
  }
};

struct Brush : Object {
  COLORREF color;
  bool hollow;
  bool stock;
  Brush(COLORREF c, bool h, bool s) : Object(Kind::Brush), color(c), hollow(h), stock(s) {}
};

struct Bitmap : Object {
  std::vector<BYTE> storage;
  std::vector<RGBQUAD> palette;
  Surface surface;
  bool stock = false;
  HDC selectedInto = nullptr;
  bool deletePending = false;
  Bitmap() : Object(Kind::Bitmap) {}
};

struct Window : Object {
  std::vector<BYTE> pixels;
  Surface surface;
  WNDPROC proc = nullptr;
  COLORREF background = 0;
  bool hasBackground = false;
  int x = 0, y = 0;
  Window() : Object(Kind::Window) {}

  void resize(int w, int h) {
    std::vector<BYTE> next(static_cast<size_t>(w) * h * 4, 0);
    Surface view{next.data(), w, h, w * 4, 32, false, nullptr, 0};
    for (int yy = 0; yy < h; ++yy)
      for (int xx = 0; xx < w; ++xx)
        view.set(xx, yy, surface.contains(xx, yy) ? surface.get(xx, yy) : (hasBackground ? background : 0));
    pixels.swap(next);
    surface = Surface{pixels.data(), w, h, w * 4, 32, false, nullptr, 0};
  }
};

struct Dc : Object {
  HWND window = nullptr; // window DC, or null for a memory DC
  HBITMAP bitmap = nullptr;
  HBRUSH brush = nullptr;
  Dc() : Object(Kind::Dc) {}
};

struct File : Object {
  int fd;
  explicit File(int f) : Object(Kind::File), fd(f) {}
  ~File() override { ::close(fd); }
};

struct Global : Object {
  std::vector<BYTE> bytes;
  bool fixed;
  int locks = 0;
  Global(size_t n, bool f) : Object(Kind::Global), bytes(n), fixed(f) {}
};

struct Stock {
  HGDIOBJ objects[19] = {};
  HBITMAP defaultBitmap = nullptr;
};

Stock &stock() {
  static Stock s = [] {
    Stock st;
    const COLORREF colors[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64), 0};
    for (int i = 0; i < 5; ++i)
      st.objects[i] = static_cast<HGDIOBJ>(add(std::make_unique<Brush>(colors[i], false, true)));
    st.objects[NULL_BRUSH] = static_cast<HGDIOBJ>(add(std::make_unique<Brush>(0, true, true)));
    st.objects[DC_BRUSH] = static_cast<HGDIOBJ>(add(std::make_unique<Brush>(RGB(255, 255, 255), false, true)));
    // Every memory DC starts with this 1x1 bitmap selected, as on Windows.
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->storage.assign(4, 0);
    bitmap->surface = Surface{bitmap->storage.data(), 1, 1, 4, 32, false, nullptr, 0};
    bitmap->stock = true;
    st.defaultBitmap = static_cast<HBITMAP>(add(std::move(bitmap)));
    return st;
  }();
  return s;
}

// The surface a DC draws into, or null when the DC is not valid.
Surface *surfaceOf(HDC dc) {
  Dc *d = lookup<Dc>(dc, Kind::Dc);
  if (!d) return nullptr;
  if (d->window) {
    Window *w = lookup<Window>(d->window, Kind::Window);
    return w ? &w->surface : nullptr;
  }
  Bitmap *b = lookup<Bitmap>(d->bitmap, Kind::Bitmap);
  return b ? &b->surface : nullptr;
}

void fillClipped(Surface &s, RECT r, COLORREF c) {
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, s.width);
  r.bottom = std::min<LONG>(r.bottom, s.height);
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) s.set(x, y, c);
}

void destroyBitmap(Bitmap *b) { remove(b); }

// The source pixels of a packed DIB as a surface; false for formats we do not read.
bool dibSurface(const BITMAPINFO *info, const void *bits, Surface &out) {
  if (!info || !bits) return false;
  const BITMAPINFOHEADER &h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biCompression != BI_RGB)
    return false;
  if (h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32) return false;
  out.width = h.biWidth;
  out.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  out.bottomUp = h.biHeight > 0;
  out.bpp = h.biBitCount;
  out.stride = ((h.biWidth * h.biBitCount + 31) / 32) * 4;
  out.bits = static_cast<BYTE *>(const_cast<void *>(bits));
  if (h.biBitCount == 8) {
    out.palette = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(info) + h.biSize);
    out.paletteCount = h.biClrUsed ? static_cast<int>(std::min<DWORD>(h.biClrUsed, 256)) : 256;
  }
  return true;
}

struct WindowClass {
  WNDPROC proc;
  HBRUSH background;
};
std::map<std::string, WindowClass> &windowClasses() {
  static std::map<std::string, WindowClass> classes;
  return classes;
}

// Win32 tells a missing file (2) from a missing folder on its way (3).
bool parentFolderExists(const char *path) {
  std::string folder(path);
  size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos) return true;
  folder.resize(slash == 0 ? 1 : slash);
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

W32_DebugOutputHook debugHook = nullptr;
void *debugHookContext = nullptr;

} // namespace

extern "C" {

DWORD GetLastError(void) { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

void OutputDebugStringA(LPCSTR text) {
  // Without a debugger attached the text goes nowhere, as on Windows.
  if (text && debugHook) debugHook(text, debugHookContext);
}

void W32_SetDebugOutputHook(W32_DebugOutputHook hook, void *context) {
  debugHook = hook;
  debugHookContext = context;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx, rect->top -= dy, rect->right += dx, rect->bottom += dy;
  return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx, rect->right += dx, rect->top += dy, rect->bottom += dy;
  return TRUE;
}

BOOL IsRectEmpty(const RECT *rect) { return !rect || rect->right <= rect->left || rect->bottom <= rect->top; }

HGDIOBJ GetStockObject(int object) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (object < 0 || object >= 19) return nullptr;
  return stock().objects[object];
}

HBRUSH CreateSolidBrush(COLORREF color) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  stock();
  return static_cast<HBRUSH>(add(std::make_unique<Brush>(color & 0xFFFFFF, false, false)));
}

BOOL DeleteObject(HGDIOBJ object) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (Brush *b = lookup<Brush>(object, Kind::Brush)) {
    if (!b->stock) remove(b);
    return TRUE;
  }
  if (Bitmap *b = lookup<Bitmap>(object, Kind::Bitmap)) {
    if (b->stock) return TRUE;
    // A bitmap still selected into a DC goes when it is deselected.
    if (b->selectedInto)
      b->deletePending = true;
    else
      destroyBitmap(b);
    return TRUE;
  }
  fail(ERROR_INVALID_HANDLE);
  return FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (lookup<Brush>(object, Kind::Brush)) return OBJ_BRUSH;
  if (lookup<Bitmap>(object, Kind::Bitmap)) return OBJ_BITMAP;
  if (Dc *d = lookup<Dc>(object, Kind::Dc)) return d->window ? OBJ_DC : OBJ_MEMDC;
  return 0;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Dc *d = lookup<Dc>(dc, Kind::Dc);
  if (!d) return nullptr;
  if (lookup<Brush>(object, Kind::Brush)) {
    HGDIOBJ previous = d->brush ? d->brush : stock().objects[WHITE_BRUSH];
    d->brush = static_cast<HBRUSH>(object);
    return previous;
  }
  if (Bitmap *b = lookup<Bitmap>(object, Kind::Bitmap)) {
    if (d->window) return nullptr; // only memory DCs hold bitmaps
    if (b->selectedInto && b->selectedInto != dc && !b->stock) return nullptr;
    HBITMAP previous = d->bitmap;
    if (Bitmap *old = lookup<Bitmap>(previous, Kind::Bitmap)) {
      old->selectedInto = nullptr;
      if (old->deletePending) {
        destroyBitmap(old);
        previous = nullptr;
      }
    }
    if (!b->stock) b->selectedInto = dc;
    d->bitmap = static_cast<HBITMAP>(object);
    return previous;
  }
  fail(ERROR_INVALID_HANDLE);
  return nullptr;
}

int FillRect(HDC dc, const RECT *rect, HBRUSH brush) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *s = surfaceOf(dc);
  Brush *b = lookup<Brush>(brush, Kind::Brush);
  if (!rect) return 0;
  // Windows selects the brush and pats the rectangle: an invalid brush leaves
  // the DC's current one (white by default) in use, and success is reported
  // whatever happened.
  if (!b && s) {
    Dc *d = lookup<Dc>(dc, Kind::Dc);
    b = lookup<Brush>(d->brush ? d->brush : stock().objects[WHITE_BRUSH], Kind::Brush);
  }
  if (s && b && !b->hollow) fillClipped(*s, *rect, b->color);
  return 1;
}

int FrameRect(HDC dc, const RECT *rect, HBRUSH brush) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *s = surfaceOf(dc);
  Brush *b = lookup<Brush>(brush, Kind::Brush);
  if (!s || !b || !rect) return 0;
  const RECT r = *rect;
  if (r.right <= r.left || r.bottom <= r.top) return 0;
  if (b->hollow) return 1;
  // One-pixel border just inside the rectangle.
  fillClipped(*s, RECT{r.left, r.top, r.right, r.top + 1}, b->color);
  fillClipped(*s, RECT{r.left, r.bottom - 1, r.right, r.bottom}, b->color);
  fillClipped(*s, RECT{r.left, r.top, r.left + 1, r.bottom}, b->color);
  fillClipped(*s, RECT{r.right - 1, r.top, r.right, r.bottom}, b->color);
  return 1;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *s = surfaceOf(dc);
  if (!s || !s->contains(x, y)) return CLR_INVALID;
  return s->get(x, y);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *s = surfaceOf(dc);
  if (!s || !s->contains(x, y)) return static_cast<COLORREF>(-1);
  s->set(x, y, color & 0xFFFFFF);
  return s->get(x, y);
}

HDC CreateCompatibleDC(HDC dc) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (dc && !lookup<Dc>(dc, Kind::Dc)) {
    fail(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto d = std::make_unique<Dc>();
  d->bitmap = stock().defaultBitmap;
  return static_cast<HDC>(add(std::move(d)));
}

BOOL DeleteDC(HDC dc) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Dc *d = lookup<Dc>(dc, Kind::Dc);
  if (!d) {
    fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (Bitmap *b = lookup<Bitmap>(d->bitmap, Kind::Bitmap)) {
    b->selectedInto = nullptr;
    if (b->deletePending) destroyBitmap(b);
  }
  remove(d);
  return TRUE;
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section, DWORD offset) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  stock();
  if (bits) *bits = nullptr;
  Surface shape;
  static const BYTE probe = 0;
  if (usage != DIB_RGB_COLORS || section || !dibSurface(info, &probe, shape)) {
    fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const uint64_t size = static_cast<uint64_t>(shape.stride) * shape.height;
  if (size > 0x10000000u) {
    fail(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto b = std::make_unique<Bitmap>();
  b->storage.assign(static_cast<size_t>(size), 0);
  if (shape.bpp == 8) b->palette.assign(shape.palette, shape.palette + shape.paletteCount);
  b->surface = shape;
  b->surface.bits = b->storage.data();
  b->surface.palette = b->palette.data();
  if (bits) *bits = b->storage.data();
  return static_cast<HBITMAP>(add(std::move(b)));
}

int StretchDIBits(HDC dc, int xDest, int yDest, int destW, int destH, int xSrc, int ySrc, int srcW, int srcH,
                  const void *bits, const BITMAPINFO *info, UINT usage, DWORD rop) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *dest = surfaceOf(dc);
  Surface src;
  if (!dest || rop != SRCCOPY || usage != DIB_RGB_COLORS || !dibSurface(info, bits, src) || destW <= 0 || destH <= 0 ||
      srcW <= 0 || srcH <= 0)
    return 0;
  // Source rows count from the bottom in a bottom-up DIB, from the top otherwise.
  for (int dy = 0; dy < destH; ++dy) {
    const int y = yDest + dy;
    const int sy = static_cast<int>((2LL * dy + 1) * srcH / (2LL * destH));
    const int rowFromTop = src.bottomUp ? src.height - ySrc - srcH + sy : ySrc + sy;
    for (int dx = 0; dx < destW; ++dx) {
      const int x = xDest + dx;
      const int sx = xSrc + static_cast<int>((2LL * dx + 1) * srcW / (2LL * destW));
      if (!dest->contains(x, y) || !src.contains(sx, rowFromTop)) continue;
      dest->set(x, y, src.get(sx, rowFromTop));
    }
  }
  return srcH;
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan, UINT lines,
                      const void *bits, const BITMAPINFO *info, UINT usage) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *dest = surfaceOf(dc);
  Surface src;
  if (!dest || usage != DIB_RGB_COLORS || !dibSurface(info, bits, src) || startScan != 0 ||
      lines < static_cast<UINT>(src.height))
    return 0;
  for (DWORD dy = 0; dy < h; ++dy) {
    // ySrc names the bottom row of the copied block in a bottom-up DIB.
    const int rowFromTop =
        src.bottomUp ? src.height - ySrc - static_cast<int>(h) + static_cast<int>(dy) : ySrc + static_cast<int>(dy);
    for (DWORD dx = 0; dx < w; ++dx) {
      const int x = xDest + static_cast<int>(dx), y = yDest + static_cast<int>(dy);
      const int sx = xSrc + static_cast<int>(dx);
      if (!dest->contains(x, y) || !src.contains(sx, rowFromTop)) continue;
      dest->set(x, y, src.get(sx, rowFromTop));
    }
  }
  return static_cast<int>(lines);
}

BOOL BitBlt(HDC destDc, int x, int y, int w, int h, HDC srcDc, int xSrc, int ySrc, DWORD rop) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Surface *dest = surfaceOf(destDc);
  Surface *src = surfaceOf(srcDc);
  if (!dest || !src || rop != SRCCOPY) return FALSE;
  std::vector<COLORREF> copy(static_cast<size_t>(std::max(w, 0)) * std::max(h, 0), CLR_INVALID);
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx)
      if (src->contains(xSrc + dx, ySrc + dy)) copy[static_cast<size_t>(dy) * w + dx] = src->get(xSrc + dx, ySrc + dy);
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx) {
      COLORREF c = copy[static_cast<size_t>(dy) * w + dx];
      if (c != CLR_INVALID && dest->contains(x + dx, y + dy)) dest->set(x + dx, y + dy, c);
    }
  return TRUE;
}

ATOM RegisterClassA(const WNDCLASSA *wc) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) {
    fail(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto &classes = windowClasses();
  if (classes.count(wc->lpszClassName)) {
    fail(1410); // ERROR_CLASS_ALREADY_EXISTS
    return 0;
  }
  classes[wc->lpszClassName] = WindowClass{wc->lpfnWndProc, wc->hbrBackground};
  return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  return name && windowClasses().erase(name) ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD, int x, int y, int w, int h, HWND, HMENU, HINSTANCE,
                     LPVOID) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  auto it = className ? windowClasses().find(className) : windowClasses().end();
  if (it == windowClasses().end()) {
    fail(1407); // ERROR_CANNOT_FIND_WND_CLASS
    return nullptr;
  }
  if (w == CW_USEDEFAULT) w = 320;
  if (h == CW_USEDEFAULT) h = 240;
  if (w < 0 || h < 0 || static_cast<int64_t>(w) * h > 0x4000000) {
    fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto win = std::make_unique<Window>();
  win->proc = it->second.proc;
  if (Brush *b = lookup<Brush>(it->second.background, Kind::Brush))
    win->background = b->color, win->hasBackground = true;
  win->x = x == CW_USEDEFAULT ? 0 : x;
  win->y = y == CW_USEDEFAULT ? 0 : y;
  win->resize(w, h);
  return static_cast<HWND>(add(std::move(win)));
}

BOOL DestroyWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Window *w = lookup<Window>(window, Kind::Window);
  if (!w) {
    fail(1400); // ERROR_INVALID_WINDOW_HANDLE
    return FALSE;
  }
  if (w->proc) w->proc(window, WM_DESTROY, 0, 0);
  // DCs of the window die with it.
  std::vector<const void *> dcs;
  for (auto &entry : registry())
    if (entry.second->kind == Kind::Dc && static_cast<Dc *>(entry.second.get())->window == window)
      dcs.push_back(entry.second.get());
  for (const void *dc : dcs) remove(dc);
  remove(w);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  return lookup<Window>(window, Kind::Window) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int) { return IsWindow(window) ? FALSE : FALSE; }

BOOL UpdateWindow(HWND window) { return IsWindow(window); }

BOOL GetClientRect(HWND window, LPRECT rect) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Window *w = lookup<Window>(window, Kind::Window);
  if (!w || !rect) {
    fail(1400);
    return FALSE;
  }
  *rect = RECT{0, 0, w->surface.width, w->surface.height};
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Window *w = lookup<Window>(window, Kind::Window);
  if (!w || width < 0 || height < 0 || static_cast<int64_t>(width) * height > 0x4000000) return FALSE;
  w->x = x, w->y = y;
  w->resize(width, height);
  return TRUE;
}

LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }

HDC GetDC(HWND window) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (!lookup<Window>(window, Kind::Window)) {
    fail(1400);
    return nullptr;
  }
  auto d = std::make_unique<Dc>();
  d->window = window;
  return static_cast<HDC>(add(std::move(d)));
}

int ReleaseDC(HWND window, HDC dc) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Dc *d = lookup<Dc>(dc, Kind::Dc);
  if (!d || !d->window || d->window != window) return 0;
  remove(d);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Dc *d = lookup<Dc>(dc, Kind::Dc);
  return d ? d->window : nullptr;
}

HMODULE GetModuleHandleA(LPCSTR) {
  static int self;
  return &self;
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD, HANDLE) {
  if (!path || !*path) {
    fail(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (disposition) {
  case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
  case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
  case OPEN_EXISTING: break;
  case OPEN_ALWAYS: flags |= O_CREAT; break;
  case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
  default: fail(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  int fd = ::open(path, flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    fail(errno == ENOENT   ? (parentFolderExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND)
         : errno == EEXIST ? ERROR_FILE_EXISTS
                           : ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    fail(ERROR_ACCESS_DENIED); // a folder is not a file to Win32
    return INVALID_HANDLE_VALUE;
  }
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  return add(std::make_unique<File>(fd));
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  File *f = lookup<File>(file, Kind::File);
  struct stat st;
  if (!f || ::fstat(f->fd, &st) != 0) {
    fail(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  fail(NO_ERROR); // a size of 0xFFFFFFFF is told from failure by the error
  return static_cast<DWORD>(size);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (read) *read = 0;
  File *f = lookup<File>(file, Kind::File);
  if (!f || (!buffer && toRead)) {
    fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DWORD done = 0;
  while (done < toRead) {
    ssize_t n = ::read(f->fd, static_cast<BYTE *>(buffer) + done, toRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      fail(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (n == 0) break; // end of file: success with fewer bytes
    done += static_cast<DWORD>(n);
  }
  if (read) *read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (written) *written = 0;
  File *f = lookup<File>(file, Kind::File);
  if (!f || (!buffer && toWrite)) {
    fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DWORD done = 0;
  while (done < toWrite) {
    ssize_t n = ::write(f->fd, static_cast<const BYTE *>(buffer) + done, toWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      fail(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (written) *written = done;
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (!lookup<File>(object, Kind::File)) {
    fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  remove(object);
  return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
  if (!path || ::unlink(path) != 0) {
    fail(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

// Moveable blocks are handed out by the address of their record; fixed
// blocks by the address of their bytes, which GlobalLock returns unchanged.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (bytes > 0x40000000u) {
    fail(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const bool fixed = !(flags & GMEM_MOVEABLE);
  auto g = std::make_unique<Global>(bytes == 0 && fixed ? 1 : bytes, fixed);
  if (fixed) {
    void *data = g->bytes.data();
    registry()[reinterpret_cast<uintptr_t>(data)] = std::move(g);
    return data;
  }
  return add(std::move(g));
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  if (!memory) return nullptr;
  if (!lookup<Global>(memory, Kind::Global)) {
    fail(ERROR_INVALID_HANDLE);
    return memory;
  }
  remove(memory);
  return nullptr;
}

LPVOID GlobalLock(HGLOBAL memory) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Global *g = lookup<Global>(memory, Kind::Global);
  if (!g) {
    fail(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (g->fixed) return memory;
  if (g->bytes.empty()) return nullptr; // a zero-byte moveable block has no memory
  ++g->locks;
  return g->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Global *g = lookup<Global>(memory, Kind::Global);
  if (!g) {
    fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (g->fixed) return TRUE;
  if (g->locks == 0) {
    fail(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--g->locks > 0) return TRUE;
  fail(NO_ERROR);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  std::lock_guard<std::recursive_mutex> guard(registryLock);
  Global *g = lookup<Global>(memory, Kind::Global);
  if (!g) {
    fail(ERROR_INVALID_HANDLE);
    return 0;
  }
  return g->bytes.size();
}

} // extern "C"
