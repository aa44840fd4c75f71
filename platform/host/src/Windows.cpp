// Windows with pixel surfaces, the controls placed on them, off-screen
// graphics contexts and pictures (packed DIBs in global memory).
#include "HostImpl.h"

#include <cstring>

namespace host {

// ---- pictures ------------------------------------------------------------------

void *newPictureFromDib(Host &h, const std::vector<uint8_t> &packedDib, int width, int height, int depth) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, packedDib.size());
  if (!memory) {
    h.fault("out of global memory for a picture");
    return nullptr;
  }
  std::memcpy(GlobalLock(memory), packedDib.data(), packedDib.size());
  GlobalUnlock(memory);
  void *picture = newObject(h, Kind::Picture, 16);
  Entry *e = findEntry(h, picture);
  e->picture = Picture{memory, width, height, depth, 0};
  return picture;
}

Ref Host::newPicture(int width, int height, const std::vector<uint32_t> &pixels, int depth) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height ||
      (depth != 8 && depth != 24 && depth != 32))
    throw CallError("newPicture: pixels do not match " + std::to_string(width) + "x" + std::to_string(height) +
                    " at depth " + std::to_string(depth));
  const uint32_t stride = ((static_cast<uint32_t>(width) * depth + 31) / 32) * 4;
  const size_t palette = depth == 8 ? 256 * 4 : 0;
  std::vector<uint8_t> dib(40 + palette + static_cast<size_t>(stride) * height, 0);
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = width;
  header.biHeight = height; // bottom-up
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(depth);
  header.biSizeImage = stride * static_cast<uint32_t>(height);
  header.biClrUsed = depth == 8 ? 256 : 0;
  std::memcpy(dib.data(), &header, 40);
  for (int i = 0; depth == 8 && i < 256; ++i) {
    uint8_t *q = &dib[40 + 4 * i];
    q[0] = q[1] = q[2] = static_cast<uint8_t>(i);
  }
  for (int y = 0; y < height; ++y) {
    uint8_t *row = &dib[40 + palette + static_cast<size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixels[static_cast<size_t>(y) * width + x];
      if (depth == 8) {
        row[x] = static_cast<uint8_t>(c);
      } else {
        uint8_t *p = row + x * (depth / 8);
        p[0] = static_cast<uint8_t>(c), p[1] = static_cast<uint8_t>(c >> 8), p[2] = static_cast<uint8_t>(c >> 16);
      }
    }
  }
  return Ref::adopt(this, newPictureFromDib(*this, dib, width, height, depth));
}

PictureImage Host::readPicture(const Ref &picture) const {
  Entry *e = findEntry(const_cast<Host &>(*this), picture.get());
  if (!e || e->kind != Kind::Picture) throw CallError("readPicture: not a picture");
  const auto *dib = static_cast<const uint8_t *>(GlobalLock(e->picture.dib));
  if (!dib) throw CallError("readPicture: picture memory cannot be locked");
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib, sizeof header);
  PictureImage image;
  image.width = header.biWidth;
  image.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  image.depth = header.biBitCount;
  const bool bottomUp = header.biHeight > 0;
  const uint32_t stride = ((static_cast<uint32_t>(image.width) * image.depth + 31) / 32) * 4;
  const size_t palette = image.depth <= 8 ? 256 * 4 : 0;
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t *row =
        dib + header.biSize + palette + static_cast<size_t>(bottomUp ? image.height - 1 - y : y) * stride;
    for (int x = 0; x < image.width; ++x) {
      const uint8_t *p = image.depth == 8 ? dib + header.biSize + 4 * row[x] : row + x * (image.depth / 8);
      image.pixels[static_cast<size_t>(y) * image.width + x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
  }
  GlobalUnlock(e->picture.dib);
  return image;
}

// ---- graphics ------------------------------------------------------------------------

Graphics::Graphics(Host &host, int width, int height) : host_(host) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  record_ = newObject(host, Kind::Graphics, 16);
  Entry *e = findEntry(host, record_);
  e->dc = dc;
  e->surface = bitmap;
  e->previousBitmap = static_cast<HBITMAP>(previous);
  fill(RGB(255, 255, 255));
}

Graphics::~Graphics() {
  Entry *e = findEntry(host_, record_);
  if (!e) return;
  HDC dc = e->dc;
  HBITMAP surface = e->surface, previous = e->previousBitmap;
  if (e->refs != 1) host_.fault("graphics context still referenced when its surface ends");
  unlockObject(host_, record_, "graphics end");
  SelectObject(dc, previous);
  DeleteObject(surface);
  DeleteDC(dc);
}

HDC Graphics::dc() const {
  Entry *e = findEntry(host_, record_);
  return e ? e->dc : nullptr;
}

void Graphics::fill(COLORREF color) {
  HBRUSH b = CreateSolidBrush(color);
  RECT r{0, 0, 32767, 32767};
  FillRect(dc(), &r, b);
  DeleteObject(b);
}

// ---- windows and controls ---------------------------------------------------------------

