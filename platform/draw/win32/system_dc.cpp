#include "platform/draw/system_dc.h"

#include <vector>

#include "platform/draw/dc.h"
#include "platform/draw/surface.h"
#include "platform/os/win32/windows_api.h"

namespace pellora {

bool DrawThroughSystemDc(CDC& dc, const Rect& area, const std::function<bool(void*)>& draw) {
  Surface* target = dc.Target();
  Rect r = area.Intersect(dc.ClipBox());
  // Nothing of the area can be seen: nothing to draw.
  if (!target || r.IsEmpty()) return true;
  // A 32-bit bitmap of the area, holding what dc shows there, on a memory
  // DC whose origin is dc's: the library draws in dc's coordinates.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = r.Width();
  info.bmiHeader.biHeight = -r.Height();  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC memory = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!bitmap || !bits) {
    if (memory) DeleteDC(memory);
    return false;
  }
  auto* pixels = static_cast<uint32_t*>(bits);
  Point origin = dc.Origin();
  for (int y = r.top; y < r.bottom; ++y) {
    const uint32_t* from = target->Row(y + origin.y) + origin.x + r.left;
    std::copy(from, from + r.Width(), pixels + size_t(y - r.top) * size_t(r.Width()));
  }
  HGDIOBJ before = SelectObject(memory, bitmap);
  SetViewportOrgEx(memory, -r.left, -r.top, nullptr);
  bool drawn = draw(memory);
  GdiFlush();
  SelectObject(memory, before);
  if (drawn) {
    // GDI leaves the fourth byte alone or clears it: never a transparent pixel.
    for (size_t i = 0; i < size_t(r.Width()) * size_t(r.Height()); ++i) pixels[i] &= 0x00FFFFFF;
    dc.DrawPixels(r.left, r.top, r.Width(), r.Height(), pixels);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  return drawn;
}

}  // namespace pellora
