// Presenting the composed screen in the backend's window with GDI, the
// system palette realised on a palette display.
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_backend_class.h"

namespace pellora {

void Win32Backend::RealizeSystemPalette(HDC dc) {
  const SystemPalette& system = SystemPalette::Instance();
  if (!palette_ || paletteEntries_ != system.Entries()) {
    paletteEntries_ = system.Entries();
    if (palette_) DeleteObject(palette_);
    palette_ = nullptr;
    size_t count = paletteEntries_.size() < 256 ? paletteEntries_.size() : 256;
    if (count == 0) return;
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(count);
    for (size_t i = 0; i < count; ++i) {
      const PaletteEntry& e = paletteEntries_[i];
      logical->palPalEntry[i] = {e.red, e.green, e.blue, PC_NOCOLLAPSE};
    }
    // The show asks for the whole palette (no static colours) when it
    // gives up the system's colours; the real display follows.
    ::SetSystemPaletteUse(dc, system.Use() == SystemPaletteUse::NoStatic ? SYSPAL_NOSTATIC : SYSPAL_STATIC);
    palette_ = CreatePalette(logical);
  }
  if (!palette_) return;
  SelectPalette(dc, palette_, FALSE);
  RealizePalette(dc);
}

void Win32Backend::Draw(HDC dc, const Rect& area) {
  Rect r = area.Intersect(lastFrame_.Bounds());
  if (r.IsEmpty()) return;
  // Every pixel the player composes is a colour the display can show (it
  // mapped them to the system palette on a palette display), so the 32-bit
  // image goes out as it is; GDI matches each to its palette entry.
  if (palettized_) RealizeSystemPalette(dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = lastFrame_.width();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right == lastFrame_.width() && client.bottom == lastFrame_.height()) {
    // The rows of the area as an image of their own, top row first, drawn
    // whole: no scan-line arithmetic for the system to read differently.
    info.bmiHeader.biHeight = -r.Height();
    ::SetDIBitsToDevice(dc, r.left, r.top, DWORD(r.Width()), DWORD(r.Height()), r.left, 0, 0, UINT(r.Height()),
                      lastFrame_.Row(r.top), &info, DIB_RGB_COLORS);
  } else {
    // A client area of another size than the screen (a window the desktop
    // scaled): the whole image, stretched to it.
    info.bmiHeader.biHeight = -lastFrame_.height();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, lastFrame_.width(), lastFrame_.height(),
                  lastFrame_.pixels().data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
}

void Win32Backend::Present(const Surface& screen, const Rect& dirty) {
  if (!hwnd_) return;
  if (lastFrame_.width() != screen.width() || lastFrame_.height() != screen.height())
    lastFrame_ = Surface(screen.width(), screen.height());
  Rect r = dirty.Intersect(screen.Bounds());
  if (!r.IsEmpty()) lastFrame_.Blit(screen, r, {r.left, r.top});
  if (!shown_) {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    shown_ = true;
    r = screen.Bounds();
  }
  // GDI draws at once: keep to the display's refresh rate so that each
  // step of a transition stays on the screen long enough to be seen.
  uint64_t now = Now();
  if (now - lastPresent_ < uint64_t(refreshMs_)) Sleep(DWORD(refreshMs_ - (now - lastPresent_)));
  if (HDC dc = GetDC(hwnd_)) {
    Draw(dc, r);
    ReleaseDC(hwnd_, dc);
  }
  GdiFlush();
  lastPresent_ = Now();
}

void Win32Backend::HideScreen() {
  if (hwnd_ && shown_) ShowWindow(hwnd_, SW_HIDE);
  shown_ = false;
}

}  // namespace pellora