namespace {
LRESULT CALLBACK windowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
const char *windowClass() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "KivoHostWindow";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "KivoHostWindow";
}
} // namespace

Window::Window(Host &host, int width, int height) : host_(host), width_(width), height_(height) {
  static int next = 0;
  // Windows side by side, so none covers another on the display.
  const int x = (next++ % 4) * 10;
  hwnd_ = CreateWindowExA(0, windowClass(), "Du3V", WS_POPUP, x, x, width, height, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("cannot create a window");
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
  fill(RGB(255, 255, 255));
}

Window::~Window() {
  while (!controls_.empty()) close(*controls_.back());
  DestroyWindow(hwnd_);
}

void Window::fill(COLORREF color) {
  HDC dc = GetDC(hwnd_);
  HBRUSH b = CreateSolidBrush(color);
  RECT r{0, 0, width_, height_};
  FillRect(dc, &r, b);
  DeleteObject(b);
  ReleaseDC(hwnd_, dc);
}

COLORREF Window::pixel(int x, int y) const {
  HDC dc = GetDC(hwnd_);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd_, dc);
  return c;
}

Control &Window::place(const std::string &name, int left, int top, int width, int height) {
  const ClassInfo *cls = findClass(host_, name);
  if (!cls || !cls->control) throw CallError("no control class " + name);
  auto control = std::make_unique<Control>();
  void *instance = newObject(host_, Kind::Instance, cls->instanceSize, cls);
  findEntry(host_, instance)->control = control.get();
  control->ref = Ref::adopt(&host_, instance);
  control->window = this;
  control->bounds = RECT{left, top, left + width, top + height};
  controls_.push_back(std::move(control));
  Control &c = *controls_.back();
  callBehaviour(host_, c, rec::bInit, Returns::Nothing, {});
  callBehaviour(host_, c, rec::bOpen, Returns::Nothing, {});
  return c;
}

void Window::close(Control &control) {
  callBehaviour(host_, control, rec::bClose, Returns::Nothing, {});
  for (auto it = controls_.begin(); it != controls_.end(); ++it)
    if (it->get() == &control) {
      std::unique_ptr<Control> gone = std::move(*it);
      controls_.erase(it);
      if (Entry *e = findEntry(host_, gone->ref.get())) e->control = nullptr;
      for (auto h = host_.impl_->handlers.begin(); h != host_.impl_->handlers.end();)
        h = h->first.first == gone->ref.get() ? host_.impl_->handlers.erase(h) : std::next(h);
      return;
    }
}

void Window::redraw() {
  for (auto &c : controls_) c->redraw();
}

Control *Window::controlAt(int x, int y) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const RECT &b = (*it)->bounds;
    if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) return it->get();
  }
  return nullptr;
}

bool Window::mouseDown(int x, int y) {
  Control *c = controlAt(x, y);
  return c && c->mouseDown(x, y);
}

CallResult callBehaviour(Host &h, const Control &control, int slot, Returns kind, std::vector<uint32_t> words) {
  Entry *e = findEntry(h, control.ref.get());
  if (!e || !e->cls->behaviour) return {};
  const uint32_t fn = e->cls->behaviour[slot];
  if (!fn) return {};
  words.insert(words.begin(), word(control.ref.get()));
  return callPlugin(fn, kind, words);
}

// A graphics context over the window's own device context, for one call.
template <class F> static void withWindowGraphics(Host &h, HWND hwnd, F f) {
  HDC dc = GetDC(hwnd);
  void *g = newObject(h, Kind::Graphics, 16);
  findEntry(h, g)->dc = dc;
  f(g);
  unlockObject(h, g, "window graphics");
  ReleaseDC(hwnd, dc);
}

void Control::redraw() {
  Host &h = *Host::active();
  invalidated = false;
  withWindowGraphics(h, window->hwnd(),
                     [&](void *g) { callBehaviour(h, *this, rec::bRedraw, Returns::Nothing, {word(g)}); });
}

void Control::resize(int width, int height) {
  bounds.right = bounds.left + width;
  bounds.bottom = bounds.top + height;
  redraw();
}

void Control::moveTo(int left, int top) {
  const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  bounds = RECT{left, top, left + w, top + h};
}

bool Control::mouseDown(int x, int y) {
  return callBehaviour(*Host::active(), *this, rec::bMouseDown, Returns::Boolean,
                       {static_cast<uint32_t>(x), static_cast<uint32_t>(y)})
      .boolean;
}

void Control::mouseDrag(int x, int y) {
  callBehaviour(*Host::active(), *this, rec::bMouseDrag, Returns::Nothing,
                {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
}

void Control::mouseUp(int x, int y) {
  callBehaviour(*Host::active(), *this, rec::bMouseUp, Returns::Nothing,
                {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
}

void Control::drawInto(Graphics &graphics) {
  callBehaviour(*Host::active(), *this, rec::bDrawInto, Returns::Nothing, {word(graphics.handle())});
}

} // namespace host
